// What a downloaded release must be before it replaces the launcher, end to
// end with the real launcher: the launcher's own program (not another one
// with its package appended), pictures that decode with the launcher's own
// decoder (GDI+), and, for addresses made unique for a cache, a local file
// named after the path alone. Each outcome is the launcher's own report.
#include <gtest/gtest.h>

#include "debug_output.h"
#include "launcher_driver.h"
#include "png_writer.h"
#include "update_e2e.h"
#include "update_process_tree.h"
#include "update_test_server.h"
#include "zip_builder.h"

using testkit::Bytes;

namespace {

enum class Served {
  kLauncher,           // the release, whole
  kAnotherProgram,     // a console tool (the tests' hold program) with the release's package
  kUndecodableButton,  // the release with a button picture whose data is damaged behind a sound header
};

struct ReleaseCase {
  const char* name;
  Served served;
  std::string query;   // after versionUrl and exeUrl, on both launchers
  const char* report;  // the launcher's; empty: it installs
};

void PrintTo(const ReleaseCase& c, std::ostream* out) { *out << c.name; }

// A launcher whose login window has a minimise button, checking
// `versionPath` and `exePath` on the server.
Bytes Release(const Bytes& program, const std::string& version, int port, const std::string& query,
              bool damagedButton) {
  const std::string config = "[global]\r\nlinkCount=1\r\ngameheader=test-game-header|\r\ntitle=Launcher " + version +
                             "\r\nversion=" + version + "\r\nserver=127.0.0.1\r\nport=" + std::to_string(port) +
                             "\r\nversionUrl=" + testkit::kVersionPath + query + "\r\nexeUrl=" + testkit::kExePath +
                             query + "\r\n[link1]\r\ntype=2\r\nx=10\r\ny=10\r\n";
  const Bytes png = testkit::RgbaPng(40, 30, [](int, int) { return 0xFF808080u; });
  const Bytes button = testkit::RgbaPng(20, 16, [](int, int) { return 0xFF404040u; });
  std::string pressed(button.begin(), button.end());
  if (damagedButton) {
    const std::size_t data = pressed.find("IDAT") + 4;
    for (std::size_t i = data; i < data + 12 && i < pressed.size(); ++i) pressed[i] = '\xFF';
  }
  return testkit::Concat({program, testkit::ZipBuilder()
                                       .Add("config/cg.txt", config)
                                       .Add("config/main1.png", std::string(png.begin(), png.end()))
                                       .Add("config/1_n.png", std::string(button.begin(), button.end()))
                                       .Add("config/1_d.png", pressed)
                                       .Build()});
}

class UpdateRelease : public ::testing::TestWithParam<ReleaseCase> {};

}  // namespace

TEST_P(UpdateRelease, IsInstalledOnlyWhenItIsTheLauncherAndItsPicturesDecode) {
  const ReleaseCase& c = GetParam();
  testkit::DebugOutput debug;
  ASSERT_TRUE(debug.Listening()) << "another program reads the debug output";
  testkit::UpdateTestServer server;
  ASSERT_TRUE(server.Started());
  const Bytes v1 = Release(testkit::LauncherExe(), "1.01", server.Port(), c.query, false);
  const Bytes program = c.served == Served::kAnotherProgram ? testkit::ReadFileBytes(testkit::WinePath(HOLD_EXE))
                                                            : testkit::LauncherExe();
  const Bytes v2 = Release(program, "1.02", server.Port(), c.query, c.served == Served::kUndecodableButton);
  server.Serve(testkit::kVersionPath + c.query, testkit::Text("1.02\r\n"));
  server.Serve(testkit::kExePath + c.query, testkit::Program(v2));
  const auto launcher = testkit::StartLauncherAs(v1, "Launcher.exe");
  ASSERT_TRUE(launcher->Started());
  const testkit::TempDir& dir = launcher->ProgramDir();

  const auto report = debug.WaitForLine(launcher->Id(), testkit::kUpdateReport);
  if (std::string(c.report).empty()) {
    EXPECT_EQ(report, "Launcher update: replacing");
    EXPECT_EQ(launcher->WaitForExit(), 0u);
    const HWND v2Window = testkit::WaitForWindowTitled("Launcher 1.02");
    EXPECT_TRUE(testkit::EndProcessesStartedBy(launcher->Id()));
    EXPECT_TRUE(testkit::EndProcessesRunningFrom(dir.Path()));
    EXPECT_NE(v2Window, nullptr) << "v2 never started";
    EXPECT_EQ(testkit::ReadFileBytes(dir.File("Launcher.exe")), v2);
  } else {
    EXPECT_EQ(report, c.report);
    EXPECT_FALSE(launcher->WaitForExit(0).has_value());
    EXPECT_NE(testkit::IdleLoginWindow(*launcher), nullptr) << launcher->Describe();
    EXPECT_EQ(testkit::ReadFileBytes(dir.File("Launcher.exe")), v1);
    EXPECT_EQ(testkit::Leftovers(*launcher), std::vector<std::string>{});
    launcher->Kill();
  }
  // The server saw the addresses as configured, queries included.
  EXPECT_EQ(testkit::RequestsFor(server, testkit::kExePath + c.query), 1u);
}

INSTANTIATE_TEST_SUITE_P(Releases, UpdateRelease,
                         ::testing::Values(ReleaseCase{"theLauncher", Served::kLauncher, "", ""},
                                           ReleaseCase{"addressesWithAQuery", Served::kLauncher, "?v=102", ""},
                                           ReleaseCase{"anotherProgram", Served::kAnotherProgram, "",
                                                       "Launcher update: 10011 LauncherDownloadFailed NotThisLauncher"},
                                           ReleaseCase{"aButtonThatDoesNotDecode", Served::kUndecodableButton, "",
                                                       "Launcher update: 10011 LauncherDownloadFailed DoesNotStart"}),
                         [](const auto& info) { return std::string(info.param.name); });
