#include <windows.h>

#include "formats/gbk_text.h"
#include "formats/text_encoding.h"

namespace {

constexpr UINT kGbk = 936;

std::wstring Widen(UINT codePage, DWORD flags, std::string_view text) {
  if (text.empty()) return {};
  const int size = MultiByteToWideChar(codePage, flags, text.data(), static_cast<int>(text.size()), nullptr, 0);
  if (size <= 0) return {};
  std::wstring wide(static_cast<std::size_t>(size), L'\0');
  MultiByteToWideChar(codePage, flags, text.data(), static_cast<int>(text.size()), wide.data(), size);
  return wide;
}

std::string Utf8Of(const std::wstring& wide) {
  const int size =
      WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), nullptr, 0, nullptr, nullptr);
  std::string text(static_cast<std::size_t>(size > 0 ? size : 0), '\0');
  WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), text.data(), size, nullptr, nullptr);
  return text;
}

}  // namespace

// Character by character, so that a byte that starts no character becomes
// U+FFFD, as iconv's conversion on the build machine has it.
std::string GbkToUtf8(std::string_view gbk) {
  std::wstring wide;
  for (std::size_t pos = 0; pos < gbk.size();) {
    const auto byte = static_cast<unsigned char>(gbk[pos]);
    const std::size_t length = byte >= 0x81 && byte <= 0xFE && pos + 1 < gbk.size() ? 2 : 1;
    const std::wstring character =
        byte < 0x80 ? std::wstring(1, byte) : Widen(kGbk, MB_ERR_INVALID_CHARS, gbk.substr(pos, length));
    wide += character.empty() ? std::wstring(1, L'\xFFFD') : character;
    pos += character.empty() ? 1 : length;
  }
  return Utf8Of(wide);
}

// Character by character, so that the first one GBK lacks can be named.
GbkConversion Utf8ToGbk(std::string_view utf8) {
  GbkConversion result;
  for (std::size_t pos = 0; pos < utf8.size();) {
    const std::size_t length = Utf8CharacterLength(utf8.substr(pos));
    const std::wstring wide =
        length == 0 ? std::wstring() : Widen(CP_UTF8, MB_ERR_INVALID_CHARS, utf8.substr(pos, length));
    char bytes[8];
    BOOL usedDefault = FALSE;
    const int size = wide.empty()
                         ? 0
                         : WideCharToMultiByte(kGbk, WC_NO_BEST_FIT_CHARS, wide.data(), static_cast<int>(wide.size()),
                                               bytes, sizeof bytes, nullptr, &usedDefault);
    if (size <= 0 || usedDefault) {
      result.failedAt = pos;
      return result;
    }
    result.text.append(bytes, static_cast<std::size_t>(size));
    pos += length;
  }
  return result;
}
