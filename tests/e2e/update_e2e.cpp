#include "update_e2e.h"

#include "png_writer.h"

namespace testkit {

Bytes PackedLauncher(const Bytes& program, const std::string& version, int port) {
  const std::string config =
      MinimalConfig("title=Launcher " + version + "\r\nversion=" + version + "\r\nserver=127.0.0.1\r\nport=" +
                    std::to_string(port) + "\r\nversionUrl=/static/version.txt\r\nexeUrl=/static/Launcher_new.exe\r\n");
  return Concat({program, LauncherPackage(config)});
}

HeldCommand::HeldCommand(const std::string& command, bool runsTheRealOneFirst) : command_(command) {
  copied_ = CopyFileA(WinePath(HOLD_EXE).c_str(), dir_.File(command).c_str(), FALSE) != 0;
  if (runsTheRealOneFirst) copied_ = copied_ && dir_.Write(command + ".real", {});
  char path[32767] = {};
  const DWORD length = GetEnvironmentVariableA("PATH", path, sizeof path);
  oldPath_ = std::string(path, length < sizeof path ? length : 0);
  SetEnvironmentVariableA("PATH", (dir_.Path() + ";" + oldPath_).c_str());
}

HeldCommand::~HeldCommand() {
  SetEnvironmentVariableA("PATH", oldPath_.c_str());
  Release();
}

bool HeldCommand::WaitUntilHeld() const {
  return PumpUntil([&] { return dir_.Exists(command_ + ".held"); }, 30000);
}

void HeldCommand::Release() const { dir_.Write(command_ + ".go", {}); }

std::string HeldCommand::Given() const {
  const Bytes given = ReadFileBytes(dir_.File(command_ + ".given"));
  return std::string(given.begin(), given.end());
}

std::unique_ptr<LauncherProcess> StartLauncherAs(const Bytes& program, const std::string& exeName,
                                                 LaunchOptions options) {
  options.program = program;
  options.exeName = exeName;
  return std::make_unique<LauncherProcess>(Bytes{}, std::move(options));
}

std::vector<std::string> FilesEndingWith(const TempDir& dir, const std::string& suffix) {
  std::vector<std::string> names;
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA(dir.File("*").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return names;
  do {
    const std::string name = found.cFileName;
    if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) continue;
    if (name.size() >= suffix.size() && name.compare(name.size() - suffix.size(), suffix.size(), suffix) == 0)
      names.push_back(name);
  } while (FindNextFileA(search, &found));
  FindClose(search);
  return names;
}

Route Text(const std::string& body, int status) {
  Route route;
  route.status = status;
  route.body = ToBytes(body);
  return route;
}

Route Program(const Bytes& program) {
  Route route;
  route.body = program;
  return route;
}

std::size_t RequestsFor(const UpdateTestServer& server, const std::string& path) {
  std::size_t count = 0;
  for (const auto& request : server.Requests()) count += request.path == path;
  return count;
}

HWND IdleLoginWindow(LauncherProcess& launcher, const std::string& title) {
  const HWND window =
      launcher.WaitForWindow([&](HWND w) { return WindowText(w) == title && GetWindow(w, GW_OWNER) == nullptr; });
  return window != nullptr && launcher.WaitUntilIdle(window) ? window : nullptr;
}

HWND WaitForWindowTitled(const std::string& title, DWORD timeoutMs) {
  HWND window = nullptr;
  const bool shown = PumpUntil(
      [&] {
        window = FindWindowA(nullptr, title.c_str());
        return window != nullptr && IsWindowVisible(window);
      },
      timeoutMs);
  return shown ? window : nullptr;
}

std::vector<std::string> Leftovers(const LauncherProcess& launcher) {
  std::vector<std::string> names = FilesEndingWith(launcher.ProgramDir(), "");
  std::erase(names, "Launcher.exe");
  if (&launcher.WorkDir() != &launcher.ProgramDir())
    for (const std::string& name : FilesEndingWith(launcher.WorkDir(), "")) names.push_back("work\\" + name);
  return names;
}

}  // namespace testkit
