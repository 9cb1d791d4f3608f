#include "game_driver.h"

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

namespace {

bool Pushed(HWND button) {
  DWORD_PTR state = 0;
  SendMessageTimeoutA(button, BM_GETSTATE, 0, 0, SMTO_NORMAL, 5000, &state);
  return (state & BST_PUSHED) != 0;
}

}  // namespace

bool GameLauncher::Idle() {
  if (!launcher.WaitUntilIdle(window)) return false;
  // Sent to the window's thread, so done when this returns.
  return RedrawWindow(window, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN) != FALSE;
}

bool GameLauncher::Settle() {
  // Posted messages are handled in order: a pushed state posted to the
  // close button after them shows once they are done.
  const HWND marker = Child(185);
  if (marker == nullptr) return Idle();
  PostMessageA(marker, BM_SETSTATE, TRUE, 0);
  const bool done = Eventually([&] { return Pushed(marker); });
  PostMessageA(marker, BM_SETSTATE, FALSE, 0);
  return done && Eventually([&] { return !Pushed(marker); });
}

void GameLauncher::Key(UINT key, bool system, bool alt) {
  const LPARAM flags = alt ? (1 << 29) : 0;
  PostMessageA(window, system ? WM_SYSKEYDOWN : WM_KEYDOWN, key, flags | 1);
  PostMessageA(window, system ? WM_SYSKEYUP : WM_KEYUP, key, flags | 0xC0000001);
  Settle();
}

void GameLauncher::Notify(WPARAM icon, LPARAM mouse) {
  PostMessageA(window, 2025, icon, mouse);
  Settle();
}

HWND GameLauncher::WaitForMenu() {
  return launcher.WaitForWindow([](HWND w) { return ClassName(w) == "#32768"; }, 10000);
}

RECT WorkArea() {
  RECT work{};
  SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
  return work;
}

RECT CentredGameRect() {
  const RECT work = WorkArea();
  const int x = (work.right - work.left - kGameWidth) / 2, y = (work.bottom - work.top - kGameHeight) / 2;
  return {x, y, x + kGameWidth, y + kGameHeight};
}

void GameLauncher::Click(int id) {
  // What an earlier step started (a restore moves the window first and its
  // buttons after) is over before the click finds its button.
  Settle();
  // Not settled afterwards: the marker is a posted message, which the
  // launcher takes before input still queued, and a marker on the button
  // being clicked would lift it between press and release.
  ClickCentre(Child(id));
}

void GameLauncher::Drag(POINT from, std::initializer_list<POINT> steps) {
  // The launcher takes each step before the next comes, as from a hand
  // slower than the test.
  MovePointer(from);
  Idle();
  PressLeft(from, true);
  Idle();
  POINT last = from;
  for (POINT step : steps) {
    MovePointer(last = step);
    Idle();
  }
  PressLeft(last, false);
  Idle();
}

bool Eventually(const std::function<bool()>& done) { return PumpUntil(done, 10000); }

}  // namespace testkit
