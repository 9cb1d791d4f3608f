#include "update/system_process_win.h"

#include <windows.h>
// After windows.h, which it needs.
#include <tlhelp32.h>

#include "common/paths.h"
#include "win/handles.h"
#include "win/process.h"

std::uint32_t SystemProcess::TickCount() { return GetTickCount(); }

std::optional<std::string> SystemProcess::CurrentDirectory() { return win::WorkingDirectory(); }

std::optional<std::string> SystemProcess::ProgramPath() { return win::ProgramPath(); }

bool SystemProcess::ProgramRunsElsewhere() {
  const auto own = win::ProgramPath();
  if (!own) return false;
  win::UniqueHandle snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
  if (!snapshot) return false;
  PROCESSENTRY32 entry{};
  entry.dwSize = sizeof entry;
  const DWORD self = GetCurrentProcessId();
  for (BOOL more = Process32First(snapshot.Get(), &entry); more; more = Process32Next(snapshot.Get(), &entry)) {
    if (entry.th32ProcessID == self || entry.th32ProcessID == 0) continue;
    win::UniqueHandle process(OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, entry.th32ProcessID));
    if (!process) continue;
    char path[kMaxPath + 1] = {};
    DWORD length = sizeof path;
    if (QueryFullProcessImageNameA(process.Get(), 0, path, &length) && lstrcmpiA(path, own->c_str()) == 0) return true;
  }
  return false;
}

bool SystemProcess::StartHiddenScript(const std::string& scriptPath) {
  return static_cast<bool>(win::StartProcess(nullptr, "\"" + scriptPath + "\"", IDLE_PRIORITY_CLASS, SW_HIDE));
}

void SystemProcess::EndProcess() {
  TerminateProcess(GetCurrentProcess(), 0);
  ExitProcess(0);  // only if the system refused the above
}
