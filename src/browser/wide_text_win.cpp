#include "browser/wide_text_win.h"

#include <windows.h>

#include <climits>

std::wstring WideFromAnsi(std::string_view text) {
  if (text.empty() || text.size() > INT_MAX) return {};
  const int length = static_cast<int>(text.size());
  const int wideLength = MultiByteToWideChar(CP_ACP, 0, text.data(), length, nullptr, 0);
  if (wideLength <= 0) return {};
  std::wstring wide(wideLength, L'\0');
  MultiByteToWideChar(CP_ACP, 0, text.data(), length, wide.data(), wideLength);
  return wide;
}

bool ToOemText(std::u16string_view text, char* buffer, std::size_t size) {
  return ToCodePageText(CP_OEMCP, text, buffer, size);
}

bool ToCodePageText(unsigned codePage, std::u16string_view text, char* buffer, std::size_t size) {
  if (buffer == nullptr || size == 0 || text.size() > INT_MAX) return false;
  // On Windows UTF-16 code units are wchar_t.
  const auto* wide = reinterpret_cast<const wchar_t*>(text.data());
  const int length = static_cast<int>(text.size());
  // No best fit: a page's character without an exact equivalent must not
  // become a quote, slash or percent sign that changes what an address does.
  constexpr DWORD kFlags = WC_NO_BEST_FIT_CHARS;
  const int needed = length == 0 ? 0 : WideCharToMultiByte(codePage, kFlags, wide, length, nullptr, 0, nullptr, nullptr);
  if (length > 0 && needed <= 0) return false;
  if (static_cast<std::size_t>(needed) + 1 > size) return false;
  if (needed > 0) WideCharToMultiByte(codePage, kFlags, wide, length, buffer, needed, nullptr, nullptr);
  buffer[needed] = '\0';
  return true;
}
