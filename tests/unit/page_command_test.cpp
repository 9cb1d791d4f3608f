#include "browser/page_command.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

// Converts as the OEM code page 936 would for these tests: ASCII as itself,
// every other character as the two bytes of 中.
bool FakeOemText(std::u16string_view text, char* buffer, std::size_t size) {
  std::string bytes;
  for (char16_t c : text) bytes += c < 0x80 ? std::string(1, static_cast<char>(c)) : std::string("\xD6\xD0");
  if (bytes.size() + 1 > size) return false;
  std::memcpy(buffer, bytes.c_str(), bytes.size() + 1);
  return true;
}

PageArgument Text(std::u16string text) { return {kVariantString, 0, std::move(text)}; }
PageArgument Int(std::int32_t value) { return {kVariantInt, value, {}}; }
PageArgument Uint(std::uint32_t value) { return {kVariantUint, static_cast<std::int32_t>(value), {}}; }
PageArgument ScriptNumber(std::int32_t value) { return {kVariantI4, value, {}}; }

// The block as the script engine hands it over: last argument first.
PageCallBlock Call(std::vector<PageArgument> scriptOrder) {
  return PageCallBlock(scriptOrder.rbegin(), scriptOrder.rend());
}

PageCommand Interpret(const PageCallBlock& block, std::string_view title = "Game") {
  return InterpretPageCall(block, title, FakeOemText, IsGbkLeadByte);
}

const std::u16string kNonAscii(1, u'\u6E38');  // 游: two bytes in the OEM text

std::u16string Repeat(const std::u16string& piece, std::size_t times) {
  std::u16string text;
  for (std::size_t i = 0; i < times; ++i) text += piece;
  return text;
}

}  // namespace

TEST(PageCommand, CodeComesFromTheFirstArgumentByItsType) {
  struct Case {
    const char* name;
    PageCallBlock block;
    std::int32_t code;
  } cases[] = {
      {"no arguments", Call({}), 0},
      {"string", Call({Text(u"1")}), 1},
      {"int", Call({Int(2)}), 2},
      {"uint", Call({Uint(4)}), 4},
      {"uint beyond int", Call({Uint(0xFFFFFFFFu)}), -1},
      {"script number", Call({ScriptNumber(1)}), 0},
      {"by-reference string", Call({{kVariantString | 0x4000, 0, u"1"}}), 0},
      {"leading white space and sign", Call({Text(u" \t+6")}), 6},
      {"negative", Call({Text(u"-4")}), -4},
      {"stops at the first non-digit", Call({Text(u"12abc")}), 12},
      {"no digits", Call({Text(u"abc")}), 0},
      {"empty", Call({Text(u"")}), 0},
      {"full-width digit is no digit", Call({Text(u"\uFF11")}), 0},
      {"zero character ends the text", Call({Text(std::u16string{u'1', u'\0', u'2'})}), 1},
      {"saturates", Call({Text(u"99999999999")}), 2147483647},
      {"first argument, not the last", Call({Text(u"1"), Text(u"6")}), 1},
  };
  for (const Case& c : cases) EXPECT_EQ(PageCallCode(c.block), c.code) << c.name;
}

