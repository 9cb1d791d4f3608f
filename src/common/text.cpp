#include "common/text.h"

#include <algorithm>
#include <cstring>

#include "common/utf8.h"

bool IsGbkLeadByte(unsigned char byte) { return byte >= 0x81 && byte <= 0xFE; }

bool NoLeadBytes(unsigned char) { return false; }

namespace {

// Number of bytes of `text` that fit in `limit` without splitting a
// character; `step` gives the length of the character at a position.
template <class Step>
std::size_t FittingLengthBy(std::string_view text, std::size_t limit, Step step) {
  if (text.size() <= limit) return text.size();
  std::size_t pos = 0;
  while (pos < limit) {
    const std::size_t length = step(pos);
    if (pos + length > limit) break;
    pos += length;
  }
  return pos;
}

std::size_t FittingLength(std::string_view text, std::size_t limit, LeadByteRule isLeadByte) {
  return FittingLengthBy(text, limit, [&](std::size_t pos) {
    return isLeadByte(static_cast<unsigned char>(text[pos])) ? std::size_t{2} : std::size_t{1};
  });
}

std::size_t FittingLength(std::string_view text, std::size_t limit, TextEncoding encoding) {
  if (encoding == TextEncoding::kGbk) return FittingLength(text, limit, IsGbkLeadByte);
  return FittingLengthBy(text, limit, [&](std::size_t pos) { return Utf8UnitAt(text, pos).length; });
}

template <class Rule>
std::string Cut(std::string_view text, std::size_t width, Rule rule) {
  if (width == 0) return {};
  return std::string(text.substr(0, FittingLength(text, width - 1, rule)));
}

template <class Rule>
void Copy(char* field, std::size_t width, std::string_view text, Rule rule) {
  if (width == 0) return;
  const std::size_t length = FittingLength(text, width - 1, rule);
  std::memcpy(field, text.data(), length);
  field[length] = '\0';
}

}  // namespace

std::string CutToField(std::string_view text, std::size_t width, LeadByteRule isLeadByte) {
  return Cut(text, width, isLeadByte);
}

void CopyToField(char* field, std::size_t width, std::string_view text, LeadByteRule isLeadByte) {
  Copy(field, width, text, isLeadByte);
}

std::string CutToField(std::string_view text, std::size_t width, TextEncoding encoding) {
  return Cut(text, width, encoding);
}

void CopyToField(char* field, std::size_t width, std::string_view text, TextEncoding encoding) {
  Copy(field, width, text, encoding);
}

std::int32_t ParseDecimalInt(std::string_view text) {
  std::size_t pos = 0;
  while (pos < text.size() && std::strchr(" \t\n\v\f\r", text[pos]) != nullptr && text[pos] != '\0') ++pos;
  bool negative = false;
  if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) negative = text[pos++] == '-';
  // Accumulate toward the bound of the sign; stop growing once past it.
  const std::int64_t bound = negative ? 2147483648LL : 2147483647LL;
  std::int64_t value = 0;
  for (; pos < text.size() && text[pos] >= '0' && text[pos] <= '9'; ++pos)
    value = std::min(bound, value * 10 + (text[pos] - '0'));
  return static_cast<std::int32_t>(negative ? -value : value);
}

std::size_t LastCharacter(std::string_view text, char c, LeadByteRule isLeadByte) {
  std::size_t found = std::string_view::npos;
  for (std::size_t pos = 0; pos < text.size();) {
    if (text[pos] == c) found = pos;
    pos += isLeadByte(static_cast<unsigned char>(text[pos])) && pos + 1 < text.size() ? 2 : 1;
  }
  return found;
}

std::u16string ProgramTitle(std::u16string_view path) {
  const std::u16string_view name = path.substr(path.find_last_of(u'\\') + 1);
  const std::size_t dot = name.find_last_of(u'.');
  return dot == std::u16string_view::npos ? std::u16string() : std::u16string(name.substr(0, dot));
}

std::string ProgramTitle(std::string_view path, LeadByteRule isLeadByte) {
  const std::size_t slash = LastCharacter(path, '\\', isLeadByte);
  const std::string_view name = slash == std::string_view::npos ? path : path.substr(slash + 1);
  const std::size_t dot = LastCharacter(name, '.', isLeadByte);
  return dot == std::string_view::npos ? std::string() : std::string(name.substr(0, dot));
}
