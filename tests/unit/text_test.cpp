#include "common/text.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

TEST(ParseDecimalInt, ReadsLikeStrtolWithSaturation) {
  struct Case {
    const char* text;
    std::int32_t value;
  } cases[] = {
      {"1000", 1000},
      {"630 ;\xD3\xCE\xCF\xB7", 630},  // "630 ;游戏": stops at the space
      {"-28", -28},
      {"+7", 7},
      {" \t\r\n\v\f42", 42},
      {"12abc", 12},
      {"abc", 0},
      {"", 0},
      {"-", 0},
      {"- 5", 0},
      {"0x10", 0},
      {"2147483647", 2147483647},
      {"2147483648", 2147483647},
      {"99999999999999999999", 2147483647},
      {"-2147483648", -2147483647 - 1},
      {"-2147483649", -2147483647 - 1},
      {"16777215", 16777215},
  };
  for (const Case& c : cases) EXPECT_EQ(ParseDecimalInt(c.text), c.value) << '"' << c.text << '"';
}

TEST(CutToField, KeepsAtMostWidthMinusOneBytesWithoutSplittingACharacter) {
  struct Case {
    const char* text;
    std::size_t width;
    const char* expected;
  } cases[] = {
      {"abc", 4, "abc"},
      {"abcd", 4, "abc"},
      {"", 4, ""},
      {"abc", 1, ""},
      {"abc", 0, ""},
      {"a\xC6\xF4\xB6\xAF", 4, "a\xC6\xF4"},  // "a启动" cut after 启
      {"ab\xC6\xF4", 4, "ab"},              // 启 would be split: dropped whole
      {"\xC6\xF4\xB6\xAF", 5, "\xC6\xF4\xB6\xAF"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(CutToField(c.text, c.width), c.expected) << c.text << " / " << c.width;
    char field[8];
    std::memset(field, 'x', sizeof field);
    if (c.width == 0 || c.width > sizeof field) continue;
    CopyToField(field, c.width, c.text);
    EXPECT_STREQ(field, c.expected);
  }
}

// A UTF-8 skin's field keeps whole characters: a sequence that ends exactly
// at width - 1 stays, one that would reach past it goes whole, and so does
// a bad run of bytes, which shows as one character. The same bytes in a
// GBK skin are cut by GBK's pairs, as always.
TEST(CutToField, Utf8KeepsWholeSequencesUpToWidthMinusOneBytes) {
  struct Case {
    const char* name;
    std::string text;
    std::size_t width;
    std::string utf8;
    std::string gbk;
  } cases[] = {
      // "Chiến": C h i, then ế as E1 BA BF, then n.
      {"sequence ends at the boundary", "Chi\xE1\xBA\xBFn", 7, "Chi\xE1\xBA\xBF", "Chi\xE1\xBA"},
      {"sequence one byte past it", "Chi\xE1\xBA\xBFn", 6, "Chi", "Chi\xE1\xBA"},
      {"sequence two bytes past it", "Chi\xE1\xBA\xBFn", 5, "Chi", "Chi"},
      {"fits whole", "Chi\xE1\xBA\xBFn", 8, "Chi\xE1\xBA\xBFn", "Chi\xE1\xBA\xBFn"},
      // เท: two Thai letters of three bytes.
      {"Thai", "\xE0\xB9\x80\xE0\xB8\x97", 6, "\xE0\xB9\x80", "\xE0\xB9\x80\xE0\xB8"},
      // 🐉: four bytes, one character (a surrogate pair once shown).
      {"four bytes", "\xF0\x9F\x90\x89", 4, "", "\xF0\x9F"},
      {"four bytes that fit", "a\xF0\x9F\x90\x89", 6, "a\xF0\x9F\x90\x89", "a\xF0\x9F\x90\x89"},
      {"bad run kept whole", "ab\xE6\x88", 4, "ab", "ab"},
      {"lone continuation bytes one by one", "a\x80\x80", 3, "a\x80", "a\x80"},
      {"zero width", "abc", 0, "", ""},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(CutToField(c.text, c.width, TextEncoding::kUtf8), c.utf8) << c.name;
    EXPECT_EQ(CutToField(c.text, c.width, TextEncoding::kGbk), c.gbk) << c.name;
    EXPECT_EQ(CutToField(c.text, c.width), c.gbk) << c.name;
    char field[16];
    std::memset(field, 'x', sizeof field);
    if (c.width == 0) continue;
    CopyToField(field, c.width, c.text, TextEncoding::kUtf8);
    EXPECT_STREQ(field, c.utf8.c_str()) << c.name;
  }
}

TEST(ProgramTitle, DropsDirectoryAndExtensionWithMultibyteRules) {
  struct Case {
    const char* path;
    const char* title;
  } cases[] = {
      {"C:\\Games\\Launcher.exe", "Launcher"},
      {"Launcher.exe", "Launcher"},
      {"C:\\a.b\\my.game.exe", "my.game"},
      {"C:\\Games\\Launcher", ""},                      // no dot: empty
      {"C:\\\xB1\x5C\\\xD3\xCE\xCF\xB7.exe", "\xD3\xCE\xCF\xB7"},  // 盶 ends in 0x5C: not a separator
      {"C:\\x\\\xB1\x5C.exe", "\xB1\x5C"},
      {"\\\\server\\share\\L.exe", "L"},
  };
  for (const Case& c : cases) EXPECT_EQ(ProgramTitle(c.path), c.title) << c.path;
}

TEST(ProgramTitle, OfAUtf16PathEveryUnitStandsForItself) {
  EXPECT_EQ(ProgramTitle(u"C:\\Games\\\u6e38\u620f.exe"), u"\u6e38\u620f");
  EXPECT_EQ(ProgramTitle(u"C:\\a.b\\my.game.exe"), u"my.game");
  EXPECT_EQ(ProgramTitle(u"Launcher.exe"), u"Launcher");
  EXPECT_EQ(ProgramTitle(u"C:\\Games\\Launcher"), u"");  // no dot: empty
}
