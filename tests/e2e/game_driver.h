// A packed launcher whose game window a test drives from outside, as the
// player and the shell would: clicks and keys, tray notifications, menus.
#pragma once

#include <windows.h>

#include <functional>

#include "game_skin.h"
#include "launcher_driver.h"
#include "tray_probe.h"

namespace testkit {

struct GameLauncher {
  // Starts the launcher; with `waitForGame`, waits until its game window
  // is there and serves messages.
  explicit GameLauncher(const GameSkinOptions& options = {}, bool waitForGame = true);

  // Waits for the game window (a dialog with the game's browser, 170).
  HWND WaitForGameWindow();
  // A child of the game window by control identifier, and its rectangle in
  // the window's client coordinates.
  HWND Child(int id) const { return GetDlgItem(window, id); }
  RECT ChildRect(int id) const;
  // Waits until the launcher serves messages again and has painted what
  // waits to be painted: a paint comes only once the queue is empty, so a
  // window just moved may still show its old picture when it answers.
  bool Idle();
  // Waits until the launcher has handled every message posted to it so far
  // (a launcher that answers a sent message may still hold posted ones).
  // Not input: the launcher takes posted messages before queued input.
  bool Settle();
  // Posts a key, as the keyboard sends it (a system key for `system`, with
  // Alt held for `alt`), and waits until it has been handled.
  void Key(UINT key, bool system = false, bool alt = false);
  // The shell's notification of the tray icon `icon` with `mouse`, handled.
  void Notify(WPARAM icon, LPARAM mouse);
  // A real click on the child `id`, once the launcher has done what came
  // before; returns once the click is queued (wait for its effect).
  void Click(int id);
  // Real input: the left button pressed at `from`, the pointer moved
  // through `steps`, released at the last one; the launcher takes each
  // before the next comes.
  void Drag(POINT from, std::initializer_list<POINT> steps);
  // The launcher's visible pop-up menu, once there.
  HWND WaitForMenu();

  LauncherProcess launcher;
  HWND window = nullptr;  // the game window once it serves messages, or null
};

// The first restore's rectangle: the configured size centred.
RECT CentredGameRect();
// Waits for `done`, a bound for failures only.
bool Eventually(const std::function<bool()>& done);

}  // namespace testkit
