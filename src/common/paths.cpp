#include "common/paths.h"

std::size_t Utf16Length(std::string_view text) {
  std::size_t units = 0;
  for (const char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    if ((byte & 0xC0) == 0x80) continue;  // a continuation byte
    units += byte >= 0xF0 ? 2 : 1;        // four bytes: a surrogate pair
  }
  return units;
}

std::optional<std::string> PathInDirectory(std::string_view directory, std::string_view name) {
  if (Utf16Length(directory) + 1 + Utf16Length(name) >= kMaxPath) return std::nullopt;
  std::string path(directory);
  path += '\\';
  path += name;
  return path;
}
