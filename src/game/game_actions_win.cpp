// What the game window does for its buttons, menus and shortcuts beyond the
// size states: closing, the boss key and its tray icon, the settings menu,
// logging in again and clearing the browser cache.
#include "game/game_dialog_win.h"
#include "game/popup_menu_win.h"
#include "game/title_bar.h"
#include "game/url_cache_win.h"
#include "win/text.h"

bool CGameDialog::AskToClose() {
  return win::AskOkCancel(Handle(), App().Config().closeMsg, win::ProgramFileTitle());
}

void CGameDialog::ConfirmClose() {
  if (AskToClose()) Close();
}

void CGameDialog::Relogin() {
  if (!closing_ && AskToClose()) RestartAndClose();
}

void CGameDialog::ConfirmClearCache() {
  const LauncherConfig& config = App().Config();
  if (win::AskOkCancel(Handle(), config.clearFlashMsg, config.clearFlashTitle)) ClearUrlCache();
}

void CGameDialog::HideToTray() {
  tray_.Add(Handle(), icon_, TrayTip(App().Config()));
  ShowWindow(Handle(), SW_HIDE);
}

void CGameDialog::ShowSettingsMenu() {
  POINT at{};
  if (const CSkinButton* button = FindButtonByKind(kButtonSettings)) {
    RECT r{};
    GetWindowRect(button->Handle(), &r);
    at = {r.left, r.bottom + 1};
  } else {
    // A shortcut bound through a settings record that made no button has
    // no button to open below: the menu opens at the pointer.
    GetCursorPos(&at);
  }
  TrackPopup(Handle(), at, SettingsMenuEntries(App().Config()), 0);
}

LRESULT CGameDialog::HandleTrayNotification(WPARAM iconId, LPARAM mouseMessage) {
  switch (OnTrayNotification(iconId, static_cast<unsigned>(mouseMessage))) {
    case TrayResponse::kNotOurs: return 1;
    case TrayResponse::kNothing: break;
    case TrayResponse::kShowWindow: ShowWindow(Handle(), SW_SHOW); break;
    case TrayResponse::kExitMenu: ShowTrayMenu(); break;
  }
  return 0;
}

void CGameDialog::ShowTrayMenu() {
  // The choice is taken back here rather than posted, so that the window
  // knows whether it is closing before it decides to show itself again.
  const bool exitChosen = TrackTrayMenu(Handle(), App().Config().notifyCloseTitle);
  tray_.Remove();
  if (exitChosen) SendMessageA(Handle(), WM_COMMAND, MAKEWPARAM(IDCANCEL, 0), 0);
  if (ShowAfterTrayMenu(!IsWindowVisible(Handle()), closing_)) ShowWindow(Handle(), SW_SHOW);
}

void CGameDialog::OnTaskbarCreated() {
  if (!closing_ && AddIconAgain(tray_.Present(), !IsWindowVisible(Handle())))
    tray_.Add(Handle(), icon_, TrayTip(App().Config()));
}
