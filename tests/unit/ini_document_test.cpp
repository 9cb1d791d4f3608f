#include "package/ini_document.h"

#include <gtest/gtest.h>

#include <string>

namespace {

struct Lookup {
  const char* section;
  const char* key;
  const char* expected;  // nullptr: absent (the fallback comes back)
};

void ExpectLookups(const std::string& file, std::initializer_list<Lookup> lookups) {
  IniDocument document;
  ASSERT_TRUE(document.Load(file.data(), file.size()));
  for (const Lookup& l : lookups) {
    const char* value = document.GetString(l.section, l.key, nullptr);
    if (l.expected == nullptr)
      EXPECT_EQ(value, nullptr) << "[" << l.section << "] " << l.key << " = " << value;
    else
      EXPECT_STREQ(value, l.expected) << "[" << l.section << "] " << l.key;
  }
}

}  // namespace

TEST(IniDocument, EntriesKeepTheirValuesAsOperatorsWriteThem) {
  ExpectLookups(
      "[global]\r\n"
      "gameButtonCount =10\r\n"
      "titlex= 30\r\n"
      "logy =5\r\n"
      "minGameHeight=630 ;\xD3\xCE\xCF\xB7\xBD\xE7\xC3\xE6\r\n"  // 630 ;游戏界面
      "type=1   \t\r\n"
      "firstUrl=\r\n"
      "   indented = yes\r\n"
      "url=http://a/b?c=d&e=\"f\"\\g\r\n"
      "key with spaces = v\r\n"
      "title=\xC6\xF4\xB6\xAF\r\n",  // GBK bytes stay as they are
      {
          {"global", "gameButtonCount", "10"},
          {"global", "titlex", "30"},
          {"global", "logy", "5"},
          {"global", "minGameHeight", "630 ;\xD3\xCE\xCF\xB7\xBD\xE7\xC3\xE6"},
          {"global", "type", "1"},
          {"global", "firstUrl", ""},
          {"global", "indented", "yes"},
          {"global", "url", "http://a/b?c=d&e=\"f\"\\g"},
          {"global", "key with spaces", "v"},
          {"global", "title", "\xC6\xF4\xB6\xAF"},
          {"global", "absent", nullptr},
      });
}

TEST(IniDocument, LineStructure) {
  ExpectLookups(
      "top=before any section\n"
      "; comment=1\n"
      "  # comment=2\n"
      "[ spaced name ] trailing = ignored\n"
      "a=1\r"
      "[broken\n"
      "b=2\r\n"
      "no equals sign here\n"
      "=empty key\n"
      "  =also empty\n"
      "\n\n"
      "[GLOBAL]\n"
      "LinkCount=3\n"
      "dup=first\n"
      "[other]\n"
      "x=1\n"
      "[global]\n"
      "dup=second\n",
      {
          {"", "top", "before any section"},
          {"spaced name", "a", "1"},
          {"spaced name", "b", "2"},  // "[broken" is no header
          {"spaced name", "trailing", nullptr},
          {"spaced name", "comment", nullptr},
          {"spaced name", "no equals sign here", nullptr},
          {"global", "linkcount", "3"},
          {"Global", "LINKCOUNT", "3"},
          {"global", "dup", "second"},  // repeated key and merged sections
          {"global", "x", nullptr},
          {"other", "x", "1"},
      });
}

TEST(IniDocument, ByteOrderMarkHidesTheFirstHeaderAndAZeroByteEndsTheText) {
  ExpectLookups(
      "\xEF\xBB\xBF[global]\r\nlinkCount=1\r\n[global]\r\ntitle=t\r\n",
      {{"global", "linkCount", nullptr}, {"", "linkCount", "1"}, {"global", "title", "t"}});
  ExpectLookups(std::string("[global]\r\na=1\r\n\0b=2\r\n", 20), {{"global", "a", "1"}, {"global", "b", nullptr}});
  ExpectLookups("", {{"global", "a", nullptr}});
}

