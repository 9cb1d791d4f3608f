#include "game_driver.h"

#include <gtest/gtest.h>

namespace testkit {

GameLauncher::GameLauncher(const GameSkinOptions& options, bool waitForGame) : launcher(GameSkin(options)) {
  if (waitForGame) WaitForGameWindow();
}

HWND GameLauncher::WaitForGameWindow() {
  window = launcher.WaitForWindow(
      [](HWND w) { return ClassName(w) == "#32770" && WindowText(w) == "Game Test" && GetDlgItem(w, 170) != nullptr; });
  if (window != nullptr && !Idle()) window = nullptr;
  return window;
}

RECT GameLauncher::ChildRect(int id) const {
  RECT r = WindowRect(Child(id));
  MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&r), 2);
  return r;
}

bool GameLauncher::Idle() {
  if (!launcher.WaitUntilIdle(window)) return false;
  // Sent to the window's thread, so done when this returns.
  return RedrawWindow(window, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN) != FALSE;
}

bool GameLauncher::Settle() {
  // The close button marks what was posted before it.
  const HWND marker = Child(185);
  return marker != nullptr ? HandledWhatWasPosted(marker) : Idle();
}

void GameLauncher::Key(UINT key, bool system, bool alt) {
  const LPARAM flags = alt ? (1 << 29) : 0;
  PostMessageA(window, system ? WM_SYSKEYDOWN : WM_KEYDOWN, key, flags | 1);
  PostMessageA(window, system ? WM_SYSKEYUP : WM_KEYUP, key, flags | 0xC0000001);
  if (!Settle()) ADD_FAILURE() << "the launcher did not handle the key 0x" << std::hex << key;
}

void GameLauncher::Notify(WPARAM icon, LPARAM mouse) {
  PostMessageA(window, 2025, icon, mouse);
  if (!Settle()) ADD_FAILURE() << "the launcher did not handle the tray notification " << mouse;
}

HWND GameLauncher::WaitForMenu() {
  return launcher.WaitForWindow([](HWND w) { return ClassName(w) == "#32768"; }, 10000);
}

RECT CentredGameRect() {
  const RECT work = WorkArea();
  const int x = (work.right - work.left - kGameWidth) / 2, y = (work.bottom - work.top - kGameHeight) / 2;
  return {x, y, x + kGameWidth, y + kGameHeight};
}

void GameLauncher::Click(int id) {
  // What an earlier step started (a restore moves the window first and its
  // buttons after) is over before the click finds its button.
  if (!Settle()) ADD_FAILURE() << "the launcher did not settle before the click on " << id;
  // Not settled afterwards: the marker is a posted message, which the
  // launcher takes before input still queued, and a marker on the button
  // being clicked would lift it between press and release.
  ClickCentre(Child(id));
}

void GameLauncher::Drag(POINT from, std::initializer_list<POINT> steps) {
  // The launcher takes each step before the next comes, as from a hand
  // slower than the test.
  const auto taken = [this] {
    if (!Idle()) ADD_FAILURE() << "the launcher did not take a step of the drag";
  };
  MovePointer(from);
  taken();
  PressLeft(from, true);
  taken();
  POINT last = from;
  for (POINT step : steps) {
    MovePointer(last = step);
    taken();
  }
  PressLeft(last, false);
  taken();
}

bool Eventually(const std::function<bool()>& done) { return PumpUntil(done, 10000); }

}  // namespace testkit
