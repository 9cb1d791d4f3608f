// The whole check over WinINet and the real file system, against a loopback
// server; only ending the process is recorded instead of done.
#include "update/update_check.h"

#include <gtest/gtest.h>

#include "launcher_driver.h"
#include "package/package_images_win.h"
#include "png_writer.h"
#include "update/file_system_win.h"
#include "update/internet_client_win.h"
#include "update/system_process_win.h"
#include "update_test_server.h"
#include "win/process.h"
#include "win/text.h"
#include "zip_builder.h"

using testkit::Bytes;
using testkit::Route;
using testkit::UpdateTestServer;

namespace {

// The real process, except that the script is not started, the process does
// not end, and the program runs from the test's directory, which is also
// the working directory (an update replaces nothing elsewhere).
class RecordingProcess : public SystemProcess {
 public:
  explicit RecordingProcess(std::string directory) : directory_(std::move(directory)) {}
  std::uint32_t TickCount() override { return 917; }
  std::optional<std::uint64_t> UnguessableNumber() override { return 0x00c0ffee12345678; }
  std::optional<std::string> CurrentDirectory() override { return directory_; }
  std::optional<std::string> ProgramPath() override { return directory_ + "\\Launcher.exe"; }
  bool RunScript(const std::string& directory, const std::string& scriptName) override {
    startedScript = directory + "\\" + scriptName;
    return true;
  }
  bool BeginEnding() override { return true; }
  void CancelEnding() override {}
  void EndProcess() override { ended = true; }

  std::string startedScript;
  bool ended = false;

 private:
  std::string directory_;
};

// A newer launcher that checks for updates too, with the login background
// given.
Bytes NewLauncher(std::optional<std::string> background = std::nullopt) {
  const std::string config = testkit::MinimalConfig(
      "version=1.02\r\nserver=127.0.0.1\r\nversionUrl=/static/version.txt\r\nexeUrl=/static/Launcher_new.exe\r\n");
  if (!background) return testkit::Concat({testkit::LauncherExe(), testkit::LauncherPackage(config)});
  return testkit::Concat(
      {testkit::LauncherExe(),
       testkit::ZipBuilder().Add("config/cg.txt", config).Add("config/main1.png", *background).Build()});
}

// The names this check gives its files.
constexpr char kVersionFile[] = "917-00c0ffee12345678-version.txt";
constexpr char kLauncherFile[] = "917-00c0ffee12345678-Launcher_new.exe";

class UpdateCheckOverWinInet : public ::testing::Test {
 protected:
  std::optional<UpdateResult> Run() {
    testkit::StartGdiplus();  // as start-up does before any check
    UpdateSettings settings{"/static/version.txt", "/static/Launcher_new.exe", "127.0.0.1", "1.01", server.Port(),
                            workDir.Path(), ""};
    WinInetClient http(win::ProgramFileTitle());
    Win32FileSystem files;
    UpdateEnvironment env{http, files, process, NoLeadBytes, win::Utf8FromGbk, PictureDecodes};
    return RunUpdateCheck(&settings, env);
  }
  std::vector<std::string> Paths() const {
    std::vector<std::string> paths;
    for (const auto& request : server.Requests()) paths.push_back(request.path);
    return paths;
  }

  UpdateTestServer server;
  testkit::TempDir workDir;
  RecordingProcess process{workDir.Path()};
};

}  // namespace

TEST_F(UpdateCheckOverWinInet, UpToDateRemovesTheVersionFile) {
  ASSERT_TRUE(server.Started());
  server.Serve("/static/version.txt", {200, testkit::ToBytes("1.01\r\n")});
  EXPECT_EQ(Run(), UpdateResult::UpToDate);
  EXPECT_FALSE(workDir.Exists(kVersionFile));
  EXPECT_EQ(Paths(), std::vector<std::string>{"/static/version.txt"});
  EXPECT_FALSE(process.ended);
}

TEST_F(UpdateCheckOverWinInet, ANewerVersionDownloadsTheLauncherAndWritesTheScript) {
  ASSERT_TRUE(server.Started());
  const Bytes launcher = NewLauncher();
  server.Serve("/static/version.txt", {200, testkit::ToBytes("1.02\r\n")});
  server.Serve("/static/Launcher_new.exe", {200, launcher});
  EXPECT_EQ(Run(), std::nullopt);
  EXPECT_FALSE(workDir.Exists(kVersionFile));
  EXPECT_EQ(testkit::ReadFileBytes(workDir.File(kLauncherFile)), launcher);

  const std::string scriptPath = workDir.File("Launcher_update.bat");
  EXPECT_EQ(process.startedScript, scriptPath);
  EXPECT_TRUE(process.ended);
  // On disk: the four lines exactly, each with carriage return and line
  // feed, as the script's own test spells them for C:\Games, here for this
  // directory, whose backslashes the script doubles like any other.
  std::string dir;
  for (const char c : workDir.Path()) {
    ASSERT_TRUE(static_cast<unsigned char>(c) < 0x80 && c != '%') << "a directory the literal below does not spell";
    dir += c == '\\' ? std::string("\\\\") : std::string(1, c);
  }
  // A file of this directory, quoted, as the script names it.
  const auto named = [&](const std::string& name) { return "\"" + dir + "\\\\" + name + "\""; };
  std::string expected = "@ping 127.0.0.1 -n 2 -w 1000 > nul \r\n";
  expected += "move /y " + named(kLauncherFile) + " " + named("Launcher.exe") + " || attrib -r " +
              named("Launcher.exe") + "\r\n";
  expected += "if exist " + named(kLauncherFile) + " move /y " + named(kLauncherFile) + " " + named("Launcher.exe") +
              "\r\n";
  expected += named("Launcher.exe") + "\r\n";
  const Bytes onDisk = testkit::ReadFileBytes(scriptPath);
  EXPECT_EQ(std::string(onDisk.begin(), onDisk.end()), expected);
}

