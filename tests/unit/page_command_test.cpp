#include "browser/page_command.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

// Counts bytes as GBK would for these tests: ASCII as itself, a surrogate
// pair (a character GBK lacks) as two default characters "??", any other
// character as two bytes.
std::size_t FakeGbkLength(std::u16string_view text) {
  std::size_t bytes = 0;
  for (char16_t c : text) bytes += c < 0x80 || (c >= 0xD800 && c <= 0xDFFF) ? 1 : 2;
  return bytes;
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
  return InterpretPageCall(block, title, FakeGbkLength);
}

const std::u16string kNonAscii(1, u'\u6E38');      // 游: two bytes of GBK
const std::u16string kOutsideGbk = u"\U0001F600";  // a surrogate pair: "??"

std::u16string Repeat(const std::u16string& piece, std::size_t times) {
  std::u16string text;
  for (std::size_t i = 0; i < times; ++i) text += piece;
  return text;
}

}  // namespace

TEST(PageCommand, OnlyACallRunsACommand) {
  struct Case {
    const char* name;
    std::uint16_t flags;
    PageMemberUse use;
  } cases[] = {
      {"call, result unused", kDispatchMethod, PageMemberUse::kCall},
      {"call, result used", kDispatchMethod | kDispatchPropertyGet, PageMemberUse::kCall},
      {"read", kDispatchPropertyGet, PageMemberUse::kRead},
      {"no flags", 0, PageMemberUse::kRead},
      {"assignment", kDispatchPropertyPut, PageMemberUse::kAssign},
      {"assignment by reference", kDispatchPropertyPutRef, PageMemberUse::kAssign},
      {"assignment beside a call", kDispatchMethod | kDispatchPropertyPut, PageMemberUse::kAssign},
      {"every flag", 0xF, PageMemberUse::kAssign},
  };
  for (const Case& c : cases) EXPECT_EQ(PageMemberUseOf(c.flags), c.use) << c.name;
}

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

// For the title the command carries the page's part only; the window puts
// PageTitlePrefix before it.
TEST(PageCommand, TableOfCalls) {
  struct Case {
    const char* name;
    PageCallBlock block;
    PageAction action;
    std::u16string text;
  } cases[] = {
      {"no arguments", Call({}), PageAction::kNone, u""},
      {"1 closes", Call({Text(u"1")}), PageAction::kClose, u""},
      {"1 as an int closes", Call({Int(1)}), PageAction::kClose, u""},
      {"1 as a script number does nothing", Call({ScriptNumber(1)}), PageAction::kNone, u""},
      {"1 ignores a parameter", Call({Text(u"1"), Text(Repeat(u"x", 400))}), PageAction::kClose, u""},
      {"2 restarts", Call({Text(u"2")}), PageAction::kRestartAndClose, u""},
      {"3 does nothing", Call({Text(u"3"), Text(u"x")}), PageAction::kNone, u""},
      {"5 does nothing", Call({Text(u"5"), Text(u"x")}), PageAction::kNone, u""},
      {"12 is twelve", Call({Text(u"12")}), PageAction::kNone, u""},
      {"0 does nothing", Call({Text(u"0"), Text(u"x")}), PageAction::kNone, u""},
      {"4 without a parameter", Call({Text(u"4")}), PageAction::kNone, u""},
      {"4 with a number", Call({Text(u"4"), ScriptNumber(5)}), PageAction::kNone, u""},
      {"4 with an int", Call({Text(u"4"), Int(5)}), PageAction::kNone, u""},
      {"4 sets the link as written", Call({Text(u"4"), Text(u"http://g/?a=1;b=2")}), PageAction::kSetButtonLink,
       u"http://g/?a=1;b=2"},
      {"4 keeps characters GBK lacks", Call({Text(u"4"), Text(u"http://g/\uAC00" + kOutsideGbk)}),
       PageAction::kSetButtonLink, u"http://g/\uAC00" + kOutsideGbk},
      {"4 with an empty link", Call({Text(u"4"), Text(u"")}), PageAction::kSetButtonLink, u""},
      {"4 ignores a third argument", Call({Text(u"4"), Text(u"u"), Text(u"v")}), PageAction::kSetButtonLink, u"u"},
      {"6 with an empty text", Call({Text(u"6"), Text(u"")}), PageAction::kSetTitle, u""},
      {"6 with a text", Call({Text(u"6"), Text(u"S1")}), PageAction::kSetTitle, u"S1"},
      {"6 keeps the page's characters", Call({Text(u"6"), Text(kNonAscii + u"\uAC00")}), PageAction::kSetTitle,
       kNonAscii + u"\uAC00"},
      {"6 as an int", Call({Int(6), Text(u"x")}), PageAction::kSetTitle, u"x"},
      {"6 without a parameter", Call({Text(u"6")}), PageAction::kNone, u""},
      {"6 with a number", Call({Text(u"6"), ScriptNumber(7)}), PageAction::kNone, u""},
      {"6 text ends at a zero character", Call({Text(u"6"), Text(std::u16string(u"ab\0cd", 5))}), PageAction::kSetTitle,
       u"ab"},
  };
  for (const Case& c : cases) {
    const PageCommand command = Interpret(c.block);
    EXPECT_EQ(command.action, c.action) << c.name;
    EXPECT_TRUE(command.text == c.text) << c.name;
  }
}

