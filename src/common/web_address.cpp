#include "common/web_address.h"

#include <cctype>
#include <cstdint>

bool StartsWithNoCase(std::string_view text, std::string_view prefix) {
  if (text.size() < prefix.size()) return false;
  for (std::size_t i = 0; i < prefix.size(); ++i)
    if (std::tolower(static_cast<unsigned char>(text[i])) != prefix[i]) return false;
  return true;
}

bool IsWebAddress(std::string_view address) {
  return StartsWithNoCase(address, "http://") || StartsWithNoCase(address, "https://");
}

bool ShellMayOpen(std::wstring_view link) {
  for (const wchar_t c : link)
    if (static_cast<std::uint32_t>(c) < 0x20 || c == 0x7F) return false;
  return true;
}

std::wstring EncodePageAddress(std::wstring_view address) {
  std::wstring encoded;
  encoded.reserve(address.size());
  for (const wchar_t c : address) {
    if (c == L' ')
      encoded += L"%20";
    else if (c == L'"')
      encoded += L"%22";
    else
      encoded += c;
  }
  return encoded;
}
