// The running program's own facts and the start of other programs: asked
// for in one place, in UTF-16 from the system, as UTF-8 for the rest of the
// launcher, in path buffers of the launcher's fixed size.
#pragma once

#include <windows.h>

#include <optional>
#include <string>

#include "win/handles.h"

namespace win {

// The full path of the running program file, in its long form (a start
// through a short 8.3 path still names the same folder as the working
// directory does); nothing when it does not fit a path buffer.
std::optional<std::string> ProgramPath();

// The process's working directory, in its long form too (a shortcut whose
// "Start in" is written in 8.3 form names the same folder as the program's
// path does); nothing when it does not fit a path buffer.
std::optional<std::string> WorkingDirectory();

// Starts `commandLine` (with `application` as the program file, or the
// command line's first word when it is empty), both UTF-8, in `directory`
// (the launcher's own working directory when empty). The process handle,
// or none when the start failed; the thread's handle is closed at once.
UniqueHandle StartProcess(const std::string& application, const std::string& commandLine, DWORD creationFlags = 0,
                          WORD showWindow = SW_SHOWDEFAULT, const std::string& directory = "");

// Starts the program at `path` (UTF-8) without arguments. The path is
// quoted on the command line, so a directory name with a space cannot start
// another program found at its first word.
UniqueHandle StartProgram(const std::string& path);

}  // namespace win