TEST(PageCommand, ParameterMustFitTwoHundredFiftySixBytesOfGbk) {
  struct Case {
    const char* name;
    std::u16string text;
    bool fits;
  } cases[] = {
      {"255 bytes", Repeat(u"a", 255), true},
      {"256 bytes", Repeat(u"a", 256), false},
      {"254 bytes of 127 characters", Repeat(kNonAscii, 127), true},
      {"256 bytes from 128 characters", Repeat(kNonAscii, 128), false},
      {"255 bytes with characters GBK lacks", Repeat(u"a", 253) + kOutsideGbk, true},
      {"256 bytes with characters GBK lacks", Repeat(u"a", 254) + kOutsideGbk, false},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(PageCallParameter(Call({Text(u"4"), Text(c.text)}), FakeGbkLength).has_value(), c.fits) << c.name;
    const PageCommand link = Interpret(Call({Text(u"4"), Text(c.text)}));
    EXPECT_EQ(link.action, c.fits ? PageAction::kSetButtonLink : PageAction::kNone) << c.name;
    const PageCommand title = Interpret(Call({Text(u"6"), Text(c.text)}));
    EXPECT_EQ(title.action, c.fits ? PageAction::kSetTitle : PageAction::kNone) << c.name;
  }
}

TEST(PageCommand, TitleIsCutToTwoHundredFiftyFiveBytesWithoutSplittingACharacter) {
  struct Case {
    const char* name;
    std::string configured;
    std::u16string text;
    std::u16string shown;  // the page's part of the title
  } cases[] = {
      // "Game-" and 255 bytes of text: 260 bytes, cut to 255.
      {"ASCII", "Game", Repeat(u"a", 255), Repeat(u"a", 250)},
      // "Gam-" and 127 two-byte characters: the cut at 255 would split one.
      {"two-byte characters", "Gam", Repeat(kNonAscii, 127), Repeat(kNonAscii, 125)},
      // "Gam-", 250 bytes and a pair of two bytes: the cut would fall inside it.
      {"surrogate pair", "Gam", Repeat(u"a", 250) + kOutsideGbk, Repeat(u"a", 250)},
      {"a pair that fits", "Ga", Repeat(u"a", 250) + kOutsideGbk, Repeat(u"a", 250) + kOutsideGbk},
      // A title that fills its field leaves no room for the text.
      {"full configured title", std::string(255, 'T'), u"x", u""},
  };
  for (const Case& c : cases) {
    const PageCommand command = Interpret(Call({Text(u"6"), Text(c.text)}), c.configured);
    ASSERT_EQ(command.action, PageAction::kSetTitle) << c.name;
    EXPECT_TRUE(command.text == c.shown) << c.name << ": " << command.text.size() << " units";
  }
}

