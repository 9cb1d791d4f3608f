#include "update/system_process_win.h"

#include <windows.h>

#include "win/process.h"

std::uint32_t SystemProcess::TickCount() { return GetTickCount(); }

std::optional<std::string> SystemProcess::CurrentDirectory() { return win::WorkingDirectory(); }

std::optional<std::string> SystemProcess::ProgramPath() { return win::ProgramPath(); }

bool SystemProcess::StartHiddenScript(const std::string& scriptPath) {
  return static_cast<bool>(win::StartProcess(nullptr, "\"" + scriptPath + "\"", IDLE_PRIORITY_CLASS, SW_HIDE));
}

void SystemProcess::EndProcess() {
  TerminateProcess(GetCurrentProcess(), 0);
  ExitProcess(0);  // only if the system refused the above
}
