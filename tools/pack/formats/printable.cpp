#include "formats/printable.h"

#include <cstdio>

namespace {

std::string Hex(unsigned char byte) {
  char text[5];
  std::snprintf(text, sizeof text, "\\x%02x", byte);
  return text;
}

}  // namespace

std::string Escaped(std::string_view utf8) {
  std::string out;
  out.reserve(utf8.size());
  for (std::size_t i = 0; i < utf8.size(); ++i) {
    const auto byte = static_cast<unsigned char>(utf8[i]);
    const auto next = i + 1 < utf8.size() ? static_cast<unsigned char>(utf8[i + 1]) : 0;
    if (byte < 0x20 || byte == 0x7F) {
      out += Hex(byte);
    } else if (byte == 0xC2 && next >= 0x80 && next <= 0x9F) {
      out += Hex(byte) + Hex(next);
      ++i;
    } else {
      out += static_cast<char>(byte);
    }
  }
  return out;
}
