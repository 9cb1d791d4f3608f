// Text helpers that need the system: its ANSI code page's lead bytes and the
// program's own file name.
#pragma once

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

}  // namespace win
