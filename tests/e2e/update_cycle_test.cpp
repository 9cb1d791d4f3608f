// The whole self-update, for real: a packed v1 in a temporary directory asks
// a loopback server, finds 1.02, downloads it, writes Launcher_update.bat,
// starts it and ends; cmd.exe moves v2 over the old program in one step and
// starts v2 under the old name; v2 removes the script at its start and, in
// that run, asks the server nothing. The check is the login window's, as in
// the product.
#include <gtest/gtest.h>

#include "debug_output.h"
#include "launcher_driver.h"
#include "update_e2e.h"
#include "update_process_tree.h"
#include "update_test_server.h"

using testkit::Bytes;
using testkit::FilesEndingWith;
using testkit::UpdateTestServer;

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

class UpdateCycle : public ::testing::TestWithParam<const char*> {};

TEST_P(UpdateCycle, TheNewVersionRunsUnderTheOldNameAndRemovesTheLeftovers) {
  const std::string exeName = GetParam();
  testkit::DebugOutput debug;
  ASSERT_TRUE(debug.Listening()) << "another program reads the debug output";
  UpdateTestServer server;
  ASSERT_TRUE(server.Started());
  const Bytes v1 = testkit::PackedLauncher(testkit::LauncherExe(), "1.01", server.Port());
  const Bytes v2 = testkit::PackedLauncher(testkit::LauncherExe(), "1.02", server.Port());
  server.Serve("/static/version.txt", {200, testkit::ToBytes("1.02\r\n")});
  server.Serve("/static/Launcher_new.exe", {200, v2});

  const auto launcher = testkit::StartLauncherAs(v1, exeName);
  ASSERT_TRUE(launcher->Started());
  EXPECT_EQ(launcher->WaitForExit(30000), 0u);
  // The script itself is not read here: the interpreter has it open until
  // v2 ends. Its bytes are pinned where it is written without being run.
  const FoundWindow v2Window = WaitForWindowTitled("Launcher 1.02", 30000);
  HANDLE v2Process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, v2Window.processId);
  // v2's check only sweeps, in the run after the update.
  const auto report = debug.WaitForLine(v2Window.processId, testkit::kUpdateReport);
  const bool idle =
      v2Window.hwnd != nullptr && SendMessageTimeoutA(v2Window.hwnd, WM_NULL, 0, 0, SMTO_NORMAL, 30000, nullptr);
  const std::string runningImage = v2Process != nullptr ? ImagePath(v2Process) : "";
  // Started by the idle-class script, it runs at the normal class. (Wine
  // gives a program neither the class it is created with nor its parent's,
  // so there this holds anyway; LeaveIdlePriority's own test shows the rule.)
  const DWORD priorityClass = v2Process != nullptr ? GetPriorityClass(v2Process) : 0;
  if (v2Process != nullptr) CloseHandle(v2Process);
  // The script is removed by v2's start-up too, but the interpreter that
  // runs it holds it open until v2 ends, so it goes only with them.
  EXPECT_TRUE(testkit::EndProcessesStartedBy(launcher->Id()));

  const testkit::TempDir& dir = launcher->ProgramDir();
  const std::string programPath = dir.File(exeName);
  ASSERT_NE(v2Window.hwnd, nullptr) << "v2 never showed its window";
  EXPECT_EQ(runningImage, programPath);
  EXPECT_TRUE(idle);
  EXPECT_EQ(report, "Launcher update: 10014 CheckSkipped");
  EXPECT_EQ(priorityClass, static_cast<DWORD>(NORMAL_PRIORITY_CLASS));
  EXPECT_EQ(testkit::ReadFileBytes(programPath), v2);
  // v2's start-up removed the script (gone once its interpreter let go),
  // and the move left no download: the program alone is left.
  EXPECT_TRUE(testkit::PumpUntil([&] { return FilesEndingWith(dir, "") == std::vector<std::string>{exeName}; }, 10000))
      << testing::PrintToString(FilesEndingWith(dir, ""));
  // v1 asked for the version and the launcher; v2, in the run after the
  // update, nothing.
  EXPECT_EQ(Paths(server), (std::vector<std::string>{"/static/version.txt", "/static/Launcher_new.exe"}));
  for (const auto& request : server.Requests())
    EXPECT_EQ(request.userAgent, exeName.substr(0, exeName.size() - 4));  // the name without ".exe"
}

INSTANTIATE_TEST_SUITE_P(Names, UpdateCycle,
                         ::testing::Values("Launcher.exe", "My Game 100%.exe",
                                           "\xB1\x5C game.exe"),  // 盶: its trail byte is a backslash
                         [](const auto& info) { return std::to_string(info.index); });