TEST(PageCommand, TitlePrefixIsTheConfiguredTitleAndADashInTwoHundredFiftyFiveBytes) {
  struct Case {
    std::string configured;
    std::string prefix;
  } cases[] = {
      {"Game", "Game-"},
      {"", "-"},
      {"\xD3\xCE\xCF\xB7", "\xD3\xCE\xCF\xB7-"},  // 游戏
      {std::string(254, 'T'), std::string(254, 'T') + "-"},
      {std::string(255, 'T'), std::string(255, 'T')},
      // The cut at 255 would keep the first byte of 中 (D6 D0).
      {std::string(254, 'T') + "\xD6\xD0", std::string(254, 'T')},
  };
  for (const Case& c : cases) EXPECT_EQ(PageTitlePrefix(c.configured), c.prefix) << c.configured.size();
}

// In a UTF-8 skin a page's text is counted in the bytes it takes as UTF-8,
// the encoding of the skin's own texts, and cut only between characters.
TEST(PageCommand, InAUtf8SkinTextsAreCountedAndCutAsUtf8) {
  const std::u16string kVietnamese(1, u'\u1EA7');   // ầ: three bytes of UTF-8, two of GBK
  const std::u16string kDragon = u"\U0001F409";     // a surrogate pair: four bytes
  const std::u16string kLone(1, char16_t(0xD83D));  // shown as U+FFFD: three bytes
  struct Case {
    const char* name;
    std::string configured;  // UTF-8
    std::u16string text;
    PageAction action;
    std::u16string shown;  // the page's part of the title
  } cases[] = {
      {"255 bytes fit", "T", Repeat(kVietnamese, 85), PageAction::kSetTitle, Repeat(kVietnamese, 84)},
      {"258 bytes do not", "T", Repeat(kVietnamese, 86), PageAction::kNone, u""},
      {"a pair counts four", "T", Repeat(u"a", 251) + kDragon, PageAction::kSetTitle, Repeat(u"a", 251)},
      {"a pair that fits", "", Repeat(u"a", 250) + kDragon, PageAction::kSetTitle, Repeat(u"a", 250) + kDragon},
      {"a lone surrogate counts three", "", Repeat(u"a", 253) + kLone, PageAction::kNone, u""},
      // "Chiến-" is eight bytes: 247 are left, 82 whole characters.
      {"cut after the configured title", "Chi\xE1\xBA\xBFn", Repeat(kVietnamese, 83), PageAction::kSetTitle,
       Repeat(kVietnamese, 82)},
  };
  for (const Case& c : cases) {
    const PageCommand command =
        InterpretPageCall(Call({Text(u"6"), Text(c.text)}), c.configured, FakeGbkLength, TextEncoding::kUtf8);
    EXPECT_EQ(command.action, c.action) << c.name;
    EXPECT_TRUE(command.text == c.shown) << c.name << ": " << command.text.size() << " units";
    const PageCommand link =
        InterpretPageCall(Call({Text(u"4"), Text(c.text)}), c.configured, FakeGbkLength, TextEncoding::kUtf8);
    EXPECT_EQ(link.action, c.action == PageAction::kNone ? PageAction::kNone : PageAction::kSetButtonLink) << c.name;
  }
  // The same Vietnamese counts two bytes a character in a GBK skin.
  EXPECT_EQ(InterpretPageCall(Call({Text(u"6"), Text(Repeat(kVietnamese, 86))}), "T", FakeGbkLength).action,
            PageAction::kSetTitle);
}

TEST(PageCommand, AUtf8TitlePrefixIsCutBetweenCharacters) {
  // 253 bytes and ế (E1 BA BF): the cut at 255 falls inside ế, which goes
  // whole; GBK's pairs would keep two of its bytes.
  const std::string configured = std::string(253, 'T') + "\xE1\xBA\xBF";
  EXPECT_EQ(PageTitlePrefix(configured, TextEncoding::kUtf8), std::string(253, 'T'));
  EXPECT_EQ(PageTitlePrefix(configured, TextEncoding::kGbk), std::string(253, 'T') + "\xE1\xBA");
  EXPECT_EQ(PageTitlePrefix("Chi\xE1\xBA\xBFn", TextEncoding::kUtf8), "Chi\xE1\xBA\xBFn-");
}
