// The game window: a modal dialog without caption or border that hosts the
// game page in a browser. It composes its frame (pieces, size states and the
// pointer on the frame), its title bar and its tray icon, and keeps for
// itself what ties them together: the commands of the buttons, menus and
// function-key shortcuts, the settings menu, closing, and the page, which
// reaches it through window.external and hears of right-button presses.
#pragma once

#include <string>

#include "app/launcher_app.h"
#include "browser/client_call_win.h"
#include "browser/web_browser_ex_win.h"
#include "browser/web_page_win.h"
#include "game/game_commands.h"
#include "game/game_frame_win.h"
#include "game/game_tray_win.h"
#include "game/title_bar_win.h"
#include "package/skin.h"
#include "win/dialog.h"

class CGameDialog : public win::Dialog, public IPageCommandTarget {
 public:
  // Reads the configuration and the package from `skin`, which outlives
  // the window.
  explicit CGameDialog(const Skin& skin);
  ~CGameDialog() override;

  // The address of the game page, cut to 255 bytes; set before the run.
  void SetStartAddress(const char* address);
  const char* StartAddress() const { return startAddress_; }

  // The actions of the title-bar buttons, the menus and the shortcuts.
  void MaximizeWindow() { frame_.Maximise(); }
  void RestoreWindow() { frame_.Restore(); }
  void ToggleFullScreen() { frame_.ToggleFullScreen(); }
  void Minimise();
  void ConfirmClose();
  void HideToTray() { tray_.HideWindow(); }
  void ShowSettingsMenu();
  void Relogin();
  void ConfirmClearCache();

  // The first title-bar button of `kind`, in creation order, or null.
  CSkinButton* FindButtonByKind(int kind) const { return titleBar_.FindButtonByKind(kind); }
  std::string TitleText() const { return titleBar_.TitleText(); }
  const std::wstring& WideTitleText() const { return titleBar_.WideTitleText(); }
  FrameState SizeState() const { return frame_.State(); }
  // The scale the window is laid out at: 96 DPI (physical pixels) unless
  // the skin takes the display's scale.
  const DisplayScale& Scale() const { return scale_; }
  HFONT TitleFont() const { return titleBar_.TitleFont(); }
  bool TrayIconPresent() const { return tray_.IconPresent(); }
  std::wstring TrayTip() const { return tray_.Tip(); }
  // True from the end of the set-up until the browser has been made (or
  // failed to be): the window is on screen and its page not yet there.
  bool BrowserPending() const { return browserDue_; }
  // The message the window posts to itself once it is shown, to make its
  // browser when it comes.
  static constexpr UINT kMakeBrowserMessage = WM_APP + 1;

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
  // A skin that takes the display's scale lays the window out again for
  // the new DPI; others keep their physical pixels.
  void OnDpiChanged(int dpi, const RECT& suggested) override;

 private:
  // Initialisation from the work-area placement on; false at the first
  // step that fails, leaving the window as far as it came.
  bool Build();
  // Asks, once, for the browser to be made: from the message loop, after
  // the shown window has been painted, whether or not it paints at all.
  void RequestBrowser();
  // Makes the browser where the frame now wants it and starts its page.
  void MakeBrowser();
  bool StartBrowser();
  void RunAction(GameAction action);
  bool AskToClose();
  // Ends the run with OK, unasked.
  void Close();
  // Starts a new launcher and closes, unless the window is already closing.
  void RestartAndClose();
  void OnPaint();

  const Skin skin_;
  DisplayScale scale_;
  // Declared before the browser: the pages reach it for as long as the
  // browser shows them. The page reaches the window that is running, which
  // only the application knows.
  GameDialogCallback bridge_{[]() -> IPageCommandTarget* { return App().GetGameWindow(); }};
  CWebBrowserEx browser_;
  RECT browserRect_{};  // where it is made: inside the frame over the work area
  bool browserDue_ = false;
  bool browserRequested_ = false;
  char startAddress_[256] = {};
  GameTitleBar titleBar_;
  GameFrame frame_{*this, titleBar_, browser_};
  ShortcutTable shortcuts_{};
  bool closing_ = false;
  HICON icon_ = nullptr;
  CWebPage page_;
  GameTray tray_;
};
