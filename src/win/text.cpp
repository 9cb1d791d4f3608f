#include "win/text.h"

#include <windows.h>

#include <climits>

#include "common/text.h"
#include "common/utf8.h"

namespace win {
namespace {

// No best fit: a character without an exact equivalent becomes the default
// character, never a look-alike such as a quote, a slash or a percent sign.
constexpr DWORD kToGbkFlags = WC_NO_BEST_FIT_CHARS;

int GbkBytes(const wchar_t* text, std::size_t length, char* out, int size) {
  if (length == 0 || length > INT_MAX) return 0;
  return WideCharToMultiByte(kGbkCodePage, kToGbkFlags, text, static_cast<int>(length), out, size, nullptr, nullptr);
}

std::string Gbk(const wchar_t* text, std::size_t length) {
  const int size = GbkBytes(text, length, nullptr, 0);
  if (size <= 0) return {};
  std::string gbk(static_cast<std::size_t>(size), '\0');
  GbkBytes(text, length, gbk.data(), size);
  return gbk;
}

}  // namespace

std::wstring WideFromGbk(std::string_view text) {
  if (text.empty() || text.size() > INT_MAX) return {};
  const int length = static_cast<int>(text.size());
  const int wideLength = MultiByteToWideChar(kGbkCodePage, 0, text.data(), length, nullptr, 0);
  if (wideLength <= 0) return {};
  std::wstring wide(static_cast<std::size_t>(wideLength), L'\0');
  MultiByteToWideChar(kGbkCodePage, 0, text.data(), length, wide.data(), wideLength);
  return wide;
}

std::string GbkFromWide(std::wstring_view text) { return Gbk(text.data(), text.size()); }

// On Windows UTF-16 code units are wchar_t.
std::string GbkFromWide(std::u16string_view text) {
  return Gbk(reinterpret_cast<const wchar_t*>(text.data()), text.size());
}

std::size_t GbkLength(std::u16string_view text) {
  const int size = GbkBytes(reinterpret_cast<const wchar_t*>(text.data()), text.size(), nullptr, 0);
  return size > 0 ? static_cast<std::size_t>(size) : 0;
}

std::wstring WideFromUtf8(std::string_view text) {
  if (text.empty() || text.size() > INT_MAX) return {};
  const int length = static_cast<int>(text.size());
  const int wideLength = MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, text.data(), length, nullptr, 0);
  if (wideLength <= 0) return {};
  std::wstring wide(static_cast<std::size_t>(wideLength), L'\0');
  MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, text.data(), length, wide.data(), wideLength);
  return wide;
}

std::string Utf8FromWide(std::wstring_view text) {
  if (text.empty() || text.size() > INT_MAX) return {};
  const int length = static_cast<int>(text.size());
  const int size = WideCharToMultiByte(CP_UTF8, WC_ERR_INVALID_CHARS, text.data(), length, nullptr, 0, nullptr, nullptr);
  if (size <= 0) return {};
  std::string utf8(static_cast<std::size_t>(size), '\0');
  WideCharToMultiByte(CP_UTF8, WC_ERR_INVALID_CHARS, text.data(), length, utf8.data(), size, nullptr, nullptr);
  return utf8;
}

// On Windows UTF-16 code units are wchar_t.
std::wstring WideFromSkin(std::string_view text, TextEncoding encoding) {
  if (encoding == TextEncoding::kGbk) return WideFromGbk(text);
  const std::u16string wide = Utf16FromUtf8(text);
  return std::wstring(wide.begin(), wide.end());
}

std::string SkinFromWide(std::wstring_view text, TextEncoding encoding) {
  return SkinFromWide(std::u16string_view(reinterpret_cast<const char16_t*>(text.data()), text.size()), encoding);
}

std::string SkinFromWide(std::u16string_view text, TextEncoding encoding) {
  return encoding == TextEncoding::kGbk ? GbkFromWide(text) : Utf8FromUtf16(text);
}

std::string Utf8FromGbk(std::string_view text) { return Utf8FromWide(WideFromGbk(text)); }

bool IsSystemLeadByte(unsigned char byte) { return IsDBCSLeadByte(byte) != FALSE; }

std::string ProgramFileTitle() {
  const std::wstring title = ProgramCaption();
  if (title.empty()) return {};
  const int size = WideCharToMultiByte(CP_ACP, 0, title.data(), static_cast<int>(title.size()), nullptr, 0, nullptr,
                                       nullptr);
  if (size <= 0) return {};
  std::string ansi(static_cast<std::size_t>(size), '\0');
  WideCharToMultiByte(CP_ACP, 0, title.data(), static_cast<int>(title.size()), ansi.data(), size, nullptr, nullptr);
  return ansi;
}

std::wstring ProgramCaption() {
  wchar_t path[MAX_PATH] = {};
  const DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return {};
  // On Windows UTF-16 code units are wchar_t.
  const std::u16string title = ProgramTitle(std::u16string_view(reinterpret_cast<const char16_t*>(path), length));
  return std::wstring(title.begin(), title.end());
}

bool AskOkCancel(HWND owner, std::wstring_view text, std::wstring_view caption) {
  constexpr UINT kQuestionStyle = MB_OKCANCEL | MB_DEFBUTTON2 | MB_SYSTEMMODAL | MB_TASKMODAL;
  static_assert(kQuestionStyle == 0x3101);
  return MessageBoxW(owner, std::wstring(text).c_str(), std::wstring(caption).c_str(), kQuestionStyle) == IDOK;
}

int ShowMessage(HWND owner, std::string_view text, std::string_view caption, UINT style) {
  return MessageBoxW(owner, WideFromGbk(text).c_str(), WideFromGbk(caption).c_str(), style);
}

}  // namespace win
