// The login pair built in this process on a test skin.
#include <memory>
#include <optional>
#include <string>

#include "game_fixture.h"
#include "login/login_rules.h"
#include "login/login_window_win.h"

namespace {

// A working directory of more than 260 bytes for the scope: the update's
// paths cannot be built in it. Windows and Wine accept such a directory
// through the wide functions; the ANSI ones cannot report it.
class LongWorkingDirectory {
 public:
  explicit LongWorkingDirectory(const testkit::TempDir& base) {
    GetCurrentDirectoryW(MAX_PATH, previous_);
    std::wstring path(base.Path().begin(), base.Path().end());
    for (int i = 0; i < 6; ++i) {
      path += L"\\a-directory-name-of-fifty-characters-0123456789abc";
      CreateDirectoryW(path.c_str(), nullptr);
      made_.push_back(path);
    }
    entered_ = SetCurrentDirectoryW(path.c_str()) != FALSE;
  }
  ~LongWorkingDirectory() {
    SetCurrentDirectoryW(previous_);
    for (auto it = made_.rbegin(); it != made_.rend(); ++it) RemoveDirectoryW(it->c_str());
  }
  bool Entered() const { return entered_; }

 private:
  wchar_t previous_[MAX_PATH] = {};
  std::vector<std::wstring> made_;
  bool entered_ = false;
};

}  // namespace

TEST_F(GameWindowTest, AWorkingDirectoryTooLongForTheUpdateStillGivesTheWholeLoginWindow) {
  LoadSkin({.firstUrl = ""});
  testkit::TempDir base;
  LongWorkingDirectory directory(base);
  ASSERT_TRUE(directory.Entered());
  char ansi[MAX_PATH] = {};
  ASSERT_EQ(GetCurrentDirectoryA(sizeof ansi, ansi), 0u) << "the directory must be too long for the update";

  std::unique_ptr<PackagePicture> background;
  ASSERT_EQ(LoadPackagePicture(TestSkin().Package(), "config/main1.png", &background), LoadOutcome::kLoaded);
  CLauncherTranslucentDlg login(TestSkin(), std::move(background), nullptr);
  bool loginAreaMade = false;
  RunWhenReady(
      login, [&] { return login.Handle() != nullptr && IsWindowVisible(login.Handle()); },
      [&] {
        loginAreaMade = login.Companion() != nullptr &&
                        GetDlgItem(login.Companion()->Handle(), kFirstHtmlAreaId) != nullptr;
        login.EndModal(IDOK);
      });
  login.DoModal();
  EXPECT_TRUE(loginAreaMade);
}

// The login page's navigation to the game header hands over what follows,
// and only when it is a web page. (Wine may report the navigation twice;
// each report hands over the same address.)
TEST_F(GameWindowTest, TheLoginPageHandsOverTheWebAddressAfterTheHeader) {
  const std::string header = testkit::GameSkinOptions{}.gameheader;
  struct Case {
    std::string url;
    std::optional<std::string> handed;
  } cases[] = {
      {header + "http://game.example/s1?a=1&b=2", "http://game.example/s1?a=1&b=2"},
      {header + "HTTPS://game.example/", "HTTPS://game.example/"},
      {header + "javascript:alert(1)", std::nullopt},
      {header + "file:///C:/windows/win.ini", std::nullopt},
      {"http://game.example/" + header + "http://x/", std::nullopt},
  };
  for (const Case& c : cases) {
    LoadSkin({.firstUrl = "", .loginUrl = c.url});
    std::unique_ptr<PackagePicture> background;
    ASSERT_EQ(LoadPackagePicture(TestSkin().Package(), "config/main1.png", &background), LoadOutcome::kLoaded);
    std::vector<std::string> handed;
    CLauncherTranslucentDlg login(TestSkin(), std::move(background),
                                  [&](const char* address) { handed.emplace_back(address); });
    // A window that handed nothing over is ended after a while; the timer
    // is waited for, so it never fires on a window that is gone.
    bool looked = false, stillOpen = false;
    testkit::RunSoon(
        [&] {
          stillOpen = login.IsRunningModal();
          if (stillOpen) login.EndModal(IDCANCEL);
          looked = true;
        },
        2000);
    login.DoModal();
    ASSERT_TRUE(testkit::PumpUntil([&] { return looked; }, 10000));
    EXPECT_EQ(handed.empty(), !c.handed.has_value()) << c.url;
    for (const std::string& address : handed) EXPECT_EQ(address, c.handed) << c.url;
    EXPECT_EQ(stillOpen, !c.handed.has_value()) << c.url;  // a hand-over closes the window
  }
}
