// The batch script through which the launcher replaces its own program file:
// a running program cannot overwrite itself, so the script waits for it to
// end, puts the downloaded one in its place and starts it.
#pragma once

#include <string>
#include <string_view>

#include "common/text.h"

// The script's four lines, each ending in carriage return and line feed:
//   @ping 127.0.0.1 -n 2 -w 1000 > nul      (with a space before the line end)
//   move /y "<newPath>" "<exePath>" || rename "<exePath>" "Launcher_back_up.exe"
//   rename  "<newPath>" "<exe file name>" || rename "<exe folder>\Launcher_back_up.exe" "<exe file name>"
//   "<exePath>"
// (two spaces after the first rename of the third line). The program file is
// replaced in one step where it can be, so it is never missing; where it is
// still in use, the old file is renamed away first, and it gets its name back
// when the new file cannot take it.
// In the last three lines every backslash is doubled, and every "%" too so
// that the command interpreter reads it as itself instead of the start of a
// variable. The scans step over double-byte characters by `isLeadByte`, so a
// trail byte that equals a backslash is left alone; the exe file name is what
// follows the last backslash found that way and the exe folder what comes
// before it (nothing when there is none: the backup is then where the
// interpreter's working directory is).
std::string BuildUpdateScript(std::string_view exePath, std::string_view newPath,
                              LeadByteRule isLeadByte = IsGbkLeadByte);
