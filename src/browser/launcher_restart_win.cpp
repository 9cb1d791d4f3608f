#include "browser/launcher_restart_win.h"

#include <string>

#include "update/update_files.h"

win::UniqueHandle StartProgram(const char* path) {
  std::string commandLine = std::string("\"") + path + "\"";
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  if (!CreateProcessA(path, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process))
    return {};
  CloseHandle(process.hThread);
  return win::UniqueHandle(process.hProcess);
}

bool StartNewLauncherInstance() {
  char path[kMaxPath] = {};
  const DWORD length = GetModuleFileNameA(nullptr, path, sizeof path);
  if (length == 0 || length >= sizeof path) return false;
  return static_cast<bool>(StartProgram(path));
}
