// What a finished self-update leaves behind: the old program, renamed, and
// the script that renamed it. Both go at the next start.
#pragma once

#include "update/update_platform.h"

// Removes "Launcher_back_up.exe" and "Launcher_update.bat" from the working
// directory, which need not be the program's own, and nothing else. A
// directory too long for a path buffer is left alone.
void RemoveUpdateLeftovers(FileSystem& files, ProcessControl& process);
