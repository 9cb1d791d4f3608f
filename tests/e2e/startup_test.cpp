// The packed launcher started as a user starts it, its start-up failures
// read off the screen.
#include <gtest/gtest.h>

#include "common/texts.h"
#include "launcher_driver.h"
#include "update/update_files.h"

using testkit::Bytes;
using testkit::Concat;
using testkit::LauncherProcess;
using testkit::ZipBuilder;

namespace {

Bytes ValidPackage() {
  return ZipBuilder()
      .Add("config/cg.txt", testkit::MinimalConfig())
      .Add("config/main1.png", std::string("\x89PNG\r\n\x1a\n"))
      .Build();
}

// Starts the launcher with `package`, expects a start-up failure box with
// `message`, answers it and expects the process to end.
void ExpectStartupFailure(const Bytes& package, const char* message) {
  LauncherProcess launcher(package);
  ASSERT_TRUE(launcher.Started());
  const auto box = launcher.WaitForMessageBox();
  ASSERT_TRUE(box.has_value()) << "no message box for: " << message;
  EXPECT_EQ(box->text, message);
  EXPECT_EQ(box->caption, texts::kStartupFailedCaption);
  EXPECT_EQ(box->owner, nullptr);
  EXPECT_EQ(box->buttons, std::vector<int>{IDOK});
  EXPECT_EQ(launcher.Windows().size(), 1u);  // the box alone
  box->Press(IDOK);
  EXPECT_EQ(launcher.WaitForExit(), 0u);
}

}  // namespace

TEST(Startup, FailuresShowTheirBoxAndEnd) {
  struct Case {
    const char* what;
    Bytes package;
    const char* message;
  } cases[] = {
      {"nothing appended (the exe is linked stripped)", {}, texts::kNoPackage},
      {"bytes that are not a zip", testkit::ToBytes("this is not a zip archive"), texts::kOpenZipFailed},
      {"no config/cg.txt", ZipBuilder().Add("config/main1.png", "x").Add("config/CG.TXT", "x").Build(),
       texts::kReadIniFailed},
      {"the second archive lacks config/cg.txt", Concat({ValidPackage(), ZipBuilder().Add("a", "b").Build()}),
       texts::kReadIniFailed},
      {"a config/cg.txt that inflates to 80 MB",
       ZipBuilder().Add("config/cg.txt", std::string(80 << 20, ' ')).Add("config/main1.png", "x").Build(),
       texts::kLoadIniFailed},
      {"no config/main1.png, even when the game window comes first",
       ZipBuilder().Add("config/cg.txt", testkit::MinimalConfig("firstUrl=http://127.0.0.1/game\r\n")).Build(),
       texts::kReadImageFailed},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    ExpectStartupFailure(c.package, c.message);
  }
}

TEST(Startup, RejectedConfigurationEndsWithoutAnyWindow) {
  const Bytes noLinkCount = ZipBuilder().Add("config/cg.txt", "[global]\r\nfirstUrl=http://game/\r\n").Build();
  LauncherProcess launcher(noLinkCount);
  ASSERT_TRUE(launcher.Started());
  EXPECT_EQ(launcher.WaitForExit(), 0u);
  EXPECT_FALSE(launcher.SawWindow());
}

// The login window of a configuration titled `title`, once it is up.
HWND WaitForLogin(LauncherProcess& launcher, const std::string& title) {
  return launcher.WaitForWindow(
      [&](HWND w) { return testkit::WindowText(w) == title && GetWindow(w, GW_OWNER) == nullptr; });
}

TEST(Startup, TheLastArchiveAppendedIsTheConfiguration) {
  const Bytes first = ZipBuilder().Add("config/cg.txt", testkit::MinimalConfig("title=First\r\n")).Build();
  const Bytes second = ZipBuilder()
                           .Add("config/cg.txt", testkit::MinimalConfig("title=Second\r\n"))
                           .Add("config/main1.png", std::string("\x89PNG\r\n\x1a\n"))
                           .Build();
  LauncherProcess launcher(Concat({first, second}));
  ASSERT_TRUE(launcher.Started());
  HWND login = WaitForLogin(launcher, "Second");
  ASSERT_NE(login, nullptr) << launcher.Describe();
  PostMessageA(login, WM_CLOSE, 0, 0);
  EXPECT_EQ(launcher.WaitForExit(), 0u);
}

TEST(Startup, RemovesUpdateLeftoversFromTheCurrentDirectoryOnly) {
  testkit::LaunchOptions options;
  options.separateWorkDir = true;
  for (const char* name : {kBackupExeName, kUpdateScriptName}) {
    options.programDirFiles.push_back({name, testkit::ToBytes("old")});
    options.workDirFiles.push_back({name, testkit::ToBytes("old")});
  }
  LauncherProcess launcher(ValidPackage(), options);
  ASSERT_TRUE(launcher.Started());
  ASSERT_NE(WaitForLogin(launcher, ""), nullptr) << launcher.Describe();  // start-up is over
  for (const char* name : {kBackupExeName, kUpdateScriptName}) {
    EXPECT_FALSE(launcher.WorkDir().Exists(name)) << name;
    EXPECT_TRUE(launcher.ProgramDir().Exists(name)) << name;
  }
}