TEST_F(UpdateCheckOverWinInet, WhatCannotBeALauncherNeverReplacesThisOne) {
  ASSERT_TRUE(server.Started());
  const Bytes launcher = NewLauncher();
  struct Case {
    const char* what;
    Route route;
    bool emptyFileLeft;
  } cases[] = {
      {"an HTML page with status 200",
       {200, testkit::ToBytes("<html><body>Welcome to the hotel network</body></html>")},
       false},
      {"an empty 200", {200, {}}, false},
      {"a launcher cut short", {200, launcher, std::nullopt, launcher.size() / 2}, false},
      {"404", {404, testkit::ToBytes("<html>not found</html>")}, true},
      // Its header sound, its pixels' data damaged: GDI+, which the
      // launcher draws with, does not decode it.
      {"a launcher whose login background does not decode",
       {200, NewLauncher([] {
          const Bytes png = testkit::RgbaPng(40, 30, [](int, int) { return 0xFF808080u; });
          std::string damaged(png.begin(), png.end());
          const std::size_t data = damaged.find("IDAT") + 4;
          for (std::size_t i = data; i < data + 12 && i < damaged.size(); ++i) damaged[i] = '\xFF';
          return damaged;
        }())},
       false},
      {"500", {500, testkit::ToBytes("<html>error</html>")}, true},
  };
  server.Serve("/static/version.txt", {200, testkit::ToBytes("1.02")});
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    server.Serve("/static/Launcher_new.exe", c.route);
    EXPECT_EQ(Run(), UpdateResult::LauncherDownloadFailed);
    EXPECT_FALSE(workDir.Exists(kVersionFile));
    EXPECT_EQ(workDir.Exists(kLauncherFile), c.emptyFileLeft);
    if (c.emptyFileLeft) { EXPECT_TRUE(testkit::ReadFileBytes(workDir.File(kLauncherFile)).empty()); }
    DeleteFileA(workDir.File(kLauncherFile).c_str());
    DeleteFileA(workDir.File(kVersionFile).c_str());
    EXPECT_FALSE(workDir.Exists("Launcher_update.bat"));
    EXPECT_FALSE(process.ended);
  }
}

TEST_F(UpdateCheckOverWinInet, AVersionFileOf404LeavesItsEmptyFile) {
  ASSERT_TRUE(server.Started());
  EXPECT_EQ(Run(), UpdateResult::VersionDownloadFailed);  // nothing is served: 404
  EXPECT_TRUE(workDir.Exists(kVersionFile));
  EXPECT_TRUE(testkit::ReadFileBytes(workDir.File(kVersionFile)).empty());
}

// Another launcher is one that runs the program file this check would
// replace, whichever program runs the check: two copies of a test program
// (tests run side by side) are not each other's launcher, while a program
// started from the check's program path is.
TEST_F(UpdateCheckOverWinInet, AnotherLauncherIsOneRunningTheProgramFileOfTheCheck) {
  const auto start = [](const std::string& program) {
    std::string commandLine = "\"" + program + "\"";
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION started{};
    if (!CreateProcessA(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, CREATE_SUSPENDED, nullptr,
                        nullptr, &startup, &started))
      return win::UniqueHandle();
    CloseHandle(started.hThread);
    return win::UniqueHandle(started.hProcess);
  };
  const auto end = [](const win::UniqueHandle& process) {
    TerminateProcess(process.Get(), 1);
    EXPECT_EQ(WaitForSingleObject(process.Get(), 10000), WAIT_OBJECT_0);
  };
  ASSERT_FALSE(process.ProgramRunsElsewhere());

  const win::UniqueHandle copyOfThisProgram = start(win::ProgramPath().value_or(""));
  ASSERT_TRUE(copyOfThisProgram);
  EXPECT_FALSE(process.ProgramRunsElsewhere());
  end(copyOfThisProgram);

  ASSERT_TRUE(CopyFileA(testkit::WinePath(MARK_EXE).c_str(), workDir.File("Launcher.exe").c_str(), FALSE));
  const win::UniqueHandle launcher = start(workDir.File("Launcher.exe"));
  ASSERT_TRUE(launcher);
  EXPECT_TRUE(process.ProgramRunsElsewhere());
  end(launcher);
}
