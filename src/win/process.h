// The running program's own facts and the start of other programs: asked
// for in one place, in path buffers of the launcher's fixed size.
#pragma once

#include <windows.h>

#include <optional>
#include <string>

#include "win/handles.h"

namespace win {

// The full path of the running program file; nothing when it does not fit
// a path buffer.
std::optional<std::string> ProgramPath();

// The process's working directory; nothing when it does not fit a path
// buffer (the ANSI functions cannot even report a longer one).
std::optional<std::string> WorkingDirectory();

// Starts `commandLine` (with `application` as the program file, or the
// command line's first word when it is null). The process handle, or none
// when the start failed; the thread's handle is closed at once.
UniqueHandle StartProcess(const char* application, std::string commandLine, DWORD creationFlags = 0,
                          WORD showWindow = SW_SHOWDEFAULT);

// Starts the program at `path` without arguments. The path is quoted on the
// command line, so a directory name with a space cannot start another
// program found at its first word.
UniqueHandle StartProgram(const char* path);

}  // namespace win
