#include "win/process.h"

#include "common/paths.h"

namespace win {

std::optional<std::string> ProgramPath() {
  char path[kMaxPath] = {};
  const DWORD length = GetModuleFileNameA(nullptr, path, sizeof path);
  if (length == 0 || length >= sizeof path) return std::nullopt;
  return std::string(path, length);
}

std::optional<std::string> WorkingDirectory() {
  char directory[kMaxPath] = {};
  const DWORD length = GetCurrentDirectoryA(sizeof directory, directory);
  if (length == 0 || length >= sizeof directory) return std::nullopt;
  return std::string(directory, length);
}

UniqueHandle StartProcess(const char* application, std::string commandLine, DWORD creationFlags, WORD showWindow) {
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  if (showWindow != SW_SHOWDEFAULT) {
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = showWindow;
  }
  PROCESS_INFORMATION process{};
  if (!CreateProcessA(application, commandLine.data(), nullptr, nullptr, FALSE, creationFlags, nullptr, nullptr,
                      &startup, &process))
    return {};
  UniqueHandle thread(process.hThread);
  return UniqueHandle(process.hProcess);
}

UniqueHandle StartProgram(const char* path) { return StartProcess(path, std::string("\"") + path + "\""); }

}  // namespace win
