// The running launcher process as the update check sees it: its clock, its
// directories, starting the update script and ending itself.
#pragma once

#include "update/ending_gate.h"
#include "update/update_platform.h"

// The one gate of the process between the update's replacement and the
// game window (start-up's window thread and the update worker share it).
EndingGate& ProcessEndingGate();

// Leaves the idle priority class for the normal one (and no other class):
// a program started by an idle-class program gets the idle class, so the
// launcher that the update script started, and the game in it, would run
// starved for the whole session.
void LeaveIdlePriority();

class SystemProcess : public ProcessControl {
 public:
  std::uint32_t TickCount() override;
  // From the system's random source, through libsodium.
  std::optional<std::uint64_t> UnguessableNumber() override;
  std::optional<std::string> CurrentDirectory() override;
  std::optional<std::string> ProgramPath() override;
  // Looks for another process whose program file has the same full path,
  // letter case aside.
  bool ProgramRunsElsewhere() override;
  // In the OEM code page, in which cmd.exe reads a batch file.
  std::optional<std::string> ConsoleText(std::string_view text) override;
  // The system's own cmd.exe, by its full path, runs the script with its
  // console hidden, at idle priority, in the script's folder as its working
  // directory, with the launcher's environment. Its command line names
  // the script by its file name alone, "cmd.exe /d /c .\<name>": a folder
  // named with "%OS%" would be expanded there, and AutoRun commands of the
  // registry (/d) have no business in an update. The script runs once the
  // interpreter has started a program of its own (the first line's ping),
  // its console host aside; an interpreter that ends first never read it,
  // and one that has started nothing within a minute is ended.
  bool RunScript(const std::string& directory, const std::string& scriptName) override;
  bool BeginEnding() override;
  void CancelEnding() override;
  // Ends at once from whichever thread calls, with status 0, without asking
  // any window to close: the other threads may be anywhere, and the clean-up
  // code of COM and GDI+ at process detach could wait on them.
  void EndProcess() override;
};
