// Replacing the running program file with a downloaded launcher: the update
// script is written to the working directory and started hidden; once it
// runs, the process ends so that the script can put the new file in its
// place.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "update/update_check.h"

// The script for a download, as it would be written now.
struct PlannedScript {
  std::string directory;  // the working directory, where the script goes
  std::string path;       // directory + "\Launcher_update.bat"
  std::string text;       // in the bytes the interpreter reads
};

// Whether, and how, the script for `newPath` can be written: known before
// anything is downloaded, so that a download that could never be used is
// never made. Nothing when the working directory or the program's path
// cannot be read, the script's name is taken (a leftover that could not be
// removed, a folder of that name), or the interpreter could not read the
// paths (ConsoleUpdateScript).
std::optional<PlannedScript> PlanSelfReplacement(const std::string& newPath, UpdateEnvironment& env);

enum class Replacement {
  kRunning,           // the script runs: the process must end now, so that it can work
  kScriptNotWritten,  // the script could not be planned or made whole: nothing started, no script left
  kScriptDidNotRun,   // the interpreter never ran it: it was ended, and the script removed
};

// Writes the script for `newPath` and runs it. The process must go on when
// the script did not run (removed or blocked before the interpreter read
// it): a launcher that ended then would simply vanish.
Replacement StartSelfReplacement(const std::string& newPath, UpdateEnvironment& env);

// The update script in the bytes the command interpreter reads it in. The
// paths as they are where the console's code page can write them (on a
// system whose code pages are both 936, byte for byte the system's GBK);
// otherwise with the program's folder in its short (8.3) form, which is
// plain ASCII where the system keeps such names. The file names are never
// shortened: the new file takes exactly the name the player's shortcuts
// point at, and the download's own name is known before it exists. Nothing
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
