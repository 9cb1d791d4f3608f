// The game window: a modal dialog without caption or border that draws its
// own frame from the sprite sheet, hosts the game page in a browser, and
// carries the configured title bar, a tray icon for the boss key, the
// settings menu and the function-key shortcuts. The game page reaches it
// through window.external; it tells the page about right-button presses.
#pragma once

#include <string>

#include "app/launcher_app.h"
#include "browser/client_call_win.h"
#include "browser/web_browser_ex_win.h"
#include "browser/web_page_win.h"
#include "game/frame_pieces_win.h"
#include "game/game_commands.h"
#include "game/game_tray_win.h"
#include "game/size_states.h"
#include "game/title_bar_win.h"
#include "win/dialog.h"

class CGameDialog : public win::Dialog, public IPageCommandTarget {
 public:
  CGameDialog();
  ~CGameDialog() override;

  // The address of the game page, cut to 255 bytes; set before the run.
  void SetStartAddress(const char* address);
  const char* StartAddress() const { return startAddress_; }

  // The actions of the title-bar buttons, the menus and the shortcuts.
  void MaximizeWindow();
  void RestoreWindow();
  void ToggleFullScreen();
  void Minimise();
  void ConfirmClose();
  void HideToTray();
  void ShowSettingsMenu();
  void Relogin();
  void ConfirmClearCache();

  // Places the title-bar buttons and the browser for the current state.
  void LayoutChildren();
  // The first title-bar button of `kind`, in creation order, or null.
  CSkinButton* FindButtonByKind(int kind) const { return titleBar_.FindButtonByKind(kind); }
  const std::string& TitleText() const { return titleBar_.TitleText(); }
  FrameState SizeState() const { return sizes_.State(); }
  bool TrayIconPresent() const { return tray_.Present(); }
  // The primary monitor's work area, in screen coordinates.
  static Rect WorkArea();

  // One page command, from the call's parameter block.
  void RunPageCommand(const DISPPARAMS* params) override;
  // Tells the page's ClientCallJs about a right-button event at a screen
  // position. Virtual so that what the window tells its page can be watched.
  virtual void NotifyPage(int code, int x, int y);

  bool PreTranslateMessage(MSG* message) override;

 protected:
  BOOL OnInitDialog() override;
  // Both OK and Cancel ask before the window closes.
  void OnOK() override { ConfirmClose(); }
  void OnCancel() override { ConfirmClose(); }
  bool OnCommand(WORD id, WORD code, HWND control) override;
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  // Initialisation from the work-area placement on; false at the first
  // step that fails, leaving the window as far as it came.
  bool Build();
  bool StartBrowser(const RECT& workArea);
  void RunAction(GameAction action);
  // Ends the run with OK, unasked.
  void Close();
  // Starts a new launcher and closes, unless the window is already closing.
  void RestartAndClose();

  // The frame (game_frame_win.cpp).
  LRESULT OnHitTest(LPARAM lParam) const;
  void OnSize(WPARAM kind);
  bool OnMouseMove(WPARAM keys, LPARAM lParam);
  void OnPaint();
  void EnterFullScreen();
  void LeaveFullScreen();
  bool OnTitleBarDoubleClick(POINT screen);
  RECT NormalRect() const;
  void SetNormalRect(const RECT& rect);

  // The tray (game_actions_win.cpp).
  bool AskToClose();
  LRESULT HandleTrayNotification(WPARAM iconId, LPARAM mouseMessage);
  void ShowTrayMenu();
  void OnTaskbarCreated();

  // Declared before the browser: the pages reach it for as long as the
  // browser shows them.
  GameDialogCallback bridge_{[]() -> IPageCommandTarget* { return App().GetGameWindow(); }};
  CWebBrowserEx browser_;
  char startAddress_[256] = {};
  FramePieces frame_;
  GameTitleBar titleBar_;
  ShortcutTable shortcuts_{};
  SizeStates sizes_;
  WINDOWPLACEMENT beforeFullScreen_{};
  MinimumSize minimum_;
  bool initialised_ = false;
  bool closing_ = false;
  HICON icon_ = nullptr;
  CWebPage page_;
  TitleBarDrag drag_;
  GameTray tray_;
  UINT taskbarCreated_ = 0;
};
