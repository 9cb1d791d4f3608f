// Byte-string helpers for texts in a multibyte ANSI code page (GBK). Texts are
// handled as bytes; where a scan must not split a double-byte character, the
// caller says which bytes lead one: the system's rule in the program, GBK's
// own table here and in tests.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "common/text_encoding.h"

using LeadByteRule = bool (*)(unsigned char byte);

// GBK: a byte from 0x81 to 0xFE starts a two-byte character.
bool IsGbkLeadByte(unsigned char byte);

// UTF-8 and single-byte code pages: no byte leads a character whose next
// byte could be taken for a separator.
bool NoLeadBytes(unsigned char byte);

// The text as a field of `width` bytes holds it: at most width - 1 bytes, and
// never the first half of a double-byte character at the cut.
std::string CutToField(std::string_view text, std::size_t width, LeadByteRule isLeadByte = IsGbkLeadByte);

// Copies a zero-terminated text into a caller's field of `width` bytes by the
// rule of CutToField; the field always ends with a zero byte.
void CopyToField(char* field, std::size_t width, std::string_view text, LeadByteRule isLeadByte = IsGbkLeadByte);
// The same for a text of a skin in `encoding`: GBK by GBK's lead bytes,
// UTF-8 never inside a sequence (a bad run of bytes counts as one
// character, Utf8UnitAt).
std::string CutToField(std::string_view text, std::size_t width, TextEncoding encoding);
void CopyToField(char* field, std::size_t width, std::string_view text, TextEncoding encoding);

// Reads a decimal integer the way strtol does for base 10: leading white
// space, an optional sign, digits up to the first other byte. No digits give
// 0; a value beyond the 32-bit range gives the nearest bound.
std::int32_t ParseDecimalInt(std::string_view text);

// The file name of a path without directory and extension: everything after
// the last backslash (a trail byte of a double-byte character is not one),
// up to the last dot. A name without a dot gives the empty text.
std::string ProgramTitle(std::string_view path, LeadByteRule isLeadByte = IsGbkLeadByte);
// The same for a UTF-16 path, where every unit stands for itself.
std::u16string ProgramTitle(std::u16string_view path);

// The last occurrence of `c` in `text` that is a character of its own, not
// the trail byte of a double-byte character; npos when there is none.
std::size_t LastCharacter(std::string_view text, char c, LeadByteRule isLeadByte = IsGbkLeadByte);
