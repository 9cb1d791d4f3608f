#include <gtest/gtest.h>

#include <string>

#include "formats/gbk_text.h"
#include "formats/text_encoding.h"

TEST(PackTextEncoding, TellsUtf8FromGbk) {
  const struct {
    const char* name;
    std::string text;
    bool utf8;
  } cases[] = {
      {"ASCII reads the same either way", "[global]\ntitle=Demo\n", false},
      {"UTF-8 Chinese", "title=\xE6\xBC\x94\xE7\xA4\xBA\n", true},
      {"GBK Chinese", "title=\xD1\xDD\xCA\xBE\n", false},
      {"a byte-order mark before ASCII", "\xEF\xBB\xBF[global]\n", true},
      {"an overlong form is no UTF-8", "title=\xC0\xAF\n", false},
      {"a surrogate is no UTF-8", "title=\xED\xA0\x80\n", false},
      {"a character cut at the end", "title=\xE6\xBC", false},
  };
  for (const auto& c : cases) EXPECT_EQ(LooksLikeUtf8(c.text), c.utf8) << c.name;
}

TEST(PackTextEncoding, CountsLinesAsTheConfigurationReaderDoes) {
  const std::string text = "a\r\nb\rc\nd";
  EXPECT_EQ(LineAt(text, 0), 1);
  EXPECT_EQ(LineAt(text, 3), 2);  // after CR LF
  EXPECT_EQ(LineAt(text, 5), 3);  // after CR
  EXPECT_EQ(LineAt(text, 7), 4);  // after LF
}

TEST(PackTextEncoding, ConvertsBetweenGbkAndUtf8) {
  EXPECT_EQ(GbkToUtf8("\xD1\xDD\xCA\xBE!"), "\xE6\xBC\x94\xE7\xA4\xBA!");  // 演示!
  EXPECT_EQ(GbkToUtf8("a\xFF"
                      "b"),
            "a\xEF\xBF\xBD"
            "b");  // no character: U+FFFD
  const GbkConversion converted = ConfigToGbk("\xEF\xBB\xBFtitle=\xE6\xBC\x94\xE7\xA4\xBA");
  EXPECT_TRUE(converted.Converted());
  EXPECT_EQ(converted.text, "title=\xD1\xDD\xCA\xBE");  // without the mark
  const GbkConversion failed = ConfigToGbk("\xEF\xBB\xBFok=\xF0\x9F\x98\x80");
  EXPECT_EQ(failed.failedAt, 6u);  // the emoji, counted with the mark
}
