// What a self-update leaves behind: the script that replaced the program
// and, from launchers before it, the old program renamed. Both go at the
// next start.
#pragma once

#include "update/update_platform.h"

// Removes "Launcher_back_up.exe" and "Launcher_update.bat" from the working
// directory, which need not be the program's own, and nothing else. A
// directory too long for a path buffer is left alone. True when the script
// was there: the previous run replaced, or tried to replace, the program.
bool RemoveUpdateLeftovers(FileSystem& files, ProcessControl& process);
