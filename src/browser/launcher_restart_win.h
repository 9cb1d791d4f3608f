// Starting the launcher anew, for the page command that restarts it: the
// program's own file, with no arguments, in the caller's directory and
// environment.
#pragma once

#include "win/handles.h"

// Starts the program at `path`. The path is quoted on the command line, so
// a directory name with a space cannot start another program found at its
// first word. The process handle, or none when the start failed.
win::UniqueHandle StartProgram(const char* path);

// Starts a new instance of this program; false when it could not.
bool StartNewLauncherInstance();
