// Replacing the running program file with a downloaded launcher: the update
// script is written to the working directory, started hidden, and the
// process ends so that the script can rename its file.
#pragma once

#include <string>

#include "update/update_check.h"

// False, with nothing started and no script left, when the script cannot be
// written whole (a script cut short could rename the program away without
// putting the new one in its place) or when the backup name beside the
// program is already taken (the script could not rename the program). Otherwise starts the script and ends the
// process, whether the script started or not; returns true only in tests.
bool StartSelfReplacement(const std::string& newPath, UpdateEnvironment& env);
