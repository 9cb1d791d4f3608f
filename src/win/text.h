// Text helpers that need the system: its ANSI code page's lead bytes and the
// program's own file name.
#pragma once

#include <string>

namespace win {

// The lead-byte rule of the system's ANSI code page (GBK on 936).
bool IsSystemLeadByte(unsigned char byte);

// The program file's name without directory and extension ("Launcher"):
// the caption of the launcher's questions and its HTTP user agent.
std::string ProgramFileTitle();

}  // namespace win
