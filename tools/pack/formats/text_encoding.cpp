#include "formats/text_encoding.h"

namespace {

bool IsContinuation(unsigned char byte) { return (byte & 0xC0) == 0x80; }

}  // namespace

std::size_t Utf8CharacterLength(std::string_view text) {
  if (text.empty()) return 0;
  const auto at = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
  const unsigned char lead = at(0);
  if (lead < 0x80) return 1;
  std::size_t length = 0;
  unsigned char low = 0x80, high = 0xBF;  // allowed range of the second byte
  if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3;
    if (lead == 0xE0) low = 0xA0;   // overlong
    if (lead == 0xED) high = 0x9F;  // surrogates
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4;
    if (lead == 0xF0) low = 0x90;   // overlong
    if (lead == 0xF4) high = 0x8F;  // beyond U+10FFFF
  } else {
    return 0;
  }
  if (text.size() < length || at(1) < low || at(1) > high) return 0;
  for (std::size_t i = 2; i < length; ++i)
    if (!IsContinuation(at(i))) return 0;
  return length;
}

bool StartsWithByteOrderMark(std::string_view text) { return text.starts_with(kUtf8ByteOrderMark); }

std::size_t Utf8Prefix(std::string_view text) {
  std::size_t pos = 0;
  while (pos < text.size()) {
    const std::size_t length = Utf8CharacterLength(text.substr(pos));
    if (length == 0) break;
    pos += length;
  }
  return pos;
}

std::size_t FirstNonAscii(std::string_view text) {
  for (std::size_t i = 0; i < text.size(); ++i)
    if (static_cast<unsigned char>(text[i]) >= 0x80) return i;
  return std::string_view::npos;
}

bool LooksLikeUtf8(std::string_view text) {
  return StartsWithByteOrderMark(text) || (FirstNonAscii(text) != std::string_view::npos && IsUtf8(text));
}

int LineAt(std::string_view text, std::size_t offset) {
  int line = 1;
  for (std::size_t i = 0; i < offset && i < text.size(); ++i) {
    if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') continue;  // counted at the LF
    if (text[i] == '\r' || text[i] == '\n') ++line;
  }
  return line;
}

GbkConversion ConfigToGbk(std::string_view utf8) {
  const std::size_t mark = StartsWithByteOrderMark(utf8) ? kUtf8ByteOrderMark.size() : 0;
  GbkConversion converted = Utf8ToGbk(utf8.substr(mark));
  if (!converted.Converted()) converted.failedAt += mark;
  return converted;
}
