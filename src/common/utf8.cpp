#include "common/utf8.h"

bool IsHighSurrogate(char16_t c) { return c >= 0xD800 && c <= 0xDBFF; }
bool IsLowSurrogate(char16_t c) { return c >= 0xDC00 && c <= 0xDFFF; }

namespace {

constexpr char32_t kReplacement = 0xFFFD;

// Calls `visit` with each code point of UTF-16 `text`, a lone surrogate as
// the replacement character.
template <class Visit>
void ForEachCodePoint(std::u16string_view text, Visit visit) {
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char16_t c = text[i];
    if (IsHighSurrogate(c) && i + 1 < text.size() && IsLowSurrogate(text[i + 1])) {
      visit(0x10000 + ((static_cast<char32_t>(c) - 0xD800) << 10) + (text[++i] - 0xDC00));
    } else {
      visit(IsHighSurrogate(c) || IsLowSurrogate(c) ? kReplacement : c);
    }
  }
}

std::size_t Utf8Bytes(char32_t code) { return code < 0x80 ? 1 : code < 0x800 ? 2 : code < 0x10000 ? 3 : 4; }

void AppendUtf8(std::string& out, char32_t code) {
  const std::size_t bytes = Utf8Bytes(code);
  static constexpr unsigned char kLead[] = {0, 0x00, 0xC0, 0xE0, 0xF0};
  out.push_back(static_cast<char>(kLead[bytes] | (code >> (6 * (bytes - 1)))));
  for (std::size_t i = bytes - 1; i > 0; --i) out.push_back(static_cast<char>(0x80 | ((code >> (6 * (i - 1))) & 0x3F)));
}

void AppendUtf16(std::u16string& out, char32_t code) {
  if (code < 0x10000) {
    out.push_back(static_cast<char16_t>(code));
    return;
  }
  code -= 0x10000;
  out.push_back(static_cast<char16_t>(0xD800 + (code >> 10)));
  out.push_back(static_cast<char16_t>(0xDC00 + (code & 0x3FF)));
}

}  // namespace

// The well-formed sequences, by their first byte: how many bytes follow and
// the range the second one must lie in (the others lie in 80..BF). The
// ranges leave out overlong forms (E0 80..9F, F0 80..8F), surrogates
// (ED A0..BF) and code points beyond U+10FFFF (F4 90..BF).
Utf8Unit Utf8UnitAt(std::string_view text, std::size_t at) {
  if (at >= text.size()) return {};
  const auto first = static_cast<unsigned char>(text[at]);
  if (first < 0x80) return {1, true, first};
  std::size_t follow = 0;
  unsigned char low = 0x80, high = 0xBF;
  char32_t code = 0;
  if (first >= 0xC2 && first <= 0xDF) {
    follow = 1;
    code = first & 0x1F;
  } else if (first >= 0xE0 && first <= 0xEF) {
    follow = 2;
    code = first & 0x0F;
    if (first == 0xE0) low = 0xA0;
    if (first == 0xED) high = 0x9F;
  } else if (first >= 0xF0 && first <= 0xF4) {
    follow = 3;
    code = first & 0x07;
    if (first == 0xF0) low = 0x90;
    if (first == 0xF4) high = 0x8F;
  } else {
    return {1, false, 0};
  }
  for (std::size_t i = 1; i <= follow; ++i) {
    if (at + i >= text.size()) return {i, false, 0};
    const auto byte = static_cast<unsigned char>(text[at + i]);
    if (byte < low || byte > high) return {i, false, 0};
    code = code << 6 | (byte & 0x3F);
    low = 0x80;
    high = 0xBF;
  }
  return {follow + 1, true, code};
}

std::optional<std::size_t> FirstInvalidUtf8(std::string_view text) {
  for (std::size_t at = 0; at < text.size();) {
    const Utf8Unit unit = Utf8UnitAt(text, at);
    if (!unit.valid) return at;
    at += unit.length;
  }
  return std::nullopt;
}

std::u16string Utf16FromUtf8(std::string_view text) {
  std::u16string wide;
  wide.reserve(text.size());
  for (std::size_t at = 0; at < text.size();) {
    const Utf8Unit unit = Utf8UnitAt(text, at);
    AppendUtf16(wide, unit.valid ? unit.code : kReplacement);
    at += unit.length;
  }
  return wide;
}

std::string Utf8FromUtf16(std::u16string_view text) {
  std::string utf8;
  utf8.reserve(text.size());
  ForEachCodePoint(text, [&](char32_t code) { AppendUtf8(utf8, code); });
  return utf8;
}

std::size_t Utf8Length(std::u16string_view text) {
  std::size_t bytes = 0;
  ForEachCodePoint(text, [&](char32_t code) { bytes += Utf8Bytes(code); });
  return bytes;
}
