// The settings menu of a packed launcher: its place, its items and what
// they do, logging in again included.
#include <gtest/gtest.h>

#include "game_driver.h"
#include "update_process_tree.h"

using namespace testkit;

namespace {

// Opens the settings menu by its button and chooses item `position` (0 is
// the first) by keys. The button is clicked by message: two real clicks in
// a row on it would make a double-click, which toggles the size instead.
void Choose(GameLauncher& game, int position) {
  // Whatever an earlier step started (leaving full screen shows the buttons
  // again) is over before the button is clicked.
  game.Settle();
  PostMessageA(game.Child(191), BM_CLICK, 0, 0);
  const HWND menu = game.WaitForMenu();
  ASSERT_NE(menu, nullptr) << game.launcher.Describe();
  for (int i = 0; i <= position; ++i) PostMessageA(menu, WM_KEYDOWN, VK_DOWN, 0);
  PostMessageA(menu, WM_KEYDOWN, VK_RETURN, 0);
  ASSERT_TRUE(Eventually([&] { return !IsWindowVisible(menu); }));
  game.Settle();
}

}  // namespace

TEST(GameMenu, OpensBelowItsButtonAndItsItemsDoWhatTheySay) {
  GameLauncher game;
  ASSERT_NE(game.window, nullptr) << game.launcher.Describe();
  game.Click(191);
  const HWND menu = game.WaitForMenu();
  ASSERT_NE(menu, nullptr) << game.launcher.Describe();
  const RECT button = WindowRect(game.Child(191)), shown = WindowRect(menu);
  EXPECT_EQ(shown.left, button.left);
  EXPECT_EQ(shown.top, button.bottom + 1);
  PostMessageA(menu, WM_KEYDOWN, VK_ESCAPE, 0);
  ASSERT_TRUE(Eventually([&] { return !IsWindowVisible(menu); }));
  game.Settle();

  Choose(game, 2);  // full screen
  EXPECT_EQ(WindowRect(game.window), (RECT{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)}));
  game.Key(VK_F11);
  EXPECT_EQ(WindowRect(game.window), WorkArea());

  Choose(game, 3);  // the version: nothing
  EXPECT_FALSE(game.launcher.WaitForMessageBox(300).has_value());
  EXPECT_EQ(WindowRect(game.window), WorkArea());

  Choose(game, 1);  // clear the cache, after asking
  auto box = game.launcher.WaitForMessageBox();
  ASSERT_TRUE(box.has_value());
  EXPECT_TRUE(IsQuestion(*box, "Clear it?", "Clear cache", game.window));
  box->Press(IDOK);
  ASSERT_TRUE(Eventually([&] { return !IsWindow(box->hwnd); }));
  game.Settle();
  EXPECT_FALSE(game.launcher.WaitForMessageBox(300).has_value());  // nothing shown afterwards

  Choose(game, 0);  // log in again, after the close question
  box = game.launcher.WaitForMessageBox();
  ASSERT_TRUE(box.has_value());
  EXPECT_TRUE(IsQuestion(*box, "Quit?", "Launcher", game.window));
  box->Press(IDCANCEL);
  ASSERT_TRUE(Eventually([&] { return !IsWindow(box->hwnd); }));
  EXPECT_TRUE(IsWindowVisible(game.window));
}

TEST(GameMenu, LoggingInAgainStartsANewLauncherAndEndsThisOne) {
  GameLauncher game;
  ASSERT_NE(game.window, nullptr) << game.launcher.Describe();
  PostMessageA(game.window, WM_KEYDOWN, VK_F5, 1);
  const auto box = game.launcher.WaitForMessageBox();
  ASSERT_TRUE(box.has_value()) << game.launcher.Describe();
  box->Press(IDOK);
  EXPECT_EQ(game.launcher.WaitForExit(), 0u);
  // The new launcher is this program again, without arguments: it opens
  // its own game window.
  HWND again = nullptr;
  EXPECT_TRUE(Eventually([&] {
    again = FindWindowA("#32770", "Game Test");
    DWORD owner = 0;
    GetWindowThreadProcessId(again, &owner);
    return again != nullptr && owner != game.launcher.Id() && GetDlgItem(again, 170) != nullptr;
  }));
  EndProcessesStartedBy(game.launcher.Id());
}
