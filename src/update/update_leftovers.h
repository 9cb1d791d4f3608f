// What a self-update leaves behind: the script that replaced the program
// and, from launchers before it, the old program renamed. Both go at the
// next start.
#pragma once

#include "update/update_platform.h"

struct UpdateLeftovers {
  // The script was there: this run was started by it (or by a player after
  // an update that did not start the program again).
  bool scriptFound = false;
  // And it is gone now: the previous run replaced, or tried to replace, the
  // program, and this run checks for no update. A script that stays (a
  // folder of that name) says nothing of the previous run: the checks go
  // on, and none of them writes a script over it.
  bool scriptRemoved = false;
};

// Removes "Launcher_back_up.exe" and "Launcher_update.bat" from the working
// directory, which need not be the program's own, and nothing else; a
// read-only one loses that attribute first, since it is the launcher's
// own file. A directory too long for a path buffer is left alone.
UpdateLeftovers RemoveUpdateLeftovers(FileSystem& files, ProcessControl& process);
