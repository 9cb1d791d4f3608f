// The boss key and the tray icon of a packed launcher, driven as the shell
// drives them: the icon's notifications posted to the game window.
#include <gtest/gtest.h>

#include "game_driver.h"

using namespace testkit;

TEST(GameTray, TheBossKeyHidesTheWindowAndTheIconAlwaysBringsItBack) {
  GameLauncher game;
  ASSERT_NE(game.window, nullptr) << game.launcher.Describe();
  EXPECT_FALSE(IconPresent(game.window));
  game.Click(188);
  ASSERT_TRUE(Eventually([&] { return !IsWindowVisible(game.window); }));
  game.Settle();
  EXPECT_TRUE(IconPresent(game.window));

  // Moves, presses and other icons' notifications leave it hidden.
  for (LPARAM mouse : {WM_MOUSEMOVE, WM_LBUTTONDOWN, WM_RBUTTONDOWN}) game.Notify(128, mouse);
  game.Notify(127, WM_LBUTTONUP);
  EXPECT_FALSE(IsWindowVisible(game.window));
  game.Notify(128, WM_LBUTTONUP);
  EXPECT_TRUE(IsWindowVisible(game.window));
  EXPECT_TRUE(IconPresent(game.window));  // the icon stays

  // The exit menu dismissed while the window is hidden: the icon goes and
  // the window comes back, rather than being left with no way back.
  game.Key(VK_F9);
  EXPECT_FALSE(IsWindowVisible(game.window));
  PostMessageA(game.window, 2025, 128, WM_RBUTTONUP);
  const HWND menu = game.WaitForMenu();
  ASSERT_NE(menu, nullptr) << game.launcher.Describe();
  PostMessageA(menu, WM_KEYDOWN, VK_ESCAPE, 0);
  ASSERT_TRUE(Eventually([&] { return IsWindowVisible(game.window) != FALSE; }));
  EXPECT_FALSE(IconPresent(game.window));

  // A taskbar made anew (its icons lost) gets the icon back while the
  // window is hidden.
  const UINT taskbarCreated = RegisterWindowMessageA("TaskbarCreated");
  PostMessageA(game.window, taskbarCreated, 0, 0);
  game.Settle();
  EXPECT_FALSE(IconPresent(game.window));  // shown, without an icon: none needed
  game.Key(VK_F9);
  RemoveIcon(game.window);
  PostMessageA(game.window, taskbarCreated, 0, 0);
  game.Settle();
  EXPECT_TRUE(IconPresent(game.window));
  EXPECT_FALSE(IsWindowVisible(game.window));
  game.Notify(128, WM_LBUTTONDBLCLK);
  EXPECT_TRUE(IsWindowVisible(game.window));
  RemoveIcon(game.window);
}

TEST(GameTray, TheIconsExitAsksAndOnlyOkEndsTheLauncher) {
  GameLauncher game;
  ASSERT_NE(game.window, nullptr) << game.launcher.Describe();
  for (int answer : {IDCANCEL, IDOK}) {
    game.Key(VK_F9);
    ASSERT_FALSE(IsWindowVisible(game.window));
    PostMessageA(game.window, 2025, 128, WM_RBUTTONUP);
    const HWND menu = game.WaitForMenu();
    ASSERT_NE(menu, nullptr) << game.launcher.Describe();
    // Its one item, the configured exit text, chosen by keys.
    PostMessageA(menu, WM_KEYDOWN, VK_DOWN, 0);
    PostMessageA(menu, WM_KEYDOWN, VK_RETURN, 0);
    const auto box = game.launcher.WaitForMessageBox();
    ASSERT_TRUE(box.has_value()) << game.launcher.Describe();
    EXPECT_EQ(box->text, "Quit?");
    EXPECT_FALSE(IconPresent(game.window));  // gone as the menu closed
    box->Press(answer);
    if (answer == IDCANCEL) {
      ASSERT_TRUE(Eventually([&] { return !IsWindow(box->hwnd); }));
      game.Settle();
      EXPECT_TRUE(IsWindowVisible(game.window));  // back, without its icon
    }
  }
  EXPECT_EQ(game.launcher.WaitForExit(), 0u);
}