TEST(PageCommand, TableOfCalls) {
  struct Case {
    const char* name;
    PageCallBlock block;
    PageAction action;
    std::string text;
  } cases[] = {
      {"no arguments", Call({}), PageAction::kNone, ""},
      {"1 closes", Call({Text(u"1")}), PageAction::kClose, ""},
      {"1 as an int closes", Call({Int(1)}), PageAction::kClose, ""},
      {"1 as a script number does nothing", Call({ScriptNumber(1)}), PageAction::kNone, ""},
      {"1 ignores a parameter", Call({Text(u"1"), Text(Repeat(u"x", 400))}), PageAction::kClose, ""},
      {"2 restarts", Call({Text(u"2")}), PageAction::kRestartAndClose, ""},
      {"3 does nothing", Call({Text(u"3"), Text(u"x")}), PageAction::kNone, ""},
      {"5 does nothing", Call({Text(u"5"), Text(u"x")}), PageAction::kNone, ""},
      {"12 is twelve", Call({Text(u"12")}), PageAction::kNone, ""},
      {"0 does nothing", Call({Text(u"0"), Text(u"x")}), PageAction::kNone, ""},
      {"4 without a parameter", Call({Text(u"4")}), PageAction::kNone, ""},
      {"4 with a number", Call({Text(u"4"), ScriptNumber(5)}), PageAction::kNone, ""},
      {"4 with an int", Call({Text(u"4"), Int(5)}), PageAction::kNone, ""},
      {"4 sets the link as written", Call({Text(u"4"), Text(u"http://g/?a=1;b=2")}), PageAction::kSetButtonLink,
       "http://g/?a=1;b=2"},
      {"4 with an empty link", Call({Text(u"4"), Text(u"")}), PageAction::kSetButtonLink, ""},
      {"4 ignores a third argument", Call({Text(u"4"), Text(u"u"), Text(u"v")}), PageAction::kSetButtonLink, "u"},
      {"6 with an empty text", Call({Text(u"6"), Text(u"")}), PageAction::kSetTitle, "Game-"},
      {"6 with a text", Call({Text(u"6"), Text(u"S1")}), PageAction::kSetTitle, "Game-S1"},
      {"6 converts", Call({Text(u"6"), Text(kNonAscii)}), PageAction::kSetTitle, "Game-\xD6\xD0"},
      {"6 as an int", Call({Int(6), Text(u"x")}), PageAction::kSetTitle, "Game-x"},
      {"6 without a parameter", Call({Text(u"6")}), PageAction::kNone, ""},
      {"6 with a number", Call({Text(u"6"), ScriptNumber(7)}), PageAction::kNone, ""},
      {"6 text ends at a zero character", Call({Text(u"6"), Text(std::u16string(u"ab\0cd", 5))}), PageAction::kSetTitle,
       "Game-ab"},
  };
  for (const Case& c : cases) {
    const PageCommand command = Interpret(c.block);
    EXPECT_EQ(command.action, c.action) << c.name;
    EXPECT_EQ(command.text, c.text) << c.name;
  }
}

TEST(PageCommand, ParameterMustFitTwoHundredFiftySixBytes) {
  struct Case {
    const char* name;
    std::u16string text;
    bool fits;
  } cases[] = {
      {"255 bytes", Repeat(u"a", 255), true},
      {"256 bytes", Repeat(u"a", 256), false},
      {"254 bytes converted", Repeat(kNonAscii, 127), true},
      {"256 bytes converted from 128 characters", Repeat(kNonAscii, 128), false},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(PageCallParameter(Call({Text(u"4"), Text(c.text)}), FakeOemText).has_value(), c.fits) << c.name;
    const PageCommand link = Interpret(Call({Text(u"4"), Text(c.text)}));
    EXPECT_EQ(link.action, c.fits ? PageAction::kSetButtonLink : PageAction::kNone) << c.name;
    const PageCommand title = Interpret(Call({Text(u"6"), Text(c.text)}));
    EXPECT_EQ(title.action, c.fits ? PageAction::kSetTitle : PageAction::kNone) << c.name;
  }
}

TEST(PageCommand, TitleIsCutToTwoHundredFiftyFiveBytesWithoutSplittingACharacter) {
  // "Game-" and 255 bytes of text: 260 bytes, cut to 255.
  const PageCommand ascii = Interpret(Call({Text(u"6"), Text(Repeat(u"a", 255))}));
  ASSERT_EQ(ascii.action, PageAction::kSetTitle);
  EXPECT_EQ(ascii.text, "Game-" + std::string(250, 'a'));

  // "Gam-" and 127 two-byte characters: the cut at 255 would split one.
  const PageCommand wide = Interpret(Call({Text(u"6"), Text(Repeat(kNonAscii, 127))}), "Gam");
  ASSERT_EQ(wide.action, PageAction::kSetTitle);
  std::string expected = "Gam-";
  for (int i = 0; i < 125; ++i) expected += "\xD6\xD0";
  EXPECT_EQ(wide.text, expected);
  EXPECT_EQ(wide.text.size(), 254u);
}

TEST(PageCommand, AFullConfiguredTitleLeavesNoRoomForTheText) {
  const std::string configured(255, 'T');  // a title that fills its field
  const PageCommand command = Interpret(Call({Text(u"6"), Text(u"x")}), configured);
  EXPECT_EQ(command.action, PageAction::kSetTitle);
  EXPECT_EQ(command.text, configured);
}
