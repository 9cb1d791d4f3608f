// The running launcher process as the update check sees it: its clock, its
// directories, starting the update script and ending itself.
#pragma once

#include "update/update_platform.h"

class SystemProcess : public ProcessControl {
 public:
  std::uint32_t TickCount() override;
  // From the system's preferred random source (BCryptGenRandom).
  std::optional<std::uint64_t> UnguessableNumber() override;
  std::optional<std::string> CurrentDirectory() override;
  std::optional<std::string> ProgramPath() override;
  // Looks for another process whose program file has the same full path,
  // letter case aside.
  bool ProgramRunsElsewhere() override;
  // In the OEM code page, in which cmd.exe reads a batch file.
  std::optional<std::string> ConsoleText(std::string_view text) override;
  // cmd.exe runs the script with its console hidden, at idle priority, in
  // the launcher's own directory and environment. The path is quoted, so a
  // directory with spaces never lets another program ("C:\Program.exe") run.
  bool StartHiddenScript(const std::string& scriptPath) override;
  // Ends at once from whichever thread calls, with status 0, without asking
  // any window to close: the other threads may be anywhere, and the clean-up
  // code of COM and GDI+ at process detach could wait on them.
  void EndProcess() override;
};
