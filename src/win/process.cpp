#include "win/process.h"

#include "common/paths.h"
#include "win/text.h"

namespace win {

namespace {

// `path` in its long form, as UTF-8; as it is when it has none that fits.
std::string InLongForm(const wchar_t* path, DWORD length) {
  wchar_t longPath[kMaxPath] = {};
  const DWORD longLength = GetLongPathNameW(path, longPath, kMaxPath);
  if (longLength > 0 && longLength < kMaxPath) return Utf8FromWide({longPath, longLength});
  return Utf8FromWide({path, length});
}

}  // namespace

std::optional<std::string> ProgramPath() {
  wchar_t path[kMaxPath] = {};
  const DWORD length = GetModuleFileNameW(nullptr, path, kMaxPath);
  if (length == 0 || length >= kMaxPath) return std::nullopt;
  return InLongForm(path, length);
}

std::optional<std::string> WorkingDirectory() {
  wchar_t directory[kMaxPath] = {};
  const DWORD length = GetCurrentDirectoryW(kMaxPath, directory);
  if (length == 0 || length >= kMaxPath) return std::nullopt;
  return InLongForm(directory, length);
}

UniqueHandle StartProcess(const std::string& application, const std::string& commandLine, DWORD creationFlags,
                          WORD showWindow, const std::string& directory) {
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  if (showWindow != SW_SHOWDEFAULT) {
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = showWindow;
  }
  const std::wstring program = WideFromUtf8(application);
  const std::wstring folder = WideFromUtf8(directory);
  std::wstring line = WideFromUtf8(commandLine);
  if (line.empty()) return {};
  PROCESS_INFORMATION process{};
  if (!CreateProcessW(program.empty() ? nullptr : program.c_str(), line.data(), nullptr, nullptr, FALSE, creationFlags,
                      nullptr, folder.empty() ? nullptr : folder.c_str(), &startup, &process))
    return {};
  UniqueHandle thread(process.hThread);
  return UniqueHandle(process.hProcess);
}

UniqueHandle StartProgram(const std::string& path) { return StartProcess(path, "\"" + path + "\""); }

}  // namespace win
