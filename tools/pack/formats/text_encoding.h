// Telling a configuration written in UTF-8 from one in GBK, and the
// conversion that pack --from-utf8 applies.
#pragma once

#include <cstddef>
#include <string_view>

#include "formats/gbk_text.h"

inline constexpr std::string_view kUtf8ByteOrderMark = "\xEF\xBB\xBF";

bool StartsWithByteOrderMark(std::string_view text);

// The length of the well-formed UTF-8 character that starts the text (no
// overlong forms, no surrogates, nothing past U+10FFFF), or 0.
std::size_t Utf8CharacterLength(std::string_view text);

// How many bytes from the start form well-formed UTF-8 characters.
std::size_t Utf8Prefix(std::string_view text);
inline bool IsUtf8(std::string_view text) { return Utf8Prefix(text) == text.size(); }

// A byte-order mark, or well-formed UTF-8 with at least one character beyond
// ASCII. GBK text with Chinese in it is almost never well-formed UTF-8; pure
// ASCII is both and reads the same either way.
bool LooksLikeUtf8(std::string_view text);

// The offset of the first byte beyond ASCII, or npos.
std::size_t FirstNonAscii(std::string_view text);

// The line (from 1) on which the byte at `offset` lies; CR LF, LF and CR end
// lines as in the configuration reader.
int LineAt(std::string_view text, std::size_t offset);

// A UTF-8 configuration as GBK, without its byte-order mark; `failedAt`
// counts in the input, mark included.
GbkConversion ConfigToGbk(std::string_view utf8);
