// The login pair built in this process on a test skin.
#include <memory>
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
  ASSERT_EQ(LoadPackagePicture(&App().Holder().package, "config/main1.png", &background), LoadOutcome::kLoaded);
  CLauncherTranslucentDlg login(std::move(background));
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
