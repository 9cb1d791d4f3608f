// UTF-8, the encoding a skin may declare for its texts instead of GBK, and
// its way to and from the UTF-16 of the wide functions. A skin is written
// by hand, so a text may hold bytes that are no UTF-8: such a run of bytes
// (a "maximal subpart", as Unicode calls it: a byte that starts no sequence,
// or the start of a sequence cut short) is one character of its own, shown
// as the replacement character U+FFFD. A text never vanishes for it and
// the rest of the text shows as written.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

// The character that starts at byte `at` of `text`.
struct Utf8Unit {
  std::size_t length = 0;  // bytes of the sequence, or of the bad run; 1 or more before the end
  bool valid = false;      // a well-formed sequence (shortest form, no surrogate, at most U+10FFFF)
  char32_t code = 0;       // the code point, when valid
};
Utf8Unit Utf8UnitAt(std::string_view text, std::size_t at);

// The offset of the first byte of the first bad sequence, or nothing when
// the whole text is UTF-8.
std::optional<std::size_t> FirstInvalidUtf8(std::string_view text);

// The halves of a UTF-16 surrogate pair, which together are one character.
bool IsHighSurrogate(char16_t c);
bool IsLowSurrogate(char16_t c);

// UTF-8 as UTF-16, each bad run as U+FFFD.
std::u16string Utf16FromUtf8(std::string_view text);
// UTF-16 as UTF-8; a surrogate without its partner becomes U+FFFD.
std::string Utf8FromUtf16(std::u16string_view text);
// The number of bytes Utf8FromUtf16 gives for `text`.
std::size_t Utf8Length(std::u16string_view text);
