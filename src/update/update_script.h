// The batch script through which the launcher replaces its own program file:
// a running program cannot overwrite itself, so the script waits for it to
// end, renames the old file away, gives the downloaded one its name and
// starts it.
#pragma once

#include <string>
#include <string_view>

#include "common/text.h"

// The script's four lines, each ending in carriage return and line feed:
//   @ping 127.0.0.1 -n 2 -w 1000 > nul      (with a space before the line end)
//   rename "<exePath>" "Launcher_back_up.exe"
//   rename  "<newPath>" "<exe file name>" || rename "<exe folder>\Launcher_back_up.exe" "<exe file name>"
//   "<exePath>"
// (two spaces after the first rename of the third line). When the new file
// cannot take the program's name, the old one gets it back, so a refused
// second step never leaves the folder without a program.
// In the last three lines every backslash is doubled, and every "%" too so
// that the command interpreter reads it as itself instead of the start of a
// variable. The scans step over double-byte characters by `isLeadByte`, so a
// trail byte that equals a backslash is left alone; the exe file name is what
// follows the last backslash found that way and the exe folder what comes
// before it (nothing when there is none: the backup is then where the
// interpreter's working directory is).
std::string BuildUpdateScript(std::string_view exePath, std::string_view newPath,
                              LeadByteRule isLeadByte = IsGbkLeadByte);
