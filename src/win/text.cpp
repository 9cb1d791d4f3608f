#include "win/text.h"

#include <windows.h>

#include "common/text.h"
#include "win/process.h"

namespace win {

bool IsSystemLeadByte(unsigned char byte) { return IsDBCSLeadByte(byte) != FALSE; }

std::string ProgramFileTitle() {
  const auto path = ProgramPath();
  return path ? ProgramTitle(*path, IsSystemLeadByte) : std::string();
}

std::string AnsiFromWide(std::wstring_view text) {
  if (text.empty()) return {};
  const int length = static_cast<int>(text.size());
  // No best fit: a character without an exact equivalent becomes the
  // default character, never a look-alike such as a quote or a slash.
  const int size = WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, text.data(), length, nullptr, 0, nullptr, nullptr);
  std::string ansi(size > 0 ? size : 0, '\0');
  if (size > 0)
    WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, text.data(), length, ansi.data(), size, nullptr, nullptr);
  return ansi;
}

bool AskOkCancel(HWND owner, const std::string& text, const std::string& caption) {
  constexpr UINT kQuestionStyle = MB_OKCANCEL | MB_DEFBUTTON2 | MB_SYSTEMMODAL | MB_TASKMODAL;
  static_assert(kQuestionStyle == 0x3101);
  return MessageBoxA(owner, text.c_str(), caption.c_str(), kQuestionStyle) == IDOK;
}

}  // namespace win
