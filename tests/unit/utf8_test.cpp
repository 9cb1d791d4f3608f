#include "common/utf8.h"

#include <gtest/gtest.h>

#include <string>

#include "common/text_encoding.h"

namespace {

// A u8 literal as the bytes a skin file holds.
std::string Bytes(std::u8string_view text) { return std::string(text.begin(), text.end()); }

}  // namespace

// What a skin for players beyond Chinese says, through the one boundary
// every shown text crosses: its UTF-8 bytes become the same characters in
// UTF-16, and back.
TEST(Utf8, TextsOfEveryLanguageCrossToUtf16AndBack) {
  struct Case {
    const char* language;
    std::u8string_view utf8;
    std::u16string_view wide;
  } cases[] = {
      {"Vietnamese", u8"Chi\u1EBFn Th\u1EA7n", u"Chi\u1EBFn Th\u1EA7n"},
      {"Thai", u8"\u0E40\u0E17\u0E1E\u0E2A\u0E07\u0E04\u0E23\u0E32\u0E21",
       u"\u0E40\u0E17\u0E1E\u0E2A\u0E07\u0E04\u0E23\u0E32\u0E21"},
      {"Korean", u8"\uC804\uC2E0", u"\uC804\uC2E0"},
      {"German", u8"G\u00F6tterkrieg", u"G\u00F6tterkrieg"},
      {"Chinese", u8"\u6218\u795E", u"\u6218\u795E"},
      {"beyond the basic plane", u8"\U0001F409 \U00020BB7", u"\U0001F409 \U00020BB7"},
      {"ASCII", u8"Star Sea 1.02", u"Star Sea 1.02"},
      {"empty", u8"", u""},
  };
  for (const Case& c : cases) {
    const std::string utf8 = Bytes(c.utf8);
    EXPECT_EQ(Utf16FromUtf8(utf8), c.wide) << c.language;
    EXPECT_EQ(Utf8FromUtf16(c.wide), utf8) << c.language;
    EXPECT_EQ(Utf8Length(c.wide), utf8.size()) << c.language;
    EXPECT_EQ(FirstInvalidUtf8(utf8), std::nullopt) << c.language;
  }
}

// A skin is written by hand: a byte that is no UTF-8 shows as one
// replacement character for each bad run, the text around it as written,
// and the first bad byte is found where it is.
TEST(Utf8, BadBytesShowAsReplacementCharactersAndAreFoundWhereTheyAre) {
  struct Case {
    const char* name;
    std::string bytes;
    std::u16string_view shown;
    std::size_t firstBad;
  } cases[] = {
      {"lone continuation byte", "a\x80z", u"a\uFFFDz", 1},
      {"sequence cut short by the end", "ab\xC3", u"ab\uFFFD", 2},
      {"sequence cut short by ASCII: one run", "\xE6\x88x", u"\uFFFDx", 0},
      {"overlong slash", "\xC0\xAF", u"\uFFFD\uFFFD", 0},
      {"overlong three bytes", "\xE0\x80\xAF", u"\uFFFD\uFFFD\uFFFD", 0},
      {"surrogate", "\xED\xA0\x80", u"\uFFFD\uFFFD\uFFFD", 0},
      {"beyond U+10FFFF", "\xF4\x90\x80\x80", u"\uFFFD\uFFFD\uFFFD\uFFFD", 0},
      {"byte that never starts one", "ok\xFF", u"ok\uFFFD", 2},
      {"good text after a bad byte", "\xFE\xC3\xB6", u"\uFFFD\u00F6", 0},
      // 游戏 saved as GBK in a skin that says UTF-8: garbled, never empty.
      {"GBK text", "\xD3\xCE\xCF\xB7", u"\uFFFD\uFFFD\u03F7", 0},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Utf16FromUtf8(c.bytes), c.shown) << c.name;
    EXPECT_EQ(FirstInvalidUtf8(c.bytes), c.firstBad) << c.name;
  }
}

TEST(Utf8, ASurrogateWithoutItsPartnerBecomesAReplacementCharacter) {
  const std::u16string loneHigh{u'a', char16_t(0xD83D), u'b'};
  const std::u16string loneLow{char16_t(0xDC09)};
  const std::u16string reversed{char16_t(0xDC09), char16_t(0xD83D)};
  EXPECT_EQ(Utf8FromUtf16(loneHigh), std::string("a\xEF\xBF\xBD") + "b");
  EXPECT_EQ(Utf8FromUtf16(loneLow), "\xEF\xBF\xBD");
  EXPECT_EQ(Utf8FromUtf16(reversed), "\xEF\xBF\xBD\xEF\xBF\xBD");
  EXPECT_EQ(Utf8Length(loneHigh), 5u);
  EXPECT_EQ(Utf8Length(reversed), 6u);
}

TEST(TextEncoding, OnlyUtf8AndGbkAreNamesAndAnyOtherValueKeepsGbk) {
  struct Case {
    const char* value;
    std::optional<TextEncoding> parsed;
    TextEncoding used;
  } cases[] = {
      {"", TextEncoding::kGbk, TextEncoding::kGbk},
      {"gbk", TextEncoding::kGbk, TextEncoding::kGbk},
      {"GBK", TextEncoding::kGbk, TextEncoding::kGbk},
      {"utf-8", TextEncoding::kUtf8, TextEncoding::kUtf8},
      {"UTF-8", TextEncoding::kUtf8, TextEncoding::kUtf8},
      {"Utf-8", TextEncoding::kUtf8, TextEncoding::kUtf8},
      {"utf8", std::nullopt, TextEncoding::kGbk},
      {"utf-8 ;unicode", std::nullopt, TextEncoding::kGbk},
      {"utf-16", std::nullopt, TextEncoding::kGbk},
      {"cp936", std::nullopt, TextEncoding::kGbk},
      {"utf-8\xEF\xBC\x9B", std::nullopt, TextEncoding::kGbk},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ParseTextEncoding(c.value), c.parsed) << c.value;
    EXPECT_EQ(TextEncodingOf(c.value), c.used) << c.value;
  }
}
