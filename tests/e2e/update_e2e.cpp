#include "update_e2e.h"

namespace testkit {

Bytes PackedLauncher(const Bytes& program, const std::string& version, int port) {
  const std::string config =
      MinimalConfig("title=Launcher " + version + "\r\nversion=" + version + "\r\nserver=127.0.0.1\r\nport=" +
                    std::to_string(port) + "\r\nversionUrl=/static/version.txt\r\nexeUrl=/static/Launcher_new.exe\r\n");
  return Concat({program, ZipBuilder()
                              .Add("config/cg.txt", config)
                              .Add("config/main1.png", std::string("\x89PNG\r\n\x1a\n"))
                              .Build()});
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

}  // namespace testkit
