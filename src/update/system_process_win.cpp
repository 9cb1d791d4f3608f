#include "update/system_process_win.h"

#include <windows.h>

#include "update/update_files.h"

std::uint32_t SystemProcess::TickCount() { return GetTickCount(); }

std::optional<std::string> SystemProcess::CurrentDirectory() {
  char directory[kMaxPath] = {};
  const DWORD length = GetCurrentDirectoryA(sizeof directory, directory);
  if (length == 0 || length >= sizeof directory) return std::nullopt;
  return std::string(directory, length);
}

std::optional<std::string> SystemProcess::ProgramPath() {
  char path[kMaxPath] = {};
  const DWORD length = GetModuleFileNameA(nullptr, path, sizeof path);
  if (length == 0 || length >= sizeof path) return std::nullopt;
  return std::string(path, length);
}

bool SystemProcess::StartHiddenScript(const std::string& scriptPath) {
  std::string commandLine = "\"" + scriptPath + "\"";
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  static_assert(sizeof(void*) != 4 || sizeof(STARTUPINFOA) == 68, "the 32-bit start-up record");
  startup.dwFlags = STARTF_USESHOWWINDOW;
  startup.wShowWindow = SW_HIDE;
  PROCESS_INFORMATION info{};
  if (!CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, FALSE, IDLE_PRIORITY_CLASS, nullptr, nullptr,
                      &startup, &info))
    return false;
  CloseHandle(info.hThread);
  CloseHandle(info.hProcess);
  return true;
}

void SystemProcess::EndProcess() {
  TerminateProcess(GetCurrentProcess(), 0);
  ExitProcess(0);  // only if the system refused the above
}
