// Conversions between the launcher's byte texts and the UTF-16 texts of
// the browser control and of page script.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// The ANSI text (the system code page, GBK on 936) as UTF-16.
std::wstring WideFromAnsi(std::string_view text);

// Converts `text` into the OEM code page, without a default character,
// into `buffer` of `size` bytes with its terminating zero. False, writing
// nothing, when the result with its zero does not fit or the text cannot be
// converted at all.
bool ToOemText(std::u16string_view text, char* buffer, std::size_t size);
// The same into code page `codePage`. A character without an exact
// equivalent there becomes the code page's default character, never a
// look-alike ("best fit"): a page's U+2215 must not become a slash.
bool ToCodePageText(unsigned codePage, std::u16string_view text, char* buffer, std::size_t size);
