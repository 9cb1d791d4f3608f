#include "browser/wide_text_win.h"

#include <gtest/gtest.h>

// Page texts never turn into punctuation they did not hold: in code pages
// with best-fit tables (437 and 1252 here) look-alikes of the quote, the
// slash and the percent sign become the default character instead.
TEST(PageText, NoBestFitIntoQuotesSlashesOrPercentSigns) {
  struct Case {
    unsigned codePage;
    std::u16string text;
    const char* converted;
  } cases[] = {
      {437, u"http://a/\u201Cx\u201D", "http://a/?x?"},  // curly quotes
      {1252, u"http://a\u2215b", "http://a?b"},          // division slash
      {1252, u"http://a\u066A20b", "http://a?20b"},      // Arabic percent sign
      {1252, u"http://a/\u00E9", "http://a/\xE9"},       // an exact equivalent is kept
      {936, u"\u533A", "\xC7\xF8"},
  };
  for (const auto& c : cases) {
    char buffer[64] = {};
    ASSERT_TRUE(ToCodePageText(c.codePage, c.text, buffer, sizeof buffer)) << c.codePage;
    EXPECT_STREQ(buffer, c.converted) << c.codePage;
  }
}
