// How a packed launcher comes to its game window: straight away through
// [global] firstUrl, or after the login page has handed the game over.
#include <gtest/gtest.h>

#include <string>

#include "game_driver.h"

using namespace testkit;

namespace {

bool IsLoginWindow(HWND w) { return WindowText(w) == "Game Test" && GetDlgItem(w, 170) == nullptr; }

}  // namespace

TEST(GameStart, AFirstUrlOfMoreThanTwoBytesSkipsTheLoginWindow) {
  struct Case {
    const char* firstUrl;
    bool game;
  } cases[] = {{"ab", false}, {"abc", true}};
  for (const Case& c : cases) {
    GameLauncher game({.firstUrl = c.firstUrl}, false);
    const HWND first = game.launcher.WaitForWindow([](HWND w) { return WindowText(w) == "Game Test"; });
    ASSERT_NE(first, nullptr) << c.firstUrl << game.launcher.Describe();
    // The game window covers the work area from its first appearance (its
    // browser comes right after); the login pair has its picture's size.
    EXPECT_EQ(WindowRect(first) == WorkArea(), c.game) << c.firstUrl;
    if (!c.game) continue;
    game.WaitForGameWindow();
    for (HWND w : game.launcher.Windows(false)) EXPECT_FALSE(IsLoginWindow(w) && GetWindow(w, GW_OWNER) == nullptr);
  }
}

TEST(GameStart, TheLoginHandOverOpensTheGameWindowAfterTheLoginWindowHasGone) {
  GameLauncher game({.firstUrl = "", .loginUrl = "test-game-header|http://127.0.0.1:9/game.html"}, false);
  ASSERT_NE(game.WaitForGameWindow(), nullptr) << game.launcher.Describe();
  EXPECT_TRUE(game.launcher.SawWindow());
  for (HWND w : game.launcher.Windows()) EXPECT_FALSE(IsLoginWindow(w)) << game.launcher.Describe();
  EXPECT_EQ(WindowRect(game.window), WorkArea());
  EXPECT_FALSE(game.launcher.WaitForExit(300).has_value());  // the game runs on
}

// Windows' GDI+ crashes on a picture deleted after its shutdown (Wine's
// shutdown does nothing), so the launcher's exit step tells in its exit
// status whether a picture was still alive when it came to GDI+. Each way
// from the start to the end of the program goes through it.
TEST(GameStart, EveryRunEndsWithNoPictureLeftForTheGraphicsShutdown) {
  struct Case {
    const char* what;
    std::string firstUrl, loginUrl;
    bool toGame;
  } cases[] = {
      {"the login window closed", "", "about:blank", false},
      {"the game window from firstUrl closed", "about:blank", "about:blank", true},
      {"the game window closed after the login's hand-over", "", "test-game-header|http://127.0.0.1:9/game.html", true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    GameSkinOptions options;
    options.firstUrl = c.firstUrl;
    options.loginUrl = c.loginUrl;
    GameLauncher game(options, false);
    if (!c.toGame) {
      const HWND login = game.launcher.WaitForWindow(
          [](HWND w) { return IsLoginWindow(w) && GetWindow(w, GW_OWNER) == nullptr; });
      ASSERT_NE(login, nullptr) << game.launcher.Describe();
      ASSERT_TRUE(game.launcher.WaitUntilIdle(login));
      PostMessageA(login, WM_CLOSE, 0, 0);  // closes without asking
    } else {
      ASSERT_NE(game.WaitForGameWindow(), nullptr) << game.launcher.Describe();
      PostMessageA(game.window, WM_CLOSE, 0, 0);
      const auto question = game.launcher.WaitForMessageBox();
      ASSERT_TRUE(question.has_value()) << game.launcher.Describe();
      question->Press(IDOK);
    }
    EXPECT_EQ(game.launcher.WaitForExit(), 0u) << game.launcher.Describe();
  }
}

TEST(GameStart, AMissingLogoStopsTheSetUpAndTheWindowStaysUntilClosed) {
  GameLauncher game({.withLogo = false}, false);
  const auto failure = game.launcher.WaitForMessageBox();
  ASSERT_TRUE(failure.has_value()) << game.launcher.Describe();
  EXPECT_EQ(failure->text, "\xB6\xC1\xC8\xA1\xCD\xBC\xC6\xAC\xCA\xA7\xB0\xDC");  // 读取图片失败
  failure->Press(IDOK);
  ASSERT_NE(game.WaitForGameWindow(), nullptr) << game.launcher.Describe();
  EXPECT_EQ(WindowRect(game.window), WorkArea());
  EXPECT_EQ(game.Child(300), nullptr);
  // Never maximised at the end: both size buttons show.
  EXPECT_TRUE(IsWindowVisible(game.Child(186)));
  EXPECT_TRUE(IsWindowVisible(game.Child(190)));
  PostMessageA(game.window, WM_CLOSE, 0, 0);
  const auto question = game.launcher.WaitForMessageBox();
  ASSERT_TRUE(question.has_value()) << game.launcher.Describe();
  EXPECT_EQ(question->text, "Quit?");
  question->Press(IDOK);
  EXPECT_EQ(game.launcher.WaitForExit(), 0u);
}
