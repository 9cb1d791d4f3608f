#include "game/game_tray_win.h"

#include <algorithm>
#include <cstring>
#include <string>

#include "game/game_commands.h"
#include "game/popup_menu_win.h"
#include "win/text.h"

// The wide record of the version-2 shell, as a 32-bit program sends it.
static_assert(sizeof(void*) != 4 || GameTray::kRecordSize == 936);

namespace {

// The icon's exit menu, one item (`label`, identifier IDCANCEL) at the
// cursor, owned by `window`. The window is brought to the foreground first,
// as menus of the notification area need to close when the player clicks
// elsewhere. True when the item was chosen.
bool TrackExitMenu(HWND window, const std::string& label, TextEncoding encoding) {
  POINT cursor{};
  GetCursorPos(&cursor);
  SetForegroundWindow(window);
  const UINT chosen = TrackPopup(window, cursor, {{IDCANCEL, label}}, encoding, TPM_RETURNCMD);
  // Lets the foreground change that closing the menu asked for happen.
  PostMessageA(window, WM_NULL, 0, 0);
  return chosen == IDCANCEL;
}

}  // namespace

GameTray::GameTray(const win::Window& window, HICON icon, const LauncherConfig& config,
                   std::function<bool()> windowClosing)
    : window_(window),
      icon_(icon),
      config_(config),
      windowClosing_(std::move(windowClosing)),
      taskbarCreated_(RegisterWindowMessageA("TaskbarCreated")) {}

void GameTray::HideWindow() {
  AddIcon();
  ShowWindow(Window(), SW_HIDE);
}

std::optional<LRESULT> GameTray::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == kTrayMessage) return OnNotification(wParam, lParam);
  // A hidden window has no focus to lose: a cancel that reaches it while
  // its exit menu is up is about the focus it gave up when it was hidden,
  // which the window system may report late on a busy machine (Wine's X11
  // driver cancels the foreground window's menus on every focus-out), and
  // would take the menu away before the player saw it. The player's own
  // click elsewhere or Escape still closes the menu.
  if (message == WM_CANCELMODE && menuUp_ && !IsWindowVisible(Window())) return 0;
  if (message == taskbarCreated_ && taskbarCreated_ != 0) OnTaskbarCreated();
  return std::nullopt;
}

bool GameTray::AddIcon() {
  const std::wstring tip = win::WideFromSkin(TrayTip(config_), SkinTextEncoding(config_));
  record_ = {};
  record_.cbSize = kRecordSize;
  record_.hWnd = Window();
  record_.uID = kTrayIconId;
  record_.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
  record_.uCallbackMessage = kTrayMessage;
  record_.hIcon = icon_;
  constexpr std::size_t kTipRoom = sizeof record_.szTip / sizeof record_.szTip[0] - 1;
  std::memcpy(record_.szTip, tip.data(), std::min(tip.size(), kTipRoom) * sizeof(wchar_t));
  const bool added = Shell_NotifyIconW(NIM_ADD, &record_) != FALSE;
  present_ = present_ || added;
  return added;
}

void GameTray::RemoveIcon() {
  if (record_.cbSize != 0) Shell_NotifyIconW(NIM_DELETE, &record_);
  present_ = false;
}

LRESULT GameTray::OnNotification(WPARAM iconId, LPARAM mouseMessage) {
  switch (OnTrayNotification(iconId, static_cast<unsigned>(mouseMessage))) {
    case TrayResponse::kNotOurs: return 1;
    case TrayResponse::kNothing: break;
    case TrayResponse::kShowWindow: ShowWindow(Window(), SW_SHOW); break;
    case TrayResponse::kExitMenu: ShowExitMenu(); break;
  }
  return 0;
}

void GameTray::ShowExitMenu() {
  // The choice is taken back here rather than posted, so that the window
  // knows whether it is closing before it decides to show itself again.
  menuUp_ = true;
  const bool exitChosen = TrackExitMenu(Window(), config_.notifyCloseTitle, SkinTextEncoding(config_));
  menuUp_ = false;
  RemoveIcon();
  if (exitChosen) SendMessageA(Window(), WM_COMMAND, MAKEWPARAM(IDCANCEL, 0), 0);
  if (ShowAfterTrayMenu(!IsWindowVisible(Window()), windowClosing_())) ShowWindow(Window(), SW_SHOW);
}

void GameTray::OnTaskbarCreated() {
  if (!windowClosing_() && AddIconAgain(present_, !IsWindowVisible(Window()))) AddIcon();
}
