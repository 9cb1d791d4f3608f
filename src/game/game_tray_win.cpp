#include "game/game_tray_win.h"

#include <algorithm>
#include <cstring>

#include "game/game_commands.h"
#include "game/popup_menu_win.h"

// The record of the version-2 shell, as the 32-bit launcher has always sent it.
static_assert(sizeof(void*) != 4 || GameTray::kRecordSize == 488);

bool GameTray::Add(HWND window, HICON icon, const std::string& tip) {
  record_ = {};
  record_.cbSize = kRecordSize;
  record_.hWnd = window;
  record_.uID = kTrayIconId;
  record_.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
  record_.uCallbackMessage = kTrayMessage;
  record_.hIcon = icon;
  std::memcpy(record_.szTip, tip.data(), std::min(tip.size(), sizeof record_.szTip - 1));
  const bool added = Shell_NotifyIconA(NIM_ADD, &record_) != FALSE;
  present_ = present_ || added;
  return added;
}

void GameTray::Remove() {
  if (record_.cbSize != 0) Shell_NotifyIconA(NIM_DELETE, &record_);
  present_ = false;
}

bool TrackTrayMenu(HWND window, const std::string& label) {
  POINT cursor{};
  GetCursorPos(&cursor);
  SetForegroundWindow(window);
  const UINT chosen = TrackPopup(window, cursor, {{IDCANCEL, label}}, TPM_RETURNCMD);
  // Lets the foreground change that closing the menu asked for happen.
  PostMessageA(window, WM_NULL, 0, 0);
  return chosen == IDCANCEL;
}
