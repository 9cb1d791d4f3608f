// The game window's way back from the boss key: the tray icon (icon 128 of
// the program, notifying the window with message 2025, the first 64 bytes of
// [global] notityTitle as its tip), its exit menu, and the icon put back
// when the shell's taskbar is made anew. Which notification does what is the
// core's decision (game_commands); this carries it out.
#pragma once

#include <windows.h>
// After windows.h, whose types it uses.
#include <shellapi.h>

#include <functional>
#include <optional>
#include <string>
#include <utility>

#include "package/launcher_config.h"
#include "win/window.h"

class GameTray {
 public:
  // The record's size as shells since version 5 know it: the 128-character
  // tip and the balloon fields, in UTF-16 so that the tip shows its Chinese
  // on any system.
  static constexpr DWORD kRecordSize = NOTIFYICONDATAW_V2_SIZE;

  // The icon belongs to `window`, shows `icon` and takes its texts from
  // `config`; `windowClosing` says whether the window is on its way out,
  // when it must not come back. It keeps the references.
  GameTray(const win::Window& window, HICON icon, const LauncherConfig& config, std::function<bool()> windowClosing);
  GameTray(const GameTray&) = delete;
  GameTray& operator=(const GameTray&) = delete;

  // The boss key: the icon (a second add while it is there changes
  // nothing: the shell keeps one icon), then the window hidden.
  void HideWindow();
  bool IconPresent() const { return present_; }
  // The tip as last handed to the shell.
  std::wstring Tip() const { return record_.szTip; }

  // The icon's notifications and the shell's TaskbarCreated: an answer for
  // the icon's message, nothing when the window's default handling goes on.
  std::optional<LRESULT> HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);

 private:
  HWND Window() const { return window_.Handle(); }
  // False when the shell refused the icon.
  bool AddIcon();
  void RemoveIcon();
  LRESULT OnNotification(WPARAM iconId, LPARAM mouseMessage);
  void ShowExitMenu();
  void OnTaskbarCreated();

  const win::Window& window_;
  const HICON icon_;
  const LauncherConfig& config_;
  const std::function<bool()> windowClosing_;
  const UINT taskbarCreated_;
  NOTIFYICONDATAW record_{};
  bool present_ = false;
  bool menuUp_ = false;  // the exit menu is being tracked
};
