// An update that arrives while the game is played, end to end: the login
// page hands the game over before the new launcher has come down (a slow
// line), and the launcher never ends, nor replaces itself under, the game
// window. What it fetched and checked waits in the program's folder; the
// next start installs it before any window shows.
#include <gtest/gtest.h>

#include "debug_output.h"
#include "game_driver.h"
#include "update_e2e.h"
#include "update_process_tree.h"
#include "update_test_server.h"

using testkit::Bytes;
using testkit::kExePath;
using testkit::kVersionPath;
using testkit::RequestsFor;

TEST(UpdateDuringTheGame, WaitsForTheNextStartAndInstallsBeforeAnyWindow) {
  testkit::DebugOutput debug;
  ASSERT_TRUE(debug.Listening()) << "another program reads the debug output";
  testkit::UpdateTestServer server;
  ASSERT_TRUE(server.Started());
  const Bytes v2 = testkit::PackedLauncher(testkit::LauncherExe(), "1.02", server.Port());
  server.Serve(kVersionPath, testkit::Text("1.02\r\n"));
  testkit::Route held = testkit::Program(v2);
  held.heldUntilReleased = true;  // a slow line: it comes once the game is on
  server.Serve(kExePath, held);

  // The login page's first address hands the game over at once.
  testkit::GameSkinOptions v1;
  v1.firstUrl = "";
  v1.loginUrl = "test-game-header|http://127.0.0.1:9/game.html";
  v1.extraGlobal = "version=1.01\r\nserver=127.0.0.1\r\nport=" + std::to_string(server.Port()) +
                   "\r\nversionUrl=" + kVersionPath + "\r\nexeUrl=" + kExePath + "\r\n";
  testkit::GameLauncher game(v1);
  ASSERT_NE(game.window, nullptr) << game.launcher.Describe();
  ASSERT_TRUE(server.WaitForRequest(kExePath, 30000));
  server.Release(kExePath);

  // The check is over: the game window is still there, the launcher too.
  const auto report = debug.WaitForLine(game.launcher.Id(), testkit::kUpdateReport);
  EXPECT_EQ(report, "Launcher update: 10016 KeptForNextStart");
  EXPECT_FALSE(game.launcher.WaitForExit(0).has_value()) << "the launcher ended under the game";
  EXPECT_TRUE(IsWindowVisible(game.window));
  EXPECT_TRUE(game.Idle());
  const testkit::TempDir& dir = game.launcher.ProgramDir();
  EXPECT_EQ(testkit::ReadFileBytes(dir.File("Launcher_next.exe")), v2);
  const Bytes v1Program = testkit::ReadFileBytes(dir.File("Launcher.exe"));
  EXPECT_NE(v1Program, v2);
  game.launcher.Kill();  // the player closes the game

  // The next start installs it before any window, asking the server nothing.
  ASSERT_TRUE(game.launcher.StartAgain());
  const auto installing = debug.WaitForLine(game.launcher.Id(), testkit::kUpdateReportAtStart);
  EXPECT_EQ(installing, "Launcher update at start: replacing");
  EXPECT_EQ(game.launcher.WaitForExit(30000), 0u);
  EXPECT_TRUE(game.launcher.Windows(false).empty()) << "a window of the old launcher showed";
  const HWND v2Window = testkit::WaitForWindowTitled("Launcher 1.02");
  EXPECT_TRUE(testkit::EndProcessesStartedBy(game.launcher.Id()));
  EXPECT_TRUE(testkit::EndProcessesRunningFrom(dir.Path()));
  EXPECT_NE(v2Window, nullptr) << "v2 never started";
  EXPECT_EQ(testkit::ReadFileBytes(dir.File("Launcher.exe")), v2);
  EXPECT_EQ(RequestsFor(server, kExePath), 1u);
  EXPECT_EQ(RequestsFor(server, kVersionPath), 1u);
  EXPECT_TRUE(testkit::PumpUntil([&] { return testkit::Leftovers(game.launcher).empty(); }, 10000))
      << "left: " << testing::PrintToString(testkit::Leftovers(game.launcher));
}
