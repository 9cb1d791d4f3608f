#include "common/web_address.h"

#include <cctype>
#include <type_traits>

bool StartsWithNoCase(std::string_view text, std::string_view prefix) {
  if (text.size() < prefix.size()) return false;
  for (std::size_t i = 0; i < prefix.size(); ++i)
    if (std::tolower(static_cast<unsigned char>(text[i])) != prefix[i]) return false;
  return true;
}

bool IsWebAddress(std::string_view address) {
  return StartsWithNoCase(address, "http://") || StartsWithNoCase(address, "https://");
}

namespace {

template <typename Char>
std::optional<std::basic_string<Char>> SafeForShell(std::basic_string_view<Char> address) {
  std::basic_string<Char> safe;
  safe.reserve(address.size());
  for (const Char c : address) {
    // No GBK trail byte is below 0x40 or 0x7F, so these are characters of
    // their own wherever they stand; in UTF-16 every unit below 0x80 is.
    const auto unit = static_cast<std::make_unsigned_t<Char>>(c);
    if (unit < 0x20 || unit == 0x7F) return std::nullopt;
    if (c == ' ')
      safe.append({'%', '2', '0'});
    else if (c == '"')
      safe.append({'%', '2', '2'});
    else
      safe += c;
  }
  return safe;
}

}  // namespace

std::optional<std::string> ShellAddress(std::string_view address) { return SafeForShell(address); }

std::optional<std::wstring> ShellAddress(std::wstring_view address) { return SafeForShell(address); }
