#include <gtest/gtest.h>

#include <string>

#include "win/text.h"

// The launcher's texts are GBK whatever the system's code page: these hold
// on a Western system as on a Chinese one.
TEST(GbkText, ConvertsBothWaysInCodePage936) {
  struct Case {
    const char* gbk;
    std::wstring wide;
  } cases[] = {
      {"", L""},
      {"Game", L"Game"},
      {"\xC6\xF4\xB6\xAF\xCA\xA7\xB0\xDC", L"\u542F\u52A8\u5931\u8D25"},  // 启动失败
      {"\xC7\xF8", L"\u533A"},                                            // 区
      {"\x81\x5C", L"\u4E57"},                                            // 乗: its trail byte is a backslash
      {"a\xA1\xB0"
       "b",
       L"a\u201Cb"},  // a curly quote GBK has
  };
  for (const auto& c : cases) {
    EXPECT_EQ(win::WideFromGbk(c.gbk), c.wide) << c.gbk;
    EXPECT_EQ(win::GbkFromWide(c.wide), c.gbk) << c.gbk;
    EXPECT_EQ(win::GbkFromWide(std::u16string(c.wide.begin(), c.wide.end())), c.gbk) << c.gbk;
    EXPECT_EQ(win::GbkLength(std::u16string(c.wide.begin(), c.wide.end())), std::string(c.gbk).size()) << c.gbk;
  }
}

// Page texts never turn into punctuation they did not hold: look-alikes of
// the slash and the percent sign that GBK lacks become the default
// character, as every character GBK lacks does; GBK's own are kept.
TEST(GbkText, CharactersGbkLacksBecomeTheDefaultCharacterNotALookAlike) {
  struct Case {
    std::u16string text;
    const char* gbk;
  } cases[] = {
      {u"http://a\u066A"
       u"20b",
       "http://a?20b"},                    // Arabic percent sign
      {u"http://a\u2044b", "http://a?b"},  // fraction slash
      {u"\uAC00", "?"},                    // a Hangul syllable
      {u"x\U0001F600", "x??"},             // a surrogate pair, unit by unit
      // GBK's own: the division slash and é are kept, as GBK bytes.
      {u"a\u2215b\u00E9",
       "a\xA8\x4D"
       "b\xA8\xA6"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(win::GbkFromWide(c.text), c.gbk) << c.gbk;
    EXPECT_EQ(win::GbkLength(c.text), std::string(c.gbk).size()) << c.gbk;
  }
}
