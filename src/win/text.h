// Text helpers that need the system: its ANSI code page's lead bytes, the
// program's own file name, and the launcher's yes-or-no questions.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

namespace win {

// The lead-byte rule of the system's ANSI code page (GBK on 936).
bool IsSystemLeadByte(unsigned char byte);

// The program file's name without directory and extension ("Launcher"):
// the caption of the launcher's questions and its HTTP user agent.
std::string ProgramFileTitle();

// UTF-16 text in the system's ANSI code page (GBK on 936); characters the
// code page lacks become the system's default character.
std::string AnsiFromWide(std::wstring_view text);

// Asks `text` with OK and Cancel, Cancel the default, system- and
// task-modal (style 0x3101), as every question of the launcher does; true
// when the answer is OK.
bool AskOkCancel(HWND owner, const std::string& text, const std::string& caption);

}  // namespace win
