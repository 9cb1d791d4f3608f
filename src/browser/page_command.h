// The commands a game page sends with window.external.JsCallClient, read
// from the call's parameter block as the script engine hands it over. The
// shell only copies the flags and the block out of its Invoke; whether the
// script called at all, and what a call means, is decided here.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "common/text.h"

// The automation type codes the commands tell apart (VT_I4, VT_BSTR,
// VT_INT, VT_UINT). A script number arrives as kVariantI4.
inline constexpr std::uint16_t kVariantI4 = 3;
inline constexpr std::uint16_t kVariantString = 8;
inline constexpr std::uint16_t kVariantInt = 22;
inline constexpr std::uint16_t kVariantUint = 23;

// How a script uses a member of window.external: the flags of its Invoke
// (DISPATCH_METHOD, DISPATCH_PROPERTYGET, DISPATCH_PROPERTYPUT,
// DISPATCH_PROPERTYPUTREF).
inline constexpr std::uint16_t kDispatchMethod = 1;
inline constexpr std::uint16_t kDispatchPropertyGet = 2;
inline constexpr std::uint16_t kDispatchPropertyPut = 4;
inline constexpr std::uint16_t kDispatchPropertyPutRef = 8;

enum class PageMemberUse {
  kCall,    // JsCallClient(...): the one use that runs a command
  kRead,    // typeof JsCallClient, if (JsCallClient): runs nothing
  kAssign,  // JsCallClient = ...: refused, runs nothing
};

// What the flags of an Invoke of JsCallClient ask for. Engines that cannot
// tell whether a result is wanted (r = JsCallClient(...), in JScript and
// VBScript alike) send a method and a property read together: that is a
// call. Anything that would set the member is an assignment, even beside
// the method flag, so that no assignment ever runs a command.
PageMemberUse PageMemberUseOf(std::uint16_t dispatchFlags);

// One entry of a call's parameter block.
struct PageArgument {
  std::uint16_t type = 0;   // the type code with its flag bits
  std::int32_t number = 0;  // the value of an int or uint entry
  std::u16string text;      // the characters of a string entry; a null string is empty
};

// A call's parameter block in the block's own order, which lists the
// script's arguments last to first: the first argument is the last entry.
using PageCallBlock = std::vector<PageArgument>;

// The number of bytes `text` takes in GBK. Page texts are kept as the page
// wrote them, but their limits are counted in the bytes of the
// configuration's texts: GBK in a GBK skin, UTF-8 (Utf8Length) in a UTF-8
// one.
using GbkMeasure = std::size_t (*)(std::u16string_view text);

enum class PageAction {
  kNone,
  kClose,            // 1: end the game window's modal run with OK, unasked
  kRestartAndClose,  // 2: start a new launcher, then close as for 1
  kSetButtonLink,    // 4: `text` becomes the link of the first button of kind 12
  kSetTitle,         // 6: `text` becomes the title drawn in the title bar
};

struct PageCommand {
  PageAction action = PageAction::kNone;
  // The page's text as it wrote it. For kSetTitle only the part after
  // "-", already cut so that PageTitlePrefix and it fit together.
  std::u16string text;
};

// The parameter a command takes is converted into a field of this size, and
// the composed title is cut to fit one.
inline constexpr std::size_t kPageTextField = 256;

// The call's code: its first argument when that is an int, a uint, or a
// string read as a decimal integer; any other type, a script number
// included, gives 0, and so does a call without arguments.
std::int32_t PageCallCode(const PageCallBlock& block);

// The call's parameter: its second argument when that is a string that
// fits kPageTextField bytes of the skin's encoding with its terminating
// zero. A string ends at its first zero character, as the texts it becomes
// do.
std::optional<std::u16string> PageCallParameter(const PageCallBlock& block, GbkMeasure gbkLength,
                                                TextEncoding encoding = TextEncoding::kGbk);

// The configured title's part of a page's title: `configuredTitle` (in the
// skin's encoding) and "-", cut to kPageTextField - 1 bytes without
// splitting a character.
std::string PageTitlePrefix(std::string_view configuredTitle, TextEncoding encoding = TextEncoding::kGbk);

// What one call asks of the game window. A code that takes a parameter does
// nothing without one. The new title is PageTitlePrefix and the parameter,
// the whole cut to kPageTextField - 1 bytes of the skin's encoding without
// splitting a character; it starts from the configured title every time,
// so titles never pile up.
PageCommand InterpretPageCall(const PageCallBlock& block, std::string_view configuredTitle, GbkMeasure gbkLength,
                              TextEncoding encoding = TextEncoding::kGbk);