TEST(IniDocument, GetIntConvertsPresentValuesAndFallsBackOnlyWhenAbsent) {
  const std::string file =
      "[global]\nwidth=1000 ;\xD7\xEE\xD0\xA1\nneg=-28\nmixed=12px\nletters=abc\nempty=\nbig=99999999999\n";
  IniDocument document;
  ASSERT_TRUE(document.Load(file.data(), file.size()));
  EXPECT_EQ(document.GetInt("global", "width", 5), 1000);
  EXPECT_EQ(document.GetInt("global", "neg", 5), -28);
  EXPECT_EQ(document.GetInt("global", "mixed", 5), 12);
  EXPECT_EQ(document.GetInt("global", "letters", 5), 0);
  EXPECT_EQ(document.GetInt("global", "empty", 5), 0);
  EXPECT_EQ(document.GetInt("global", "big", 5), 2147483647);
  EXPECT_EQ(document.GetInt("global", "absent", 5), 5);
  EXPECT_EQ(document.GetInt("nosection", "width", 5), 5);
}

namespace {

// A section of the outline as "name@line: key@line=value@valueLine ...".
std::string Describe(const IniSectionLines& section) {
  std::string text = std::string(section.name) + "@" + std::to_string(section.line) + ":";
  for (const IniKeyLines& key : section.keys)
    text += " " + std::string(key.name) + "@" + std::to_string(key.line) + "=" + std::string(key.value) + "@" +
            std::to_string(key.valueLine);
  return text;
}

std::vector<std::string> DescribeOutline(const std::string& file) {
  IniDocument document;
  EXPECT_TRUE(document.Load(file.data(), file.size()));
  std::vector<std::string> lines;
  for (const IniSectionLines& section : document.Outline()) lines.push_back(Describe(section));
  return lines;
}

}  // namespace

TEST(IniDocumentOutline, PlacesSectionsAndKeysOnTheirLines) {
  const struct {
    const char* name;
    std::string file;
    std::vector<std::string> expected;
  } cases[] = {
      {"crlf, cr and lf line ends",
       "[global]\r\nlinkCount=1\r\n\r\n[link1]\rtype=4\rurl=x\n; comment\n  x = 5 \n",
       {"global@1: linkCount@2=1@2", "link1@4: type@5=4@5 url@6=x@6 x@8=5@8"}},
      {"entries before the first header are on no section line",
       "top=1\n[global]\ntitle=t\n",
       {"@0: top@1=1@1", "global@2: title@3=t@3"}},
      {"repeated keys keep the first line and take the last value",
       "[global]\ndup=first\n[other]\nx=1\n[GLOBAL]\nDUP=second\nlate=2\n",
       {"global@1: dup@2=second@6 late@7=2@7", "other@3: x@4=1@4"}},
      {"a byte-order mark does not shift the lines",
       "\xEF\xBB\xBF[global]\nlinkCount=1\n[global]\ntitle=t\n",
       {"@0: linkCount@2=1@2", "global@3: title@4=t@4"}},
      {"unclosed headers and lines without = are not entries", "[global\nnothing here\n[a]\n=v\nk=\n", {"a@3: k@5=@5"}},
      {"a header of control bytes is the file's own", "[\x01]\nk=v\n", {"\x01@1: k@2=v@2"}},
      {"empty file", "", {}},
  };
  for (const auto& c : cases) EXPECT_EQ(DescribeOutline(c.file), c.expected) << c.name;
}

TEST(IniDocumentOutline, LeavesTheLookupsAsTheyWere) {
  const std::string file = "[global]\nlinkCount=1\n";
  IniDocument document;
  ASSERT_TRUE(document.Load(file.data(), file.size()));
  ASSERT_EQ(document.Outline().size(), 1u);
  EXPECT_STREQ(document.GetString("global", "linkCount", nullptr), "1");
  EXPECT_EQ(document.GetString("\x01", "k", nullptr), nullptr);
}
