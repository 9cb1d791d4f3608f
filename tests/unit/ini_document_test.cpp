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
