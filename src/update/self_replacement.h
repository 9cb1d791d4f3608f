// Replacing the running program file with a downloaded launcher: the update
// script is written to the working directory, started hidden, and the
// process ends so that the script can put the new file in its place.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "update/update_check.h"

enum class Replacement {
  kStarted,            // the script was written and started; returns only in tests
  kScriptNotWritten,   // the script file could not be made whole: nothing started, no script left
  kScriptUnreadable,   // the command interpreter could not read the paths: nothing written
};

// Writes the script for `newPath` and starts it, then ends the process,
// whether the script started or not (a script that did not start leaves
// every file as it was, and the old launcher starts normally next time).
Replacement StartSelfReplacement(const std::string& newPath, UpdateEnvironment& env);

// The update script in the bytes the command interpreter reads it in. The
// paths as they are where the console's code page can write them (on a
// system whose code pages are both 936, byte for byte the system's GBK);
// otherwise the folders' short (8.3) forms, which are plain ASCII where the
// system keeps them. The program's own file name is never shortened: the
// new file takes exactly the name the player's shortcuts point at. Nothing
// when neither can be written: no update then, rather than a script whose
// every line misses and a launcher that ends for nothing.
std::optional<std::string> ConsoleUpdateScript(const std::string& programPath, const std::string& newPath,
                                               UpdateEnvironment& env);

// Whether `directory` is the folder that holds the program at `programPath`:
// equal but for the letter case of single-byte characters (double-byte
// characters compare exactly: a trail byte may look like a letter) and a
// closing backslash. The update script renames in the working directory and
// in the program's folder; when they differ, the program would vanish from
// its folder and nothing would start it again.
bool IsProgramFolder(std::string_view directory, std::string_view programPath, LeadByteRule isLeadByte);
