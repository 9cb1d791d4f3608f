// The game window's tray icon, its way back from the boss key: icon 128 of
// the program, notifying the window with message 2025, with the first 64
// bytes of [global] notityTitle as its tip.
#pragma once

#include <windows.h>
// After windows.h, whose types it uses.
#include <shellapi.h>

#include <string>

class GameTray {
 public:
  // The record's size as shells since version 5 know it: 488 bytes, the
  // 128-byte tip and the balloon fields.
  static constexpr DWORD kRecordSize = NOTIFYICONDATAA_V2_SIZE;

  // Adds the icon for `window` (a second add while it is there changes
  // nothing: the shell keeps one icon). False when the shell refused it.
  bool Add(HWND window, HICON icon, const std::string& tip);
  // Removes the icon, if there is one.
  void Remove();
  bool Present() const { return present_; }

 private:
  NOTIFYICONDATAA record_{};
  bool present_ = false;
};

// The icon's exit menu, one item (`label`, identifier IDCANCEL) at the
// cursor, owned by `window`. The window is brought to the foreground first,
// as menus of the notification area need to close when the player clicks
// elsewhere. True when the item was chosen.
bool TrackTrayMenu(HWND window, const std::string& label);
