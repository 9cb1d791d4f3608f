#include "app/launcher_app.h"

#include <winsock2.h>
// Before GDI+, which needs the OLE types that a lean windows.h leaves out.
#include <ole2.h>
#include <commctrl.h>
#include <gdiplus.h>

#include "browser/browser_mode_win.h"
#include "common/text.h"
#include "common/texts.h"
#include "game/game_dialog_win.h"
#include "login/login_rules.h"
#include "login/login_window_win.h"
#include "package/load_outcome_win.h"
#include "update/file_system_win.h"
#include "update/system_process_win.h"
#include "update/update_leftovers.h"
#include "update/update_worker_win.h"
#include "win/text.h"

namespace {

// Windows Sockets 1.1 exactly, as the launcher has always asked for.
bool StartSockets() {
  WSADATA data{};
  return WSAStartup(MAKEWORD(1, 1), &data) == 0 && data.wVersion == MAKEWORD(1, 1);
}

}  // namespace

LauncherApp::LauncherApp() = default;
LauncherApp::~LauncherApp() = default;

LauncherApp& App() {
  static LauncherApp app;
  return app;
}

bool LauncherApp::StartUp() {
  InitCommonControls();
  // The framework's own per-instance set-up has nothing to do here: the
  // window layer keeps no application state.
  if (!StartSockets()) {
    MessageBoxW(nullptr, win::WideFromGbk(texts::kSocketsFailed).c_str(), win::ProgramCaption().c_str(),
                MB_OK | MB_ICONEXCLAMATION);
    return false;
  }
  // Hosting the browser control needs OLE on this thread.
  OleInitialize(nullptr);
  const Gdiplus::GdiplusStartupInput gdiplusInput;
  Gdiplus::GdiplusStartup(&gdiplusToken_, &gdiplusInput, nullptr);
  Win32FileSystem files;
  SystemProcess process;
  const UpdateLeftovers leftovers = RemoveUpdateLeftovers(files, process);
  afterUpdate_ = leftovers.scriptRemoved;
  // The update script runs at idle priority, which the launcher it started
  // would keep for the whole session.
  if (leftovers.scriptFound) LeaveIdlePriority();
  if (!LoadConfiguration()) return false;
  // Before any window: a launcher fetched while the game window was open
  // waits for this start. Ended here when it installs; when its script
  // never ran, this start tries nothing more.
  if (InstallWaitingUpdateAtStart(Config(), afterUpdate_) == WaitingUpdate::kScriptDidNotRun) afterUpdate_ = true;
  if (!LoadLoginBackground()) return false;
  RunWindows();
  return false;
}

// Loaded whatever window comes next: a skin without it is broken even when
// it goes straight to the game.
bool LauncherApp::LoadLoginBackground() {
  return ReportLoad(LoadPackagePicture(&holder_.package, kLoginBackgroundMember, &loginBackground_));
}

// One window after the other, each running to its end before the next is
// made: the game window alone when the configuration names the game page,
// otherwise the login window and, if its page handed over a game address,
// the game window on that address.
void LauncherApp::RunWindows() {
  // Before the first browser: its engine reads the mode when it starts.
  RegisterBrowserMode(Config());
  if (Config().firstUrl.size() > 2) {
    RunGameWindow(Config().firstUrl.c_str());
    return;
  }
  loginWindow_ = std::make_unique<CLauncherTranslucentDlg>(WindowSkin(), std::move(loginBackground_),
                                                          [this](const char* address) { SetGameAddress(address); });
  loginWindow_->DoModal();
  // The update worker may still run: from here on it never ends the
  // process (it keeps what it fetches for the next start), and a
  // replacement it has begun ends the process before anything else runs.
  ProcessEndingGate().GameBegins();
  if (gameAddress_[0] != '\0') RunGameWindow(gameAddress_);
}

INT_PTR LauncherApp::RunGameWindow(const char* startAddress) {
  gameWindowObject_ = std::make_unique<CGameDialog>(WindowSkin());
  gameWindowObject_->SetStartAddress(startAddress);
  gameWindow_ = gameWindowObject_.get();
  return gameWindow_->DoModal();
}

bool LauncherApp::LoadConfiguration() {
  return ReportLoad(OpenPackage(&holder_.programFile, &holder_.package)) &&
         ReportLoad(ReadConfigFile(&holder_.package, &holder_.document, "config/cg.txt")) &&
         BuildConfig(holder_.document, &holder_.config);
}

int LauncherApp::ShutDown() {
  // Every GDI+ object goes before GDI+ does: the windows hold pictures (the
  // login window its background), and this object itself outlives WinMain.
  gameWindow_ = nullptr;
  gameWindowObject_.reset();
  loginWindow_.reset();
  loginBackground_.reset();
  const bool picturesGone = PackagePicture::LiveCount() == 0;
  if (gdiplusToken_ == 0) return 0;
  // A picture still alive would crash in its destructor after the shutdown;
  // leaving GDI+ to the end of the process is harmless. The exit status,
  // which means nothing to whoever started the launcher, tells of it.
  if (picturesGone) Gdiplus::GdiplusShutdown(gdiplusToken_);
  gdiplusToken_ = 0;
  return picturesGone ? 0 : kExitPictureOutlivedWindows;
}

void LauncherApp::SetGameAddress(const char* address) {
  CopyToField(gameAddress_, sizeof gameAddress_, address, SkinTextEncoding(Config()));
}
