// The whole self-update, for real: a packed v1 in a temporary directory asks
// a loopback server, finds 1.02, downloads it, writes Launcher_update.bat,
// starts it and ends; cmd.exe renames the two programs and starts v2 under
// the old name; v2 removes the leftovers at its start.
// The check is the login window's, as in the product.
#include <gtest/gtest.h>

#include "launcher_driver.h"
#include "update_e2e.h"
#include "update/update_files.h"
#include "update/update_script.h"
#include "update_process_tree.h"
#include "update_test_server.h"
#include "win/text.h"

using testkit::Bytes;
using testkit::LauncherProcess;
using testkit::UpdateTestServer;
using testkit::FilesEndingWith;

namespace {

std::vector<std::string> Paths(const UpdateTestServer& server) {
  std::vector<std::string> paths;
  for (const auto& request : server.Requests()) paths.push_back(request.path);
  return paths;
}

struct FoundWindow {
  HWND hwnd = nullptr;
  DWORD processId = 0;
};

// A visible top-level window of any process with exactly this title.
FoundWindow WaitForWindowTitled(const std::string& title, DWORD timeoutMs) {
  FoundWindow window;
  testkit::PumpUntil(
      [&] {
        window.hwnd = FindWindowA(nullptr, title.c_str());
        return window.hwnd != nullptr && IsWindowVisible(window.hwnd);
      },
      timeoutMs);
  if (window.hwnd != nullptr) GetWindowThreadProcessId(window.hwnd, &window.processId);
  return window;
}

std::string ImagePath(HANDLE process) {
  char path[MAX_PATH] = {};
  DWORD size = sizeof path;
  if (!QueryFullProcessImageNameA(process, 0, path, &size)) return {};
  return std::string(path, size);
}

}  // namespace

TEST(UpdateCycle, TheLauncherIsReplacedAndTheNewOneRemovesTheLeftovers) {
  UpdateTestServer server;
  ASSERT_TRUE(server.Started());
  const Bytes v1 = testkit::PackedLauncher(testkit::LauncherExe(), "1.01", server.Port());
  const Bytes v2 = testkit::PackedLauncher(testkit::LauncherExe(), "1.02", server.Port());
  server.Serve("/static/version.txt", {200, testkit::ToBytes("1.02\r\n")});
  server.Serve("/static/Launcher_new.exe", {200, v2});

  const auto launcher = testkit::StartLauncherAs(v1, "Launcher.exe");
  ASSERT_TRUE(launcher->Started());
  EXPECT_EQ(launcher->WaitForExit(30000), 0u);
  const testkit::TempDir& dir = launcher->ProgramDir();
  // v2 has started when the downloaded file has taken the program's name
  // (the script's second rename) and the old program is gone again after the
  // first (only v2's start-up deletes it). Only names are watched, since a
  // file held open here could not be renamed there.
  const bool started = testkit::PumpUntil(
      [&] { return FilesEndingWith(dir, "Launcher_new.exe").empty() && !dir.Exists(kBackupExeName); }, 30000);
  // The script is deleted too, but the interpreter that runs it holds it
  // open until v2 ends, so it goes only with them.
  testkit::EndProcessesStartedBy(launcher->Id());
  EXPECT_TRUE(started);
  EXPECT_FALSE(dir.Exists(kUpdateScriptName));
  EXPECT_EQ(testkit::ReadFileBytes(dir.File("Launcher.exe")), v2);
  // v1 asked for the version and the launcher; v2, up to date, may have
  // made its own version check before it was ended.
  std::vector<std::string> paths = Paths(server);
  if (paths.size() == 3 && paths[2] == "/static/version.txt") paths.pop_back();
  EXPECT_EQ(paths, (std::vector<std::string>{"/static/version.txt", "/static/Launcher_new.exe"}));
  EXPECT_TRUE(FilesEndingWith(dir, "version.txt").empty());
  EXPECT_TRUE(FilesEndingWith(dir, "Launcher_new.exe").empty());
}

class UpdateCycleNamed : public ::testing::TestWithParam<const char*> {};

TEST_P(UpdateCycleNamed, TheNewVersionRunsUnderTheOldName) {
  const std::string exeName = GetParam();
  UpdateTestServer server;
  ASSERT_TRUE(server.Started());
  const Bytes v1 = testkit::PackedLauncher(testkit::LauncherExe(), "1.01", server.Port());
  const Bytes v2 = testkit::PackedLauncher(testkit::LauncherExe(), "1.02", server.Port());
  server.Serve("/static/version.txt", {200, testkit::ToBytes("1.02\r\n")});
  server.Serve("/static/Launcher_new.exe", {200, v2});

  const auto launcher = testkit::StartLauncherAs(v1, exeName);
  ASSERT_TRUE(launcher->Started());
  EXPECT_EQ(launcher->WaitForExit(30000), 0u);
  // The script as v1 left it, read while the interpreter waits its second
  // before the renames: v2 deletes it at its start.
  const Bytes scriptBytes = testkit::ReadFileBytes(launcher->ProgramDir().File(kUpdateScriptName));
  const FoundWindow v2Window = WaitForWindowTitled("Launcher 1.02", 30000);
  HANDLE v2Process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, v2Window.processId);
  // v2 makes its own check, finds itself up to date and stays.
  const bool checkedAgain = testkit::PumpUntil([&] { return server.Requests().size() == 3; }, 30000);
  const std::string runningImage = v2Process != nullptr ? ImagePath(v2Process) : "";
  if (v2Process != nullptr) CloseHandle(v2Process);
  testkit::EndProcessesStartedBy(launcher->Id());

  const testkit::TempDir& dir = launcher->ProgramDir();
  const std::string programPath = dir.File(exeName);
  ASSERT_NE(v2Window.hwnd, nullptr) << "v2 never showed its window";
  EXPECT_EQ(runningImage, programPath);
  EXPECT_TRUE(checkedAgain);
  EXPECT_EQ(testkit::ReadFileBytes(programPath), v2);
  EXPECT_FALSE(dir.Exists(kBackupExeName));  // v2 removed both leftovers at its start
  EXPECT_FALSE(dir.Exists(kUpdateScriptName));
  EXPECT_TRUE(FilesEndingWith(dir, "Launcher_new.exe").empty());
  EXPECT_EQ(Paths(server),
            (std::vector<std::string>{"/static/version.txt", "/static/Launcher_new.exe", "/static/version.txt"}));
  for (const auto& request : server.Requests())
    EXPECT_EQ(request.userAgent, exeName.substr(0, exeName.size() - 4));  // the name without ".exe"

  // The downloaded file's name carries v1's tick count, so it is read back
  // from the script's third line.
  const std::string script(scriptBytes.begin(), scriptBytes.end());
  const std::size_t nameEnd = script.find("Launcher_new.exe\"");
  const std::size_t nameStart = script.rfind("\\\\", nameEnd);
  ASSERT_NE(nameEnd, std::string::npos);
  ASSERT_NE(nameStart, std::string::npos);
  const std::string downloaded = script.substr(nameStart + 2, nameEnd - nameStart - 2) + "Launcher_new.exe";
  EXPECT_EQ(script, BuildUpdateScript(programPath, dir.File(downloaded), win::IsSystemLeadByte));
}

INSTANTIATE_TEST_SUITE_P(Names, UpdateCycleNamed,
                         ::testing::Values("Launcher.exe", "My Game 100%.exe",
                                           "\xB1\x5C game.exe"),  // 盶: its trail byte is a backslash
                         [](const auto& info) { return std::to_string(info.index); });
