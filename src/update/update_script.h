// The batch script through which the launcher replaces its own program file:
// a running program cannot overwrite itself, so the script waits for it to
// end, puts the downloaded one in its place and starts it.
#pragma once

#include <string>
#include <string_view>

#include "common/text.h"

// The script's four lines, each ending in carriage return and line feed:
//   @ping 127.0.0.1 -n 2 -w 1000 > nul      (with a space before the line end)
//   move /y "<newPath>" "<exePath>" || attrib -r "<exePath>"
//   if exist "<newPath>" move /y "<newPath>" "<exePath>"
//   "<exePath>"
// The program file is only ever replaced in one step, so that a script
// stopped anywhere (killed, the machine switched off) leaves a program under
// its name that starts: either the old one or the new one, never none. A
// read-only program file refuses to be replaced until the second line has
// cleared that attribute, and the third line tries once more. A program file
// held by another process (a launcher of another account, a backup agent)
// or a download held by a scanner is not replaced at all: the old program
// starts again, and tries again at a later start.
// In the last three lines every backslash is doubled, and every "%" too so
// that the command interpreter reads it as itself instead of the start of a
// variable. The scan steps over double-byte characters by `isLeadByte`, so a
// trail byte that equals a backslash is left alone.
std::string BuildUpdateScript(std::string_view exePath, std::string_view newPath,
                              LeadByteRule isLeadByte = IsGbkLeadByte);
