// The self-update when something goes wrong, end to end: whatever the server
// answers, and wherever the launcher is stopped, the program file stays as
// it was, the launcher that runs stays usable, and what a check leaves
// behind is gone once the launcher has started again.
#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "debug_output.h"
#include "launcher_driver.h"
#include "update/update_files.h"
#include "update_e2e.h"
#include "update_process_tree.h"
#include "update_test_server.h"

using testkit::Bytes;
using testkit::FilesEndingWith;
using testkit::IdleLoginWindow;
using testkit::kExePath;
using testkit::kVersionPath;
using testkit::Leftovers;
using testkit::Program;
using testkit::RequestsFor;
using testkit::Text;
using testkit::WaitForWindowTitled;
using testkit::LauncherProcess;
using testkit::Route;
using testkit::UpdateTestServer;

namespace {

std::uint64_t FileSize(const testkit::TempDir& dir, const std::string& name) {
  WIN32_FILE_ATTRIBUTE_DATA data{};
  if (!GetFileAttributesExA(dir.File(name).c_str(), GetFileExInfoStandard, &data)) return 0;
  return (static_cast<std::uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

// Starts the launcher in its directory again, as the player would, with the
// server saying it is up to date, and waits until a check has swept what the
// earlier ones left. A start that finds the update script of the previous
// run shows its window and sweeps but asks the server nothing (a refused
// replacement is tried once per start by the player, never in a loop); the
// start after it checks.
void ExpectACleanStartAgain(LauncherProcess& launcher, UpdateTestServer& server, const testkit::DebugOutput& debug,
                            const std::string& title = "Launcher 1.01") {
  server.Serve(kVersionPath, Text("1.01\r\n"));
  if (launcher.ProgramDir().Exists(kUpdateScriptName)) {
    const std::size_t asked = RequestsFor(server, kVersionPath);
    ASSERT_TRUE(launcher.StartAgain());
    const HWND window = IdleLoginWindow(launcher, title);
    ASSERT_NE(window, nullptr) << "no launcher starts after the update script: " << launcher.Describe();
    EXPECT_EQ(debug.WaitForLine(launcher.Id(), testkit::kUpdateReport), "Launcher update: 10014 CheckSkipped");
    EXPECT_TRUE(testkit::PumpUntil([&] { return !launcher.ProgramDir().Exists(kUpdateScriptName); }, 10000));
    PostMessageA(window, WM_SYSKEYDOWN, VK_F4, 1 << 29);
    EXPECT_EQ(launcher.WaitForExit(), 0u);
    EXPECT_EQ(RequestsFor(server, kVersionPath), asked) << "checked in the run after an update";
  }
  ASSERT_TRUE(launcher.StartAgain());
  ASSERT_NE(IdleLoginWindow(launcher, title), nullptr) << launcher.Describe();
  EXPECT_EQ(debug.WaitForLine(launcher.Id(), testkit::kUpdateReport), "Launcher update: 0 UpToDate");
  EXPECT_EQ(Leftovers(launcher), std::vector<std::string>{});
}

// v1 and the v2 that `server` offers it.
struct Offer {
  Bytes v1, v2;
};
Offer OfferTheNextVersion(UpdateTestServer& server) {
  Offer offer{testkit::PackedLauncher(testkit::LauncherExe(), "1.01", server.Port()),
              testkit::PackedLauncher(testkit::LauncherExe(), "1.02", server.Port())};
  server.Serve(kVersionPath, Text("1.02"));
  server.Serve(kExePath, Program(offer.v2));
  return offer;
}

struct Fault {
  const char* name;
  Route version;
  std::optional<Route> launcher;  // nothing: the server never gets that far
  bool refused = false;           // nothing listens on the port
  bool stalls = false;            // the user closes the launcher while it waits
  // What the check leaves until the next start: the files' endings, and
  // whether they are empty.
  std::vector<std::string> leaves{};
  bool leftEmpty = true;
};

void PrintTo(const Fault& fault, std::ostream* out) { *out << fault.name; }

class UpdateFault : public ::testing::TestWithParam<Fault> {};

}  // namespace

TEST_P(UpdateFault, LeavesAWorkingLauncherAndNoStrayFileAfterTheNextStart) {
  const Fault& fault = GetParam();
  testkit::DebugOutput debug;
  ASSERT_TRUE(debug.Listening()) << "another program reads the debug output";
  UpdateTestServer server;
  ASSERT_TRUE(server.Started());
  const int port = server.Port();
  if (fault.refused) {
    ASSERT_TRUE(server.Stop());
  }
  const Bytes v1 = testkit::PackedLauncher(testkit::LauncherExe(), "1.01", port);
  const Bytes v2 = testkit::PackedLauncher(testkit::LauncherExe(), "1.02", port);
  server.Serve(kVersionPath, fault.version);
  if (fault.launcher) server.Serve(kExePath, *fault.launcher);
  const auto launcher = testkit::StartLauncherAs(v1, "Launcher.exe");
  ASSERT_TRUE(launcher->Started());

  const HWND window = IdleLoginWindow(*launcher);
  ASSERT_NE(window, nullptr) << launcher->Describe();
  const char* last = fault.launcher ? kExePath : kVersionPath;
  if (!fault.refused) {
    ASSERT_TRUE(testkit::PumpUntil([&] { return RequestsFor(server, last) == 1; }, 30000)) << "never asked " << last;
  }
  if (fault.stalls) {
    // The request has come and will never be answered: the user gives up
    // and closes the launcher while the download waits on.
    PostMessageA(window, WM_SYSKEYDOWN, VK_F4, 1 << 29);
    EXPECT_EQ(launcher->WaitForExit(), 0u);
  } else {
    const auto settled = [&] {
      std::vector<std::string> endings;
      for (const std::string& name : Leftovers(*launcher))
        for (const std::string& ending : fault.leaves)
          if (name.ends_with(ending)) endings.push_back(ending);
      return endings == fault.leaves && endings.size() == Leftovers(*launcher).size();
    };
    // The check is over once the launcher reports how it ended; what it
    // left then is what stays until the next start.
    const auto report = debug.WaitForLine(launcher->Id(), testkit::kUpdateReport);
    ASSERT_TRUE(report.has_value()) << "the check never ended";
    EXPECT_NE(*report, "Launcher update: replacing");
    EXPECT_TRUE(settled()) << *report << ", left: " << testing::PrintToString(Leftovers(*launcher));
    for (const std::string& name : Leftovers(*launcher))
      EXPECT_EQ(FileSize(launcher->ProgramDir(), name) == 0, fault.leftEmpty) << name;
    // Still the same launcher, still answering, asked once.
    EXPECT_FALSE(launcher->WaitForExit(0).has_value());
    EXPECT_TRUE(IsWindowVisible(window));
    EXPECT_TRUE(launcher->WaitUntilIdle(window));
    EXPECT_EQ(RequestsFor(server, kVersionPath), fault.refused ? 0u : 1u);
    PostMessageA(window, WM_SYSKEYDOWN, VK_F4, 1 << 29);
    EXPECT_EQ(launcher->WaitForExit(), 0u);
  }
  EXPECT_TRUE(testkit::EndProcessesStartedBy(launcher->Id()));
  EXPECT_EQ(testkit::ReadFileBytes(launcher->ProgramDir().File("Launcher.exe")), v1);
  if (fault.refused) return;  // nothing was left, and no server to ask again
  ExpectACleanStartAgain(*launcher, server, debug);
}

namespace {

Bytes V2() { return testkit::PackedLauncher(testkit::LauncherExe(), "1.02", 1); }

Route CutShort(Bytes body) {
  Route route = Program(body);
  route.sentBytes = body.size() / 2;
  return route;
}

Route Stalled() {
  Route route;
  route.stall = true;
  return route;
}

}  // namespace

INSTANTIATE_TEST_SUITE_P(
    Faults, UpdateFault,
    ::testing::Values(
        Fault{"refused", Text("1.02"), std::nullopt, true},
        // A failed answer leaves its empty file: the check that made it
        // never reads it, the next check removes it.
        Fault{"version404", Text("gone", 404), std::nullopt, false, false, {"version.txt"}},
        Fault{"launcher404", Text("1.02"), Text("gone", 404), false, false, {"Launcher_new.exe"}},
        Fault{"launcher500", Text("1.02"), Text("oops", 500), false, false, {"Launcher_new.exe"}},
        Fault{"cutShort", Text("1.02"), CutShort(V2())},
        Fault{"html", Text("1.02"), Text("<html><body>Please log in</body></html>")},
        Fault{"stall", Text("1.02"), Stalled(), false, true}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(UpdateKilled, AtTwentyMomentsOfTheDownloadTheProgramStaysAndTheNextStartSweeps) {
  testkit::DebugOutput debug;
  ASSERT_TRUE(debug.Listening()) << "another program reads the debug output";
  UpdateTestServer server;
  ASSERT_TRUE(server.Started());
  const Bytes v1 = testkit::PackedLauncher(testkit::LauncherExe(), "1.01", server.Port());
  Route slow = Program(testkit::PackedLauncher(testkit::LauncherExe(), "1.02", server.Port()));
  const std::uint64_t size = slow.body.size();
  slow.spreadOverMs = 4000;
  server.Serve(kVersionPath, Text("1.02"));
  server.Serve(kExePath, slow);
  const auto launcher = testkit::StartLauncherAs(v1, "Launcher.exe");
  for (int moment = 0; moment < 20; ++moment) {
    // Moments by what the server has sent, not by time: on a slow machine
    // the same moment is still the same share of the download.
    const std::uint64_t sent = size * moment / 20;
    SCOPED_TRACE("killed once " + std::to_string(sent) + " of " + std::to_string(size) + " bytes were sent");
    if (moment > 0) {
      ASSERT_TRUE(launcher->StartAgain());
    }
    ASSERT_TRUE(testkit::PumpUntil([&] { return RequestsFor(server, kExePath) == moment + 1u; }, 30000))
        << launcher->Describe();
    if (sent > 0) {
      ASSERT_TRUE(server.WaitForBodySent(kExePath, moment + 1, sent)) << launcher->Describe();
    }
    launcher->Kill();
    EXPECT_EQ(testkit::ReadFileBytes(launcher->ProgramDir().File("Launcher.exe")), v1);
    EXPECT_FALSE(launcher->ProgramDir().Exists(kUpdateScriptName));
    // Each start removed what the previous one was killed over.
    EXPECT_LE(FilesEndingWith(launcher->ProgramDir(), "Launcher_new.exe").size(), 1u);
  }
  ExpectACleanStartAgain(*launcher, server, debug);
}

namespace {

enum class Moment {
  ScriptWritten,  // the launcher is killed as soon as its script is there
  Pause,          // the launcher has ended; the interpreter waits out its pause
  DownloadHeld,   // a scanner holds the downloaded file: it cannot take the program's place
  ProgramHeld,    // something the other-launcher rule cannot see holds the program file
};

struct Interruption {
  const char* name;
  Moment moment;
};

void PrintTo(const Interruption& interruption, std::ostream* out) { *out << interruption.name; }

class UpdateInterrupted : public ::testing::TestWithParam<Interruption> {};

}  // namespace

// After the download the dangerous part begins: the launcher writes its
// script and ends, and the interpreter swaps the program files. A kill
// while the launcher ends or the interpreter pauses, and a file the system
// will not let go, must leave a program that starts and cleans up after the
// update; a refused replacement starts the old program again, which makes
// no second attempt in that start.
TEST_P(UpdateInterrupted, TheNextStartFindsALauncherThatRunsAndNothingStray) {
  const Moment moment = GetParam().moment;
  testkit::DebugOutput debug;
  ASSERT_TRUE(debug.Listening()) << "another program reads the debug output";
  UpdateTestServer server;
  ASSERT_TRUE(server.Started());
  const Bytes v1 = OfferTheNextVersion(server).v1;
  testkit::HeldCommand pause("ping.exe");
  ASSERT_TRUE(pause.Ready());
  const auto launcher = testkit::StartLauncherAs(v1, "Launcher.exe");
  ASSERT_TRUE(launcher->Started());
  const testkit::TempDir& dir = launcher->ProgramDir();
  // Held as a launcher of another Windows account holds its own file: open
  // for reading, shared for reading only. The other-launcher rule sees no
  // process of this program, and the script cannot replace it.
  HANDLE programHeld = INVALID_HANDLE_VALUE;
  if (moment == Moment::ProgramHeld)
    programHeld = CreateFileA(dir.File("Launcher.exe").c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              0, nullptr);

  ASSERT_TRUE(testkit::PumpUntil([&] { return dir.Exists(kUpdateScriptName); }, 60000)) << launcher->Describe();
  if (moment == Moment::ScriptWritten) {
    launcher->Kill();  // it may have started the interpreter, or ended, already
  } else {
    EXPECT_EQ(launcher->WaitForExit(), 0u);
    ASSERT_TRUE(pause.WaitUntilHeld()) << "the script never reached its pause";
    // The script's first line, its console hidden: the stand-in for ping
    // shows what the interpreter gave it.
    const std::string given = pause.Given();
    EXPECT_NE(given.find("arguments= 127.0.0.1 -n 2 -w 1000 "), std::string::npos) << given;
    EXPECT_NE(given.find("consoleShown=0\r\n"), std::string::npos) << given;
  }
  if (moment == Moment::DownloadHeld || moment == Moment::ProgramHeld) {
    // The downloaded file held open without delete sharing, as a virus
    // scanner still reading it holds it: it cannot take the program's place.
    HANDLE downloadHeld = INVALID_HANDLE_VALUE;
    if (moment == Moment::DownloadHeld) {
      const std::vector<std::string> downloaded = FilesEndingWith(dir, "Launcher_new.exe");
      ASSERT_EQ(downloaded.size(), 1u) << testing::PrintToString(downloaded);
      downloadHeld = CreateFileA(dir.File(downloaded[0]).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                 nullptr, OPEN_EXISTING, 0, nullptr);
      ASSERT_NE(downloadHeld, INVALID_HANDLE_VALUE);
    } else {
      ASSERT_NE(programHeld, INVALID_HANDLE_VALUE);
    }
    pause.Release();
    // The script's last line starts the old program again, which shows its
    // window and asks the server nothing more: one download per start.
    const HWND restarted = WaitForWindowTitled("Launcher 1.01", 60000);
    DWORD restartedId = 0;
    if (restarted != nullptr) GetWindowThreadProcessId(restarted, &restartedId);
    EXPECT_NE(restartedId, launcher->Id());
    // The restarted launcher's check only sweeps (with the program held,
    // the refused download goes) and asks the server nothing.
    const auto report = debug.WaitForLine(restartedId, testkit::kUpdateReport);
    EXPECT_EQ(report, "Launcher update: 10014 CheckSkipped");
    const bool idle = restarted != nullptr && SendMessageTimeoutA(restarted, WM_NULL, 0, 0, SMTO_NORMAL, 30000, nullptr);
    if (moment == Moment::ProgramHeld) {
      EXPECT_TRUE(FilesEndingWith(dir, "Launcher_new.exe").empty());
    }
    EXPECT_TRUE(testkit::EndProcessesStartedBy(launcher->Id()));
    // The program the interpreter started outlives it, out of reach of the
    // tree above.
    EXPECT_TRUE(testkit::EndProcessesRunningFrom(dir.Path()));
    if (downloadHeld != INVALID_HANDLE_VALUE) CloseHandle(downloadHeld);
    if (programHeld != INVALID_HANDLE_VALUE) CloseHandle(programHeld);
    ASSERT_NE(restarted, nullptr) << "nothing started under the program's name after the refused replacement";
    EXPECT_TRUE(idle);
    EXPECT_EQ(RequestsFor(server, kExePath), 1u);
    EXPECT_EQ(RequestsFor(server, kVersionPath), 1u);
  }
  EXPECT_TRUE(testkit::EndProcessesStartedBy(launcher->Id()));

  // The update did not happen: the old program is where it was, whole.
  EXPECT_EQ(testkit::ReadFileBytes(dir.File("Launcher.exe")), v1);
  ExpectACleanStartAgain(*launcher, server, debug);
}

INSTANTIATE_TEST_SUITE_P(Moments, UpdateInterrupted,
                         ::testing::Values(Interruption{"scriptWritten", Moment::ScriptWritten},
                                           Interruption{"pause", Moment::Pause},
                                           Interruption{"downloadHeld", Moment::DownloadHeld},
                                           Interruption{"programHeld", Moment::ProgramHeld}),
                         [](const auto& info) { return std::string(info.param.name); });

namespace {

// v1 in a read-only program file (copied from a disc, or marked so by an
// archive tool), its server offering v2.
class UpdateFallback : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(debug.Listening()) << "another program reads the debug output";
    ASSERT_TRUE(server.Started());
    const Offer offer = OfferTheNextVersion(server);
    v1 = offer.v1;
    v2 = offer.v2;
  }
  std::unique_ptr<LauncherProcess> StartReadOnly() const {
    testkit::LaunchOptions options;
    options.programReadOnly = true;
    return testkit::StartLauncherAs(v1, "Launcher.exe", options);
  }

  testkit::DebugOutput debug;
  UpdateTestServer server;
  Bytes v1, v2;
};

}  // namespace

// A read-only program file refuses to be replaced until the script's second
// line has cleared the attribute; the third line then replaces it, in one
// step like the first attempt.
TEST_F(UpdateFallback, AReadOnlyProgramFileIsReplacedInOneStep) {
  const auto launcher = StartReadOnly();
  ASSERT_TRUE(launcher->Started());
  EXPECT_EQ(launcher->WaitForExit(), 0u);
  EXPECT_NE(WaitForWindowTitled("Launcher 1.02"), nullptr) << "the update never started";
  EXPECT_TRUE(testkit::EndProcessesStartedBy(launcher->Id()));
  EXPECT_TRUE(testkit::EndProcessesRunningFrom(launcher->ProgramDir().Path()));
  EXPECT_EQ(testkit::ReadFileBytes(launcher->ProgramDir().File("Launcher.exe")), v2);
  EXPECT_TRUE(testkit::PumpUntil([&] { return Leftovers(*launcher).empty(); }, 10000))
      << "left: " << testing::PrintToString(Leftovers(*launcher));
}

// Stopped once the read-only path has cleared the attribute and before the
// next line (the interpreter killed, the machine switched off), the script
// leaves a whole program under its name: the old one where the system
// refused the first attempt (Windows), the new one where it took it all
// the same (Wine's "move /y" replaces a read-only file, and then reports a
// failure, so that "||" runs anyway). It starts, removes the script and the
// download, and the start after it checks again.
TEST_F(UpdateFallback, AKillBetweenItsTwoStepsLeavesALauncherThatStarts) {
  // The second line's "attrib" does its work, then holds the interpreter
  // there: the moment between the two lines, made certain.
  testkit::HeldCommand attrib("attrib.exe", true);
  ASSERT_TRUE(attrib.Ready());
  const auto launcher = StartReadOnly();
  ASSERT_TRUE(launcher->Started());
  const testkit::TempDir& dir = launcher->ProgramDir();
  EXPECT_EQ(launcher->WaitForExit(), 0u);
  ASSERT_TRUE(attrib.WaitUntilHeld()) << "the script never cleared the attribute";
  EXPECT_EQ(GetFileAttributesA(dir.File("Launcher.exe").c_str()) & FILE_ATTRIBUTE_READONLY, 0u);
  EXPECT_TRUE(testkit::EndProcessesStartedBy(launcher->Id()));
  const bool wine = GetProcAddress(GetModuleHandleA("ntdll.dll"), "wine_get_version") != nullptr;
  const Bytes program = testkit::ReadFileBytes(dir.File("Launcher.exe"));
  ASSERT_TRUE(program == (wine ? v2 : v1))
      << "the program file is not the " << (wine ? "new" : "old") << " launcher whole";
  ExpectACleanStartAgain(*launcher, server, debug, wine ? "Launcher 1.02" : "Launcher 1.01");
}

// Players run several games at once: a second launcher open from the
// program's folder holds the program file, which the update script could
// then neither replace nor rename. Updating anyway would start the old
// launcher again, which would fetch the update again, for as long as the
// other stays open. The update waits for the first start alone.
TEST(UpdateWhileInUse, WaitsUntilNoOtherLauncherRunsTheProgramFile) {
  testkit::DebugOutput debug;
  ASSERT_TRUE(debug.Listening()) << "another program reads the debug output";
  UpdateTestServer server;
  ASSERT_TRUE(server.Started());
  const Bytes v1 = testkit::PackedLauncher(testkit::LauncherExe(), "1.01", server.Port());
  const Bytes v2 = testkit::PackedLauncher(testkit::LauncherExe(), "1.02", server.Port());
  server.Serve(kVersionPath, Text("1.01"));
  server.Serve(kExePath, Program(v2));
  const auto open = testkit::StartLauncherAs(v1, "Launcher.exe");
  ASSERT_TRUE(open->Started());
  const testkit::TempDir& dir = open->ProgramDir();
  ASSERT_NE(IdleLoginWindow(*open), nullptr) << open->Describe();
  EXPECT_EQ(debug.WaitForLine(open->Id(), testkit::kUpdateReport), "Launcher update: 0 UpToDate");

  // Another launcher from the same file, which now hears of the update.
  server.Serve(kVersionPath, Text("1.02"));
  std::string command = "\"" + dir.File("Launcher.exe") + "\"";
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION second{};
  ASSERT_TRUE(CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, dir.Path().c_str(),
                             &startup, &second));
  CloseHandle(second.hThread);
  // The second launcher's check ends without fetching the launcher (the
  // program file is another's), and both stay open.
  const auto report = debug.WaitForLine(second.dwProcessId, testkit::kUpdateReport);
  const bool asked = RequestsFor(server, kVersionPath) == 2u;
  EXPECT_EQ(report, "Launcher update: 10013 ScriptNotCreated");
  EXPECT_EQ(RequestsFor(server, kExePath), 0u);
  EXPECT_EQ(WaitForSingleObject(second.hProcess, 0), static_cast<DWORD>(WAIT_TIMEOUT)) << "the second launcher ended";
  EXPECT_FALSE(open->WaitForExit(0).has_value()) << "the first launcher ended";
  // Its version file is gone with the check; nothing else was made.
  EXPECT_EQ(Leftovers(*open), std::vector<std::string>{});
  EXPECT_EQ(testkit::ReadFileBytes(dir.File("Launcher.exe")), v1);
  testkit::EndProcess(second.hProcess);
  WaitForSingleObject(second.hProcess, 10000);
  CloseHandle(second.hProcess);
  open->Kill();
  ASSERT_TRUE(asked) << "the second launcher never checked";

  // Alone, it updates.
  ASSERT_TRUE(open->StartAgain());
  EXPECT_NE(WaitForWindowTitled("Launcher 1.02"), nullptr) << "the update never started";
  EXPECT_EQ(open->WaitForExit(), 0u);
  EXPECT_TRUE(testkit::EndProcessesStartedBy(open->Id()));
  EXPECT_TRUE(testkit::EndProcessesRunningFrom(dir.Path()));
  EXPECT_EQ(testkit::ReadFileBytes(dir.File("Launcher.exe")), v2);
}

// A scanner that removes every new batch file as soon as it can, or a
// policy that keeps the interpreter from it: the script never runs. The
// launcher finds that out before it ends: it goes on, without the
// download, and tries nothing more in that start; it does not vanish.
TEST(UpdateScriptBlocked, TheLauncherGoesOnWithoutTheDownload) {
  testkit::DebugOutput debug;
  ASSERT_TRUE(debug.Listening()) << "another program reads the debug output";
  UpdateTestServer server;
  ASSERT_TRUE(server.Started());
  const Bytes v1 = OfferTheNextVersion(server).v1;
  const auto launcher = testkit::StartLauncherAs(v1, "Launcher.exe");
  ASSERT_TRUE(launcher->Started());
  const testkit::TempDir& dir = launcher->ProgramDir();
  std::atomic<bool> stop{false};
  std::atomic<int> removed{0};
  std::thread scanner([&] {
    while (!stop) {
      if (DeleteFileA(dir.File(kUpdateScriptName).c_str())) ++removed;
      Sleep(0);
    }
  });
  const auto report = debug.WaitForLine(launcher->Id(), testkit::kUpdateReport);
  stop = true;
  scanner.join();
  EXPECT_EQ(report, "Launcher update: 10017 ScriptDidNotRun");
  EXPECT_GE(removed, 1);
  EXPECT_FALSE(launcher->WaitForExit(0).has_value()) << "the launcher vanished";
  const HWND window = IdleLoginWindow(*launcher);
  EXPECT_NE(window, nullptr) << launcher->Describe();
  EXPECT_EQ(Leftovers(*launcher), std::vector<std::string>{});
  EXPECT_EQ(testkit::ReadFileBytes(dir.File("Launcher.exe")), v1);
  EXPECT_EQ(RequestsFor(server, kExePath), 1u);
  EXPECT_TRUE(testkit::EndProcessesStartedBy(launcher->Id()));
  launcher->Kill();
}

// A leftover the launcher cannot remove (a folder of the script's name)
// says nothing of the previous run: the start checks as any other, and
// fetches no launcher it could never install.
TEST(UpdateScriptNameTaken, TheStartChecksAndFetchesNoLauncher) {
  testkit::DebugOutput debug;
  ASSERT_TRUE(debug.Listening()) << "another program reads the debug output";
  UpdateTestServer server;
  ASSERT_TRUE(server.Started());
  server.Serve(kVersionPath, Text("1.02"));
  server.Serve(kExePath, Program(testkit::PackedLauncher(testkit::LauncherExe(), "1.02", server.Port())));
  testkit::LaunchOptions options;
  options.programDirFolders = {kUpdateScriptName};
  const auto launcher = testkit::StartLauncherAs(testkit::PackedLauncher(testkit::LauncherExe(), "1.01", server.Port()),
                                                 "Launcher.exe", options);
  ASSERT_TRUE(launcher->Started());
  EXPECT_EQ(debug.WaitForLine(launcher->Id(), testkit::kUpdateReport), "Launcher update: 10013 ScriptNotCreated");
  EXPECT_EQ(RequestsFor(server, kVersionPath), 1u);
  EXPECT_EQ(RequestsFor(server, kExePath), 0u);
  EXPECT_NE(IdleLoginWindow(*launcher), nullptr) << launcher->Describe();
  launcher->Kill();
}
