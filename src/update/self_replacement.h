// Replacing the running program file with a downloaded launcher: the update
// script is written to the working directory, started hidden, and the
// process ends so that the script can rename its file.
#pragma once

#include <string>
#include <string_view>

#include "update/update_check.h"

// False, with nothing started and no script left, when the script cannot be
// written whole (a script cut short could rename the program away without
// putting the new one in its place) or when the backup name beside the
// program is already taken (the script could not rename the program). Otherwise starts the script and ends the
// process, whether the script started or not; returns true only in tests.
bool StartSelfReplacement(const std::string& newPath, UpdateEnvironment& env);

// Whether `directory` is the folder that holds the program at `programPath`:
// equal but for the letter case of single-byte characters (double-byte
// characters compare exactly: a trail byte may look like a letter) and a
// closing backslash. The update script renames in the working directory and
// in the program's folder; when they differ, the program would vanish from
// its folder and nothing would start it again.
bool IsProgramFolder(std::string_view directory, std::string_view programPath, LeadByteRule isLeadByte);
