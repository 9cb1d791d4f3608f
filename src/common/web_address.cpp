#include "common/web_address.h"

#include <cctype>

bool StartsWithNoCase(std::string_view text, std::string_view prefix) {
  if (text.size() < prefix.size()) return false;
  for (std::size_t i = 0; i < prefix.size(); ++i)
    if (std::tolower(static_cast<unsigned char>(text[i])) != prefix[i]) return false;
  return true;
}

bool IsWebAddress(std::string_view address) {
  return StartsWithNoCase(address, "http://") || StartsWithNoCase(address, "https://");
}

std::optional<std::string> ShellAddress(std::string_view address) {
  std::string safe;
  safe.reserve(address.size());
  for (const char c : address) {
    const auto byte = static_cast<unsigned char>(c);
    // No GBK trail byte is below 0x40 or 0x7F, so these are characters of
    // their own wherever they stand.
    if (byte < 0x20 || byte == 0x7F) return std::nullopt;
    if (c == ' ')
      safe += "%20";
    else if (c == '"')
      safe += "%22";
    else
      safe += c;
  }
  return safe;
}
