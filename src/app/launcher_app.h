// The application object: prepares the process, removes what a finished
// self-update left behind, opens the package, builds the configuration, and
// runs the windows one after another, each as a modal dialog on the main
// thread. It owns the configuration for the whole run.
#pragma once

#include <windows.h>

#include "package/attached_package.h"
#include "package/ini_document.h"
#include "package/launcher_config.h"
#include "package/package_file_win.h"
#include "package/package_images_win.h"
#include "package/skin.h"

#include <memory>

class CGameDialog;
class CLauncherTranslucentDlg;

// The exit status of a run whose windows left a picture behind for GDI+'s
// shutdown: a fault of the launcher that Windows' GDI+ would crash on.
inline constexpr int kExitPictureOutlivedWindows = 3;

// What start-up loads once and every window reads.
struct ConfigHolder {
  ProgramFile programFile;
  AttachedPackage package;
  IniDocument document;
  LauncherConfig config;
};

class LauncherApp {
 public:
  LauncherApp();
  ~LauncherApp();
  LauncherApp(const LauncherApp&) = delete;
  LauncherApp& operator=(const LauncherApp&) = delete;

  // The start-up sequence. Always false: there is no main loop after it.
  bool StartUp();
  // Its last two steps: the login background out of the package, then the
  // windows, one modal run after the other.
  bool LoadLoginBackground();
  void RunWindows();
  // The exit step: the windows go, then GDI+; returns the process exit
  // status: 0, or kExitPictureOutlivedWindows when a package picture was
  // still alive when it came to GDI+ (GDI+ is then left to the end of the
  // process).
  int ShutDown();

  // The address the login page handed over (GBK), cut to 255 bytes.
  void SetGameAddress(const char* address);
  const char* GameAddress() const { return gameAddress_; }
  // The game window being run; null before it exists and once exit began.
  CGameDialog* GetGameWindow() const { return gameWindow_; }
  // Creates the game window on `startAddress`, records it as the game
  // window and runs it to its end; answers the run's result.
  INT_PTR RunGameWindow(const char* startAddress);

  const ConfigHolder& Holder() const { return holder_; }
  ConfigHolder& Holder() { return holder_; }
  const LauncherConfig& Config() const { return holder_.config; }
  // What the windows are given of the holdings.
  Skin WindowSkin() { return Skin{&holder_.config, &holder_.package, afterUpdate_}; }
  // The login window's background, until the login window takes it.
  std::unique_ptr<PackagePicture> TakeLoginBackground() { return std::move(loginBackground_); }

 private:
  bool LoadConfiguration();

  ULONG_PTR gdiplusToken_ = 0;
  ConfigHolder holder_;
  std::unique_ptr<PackagePicture> loginBackground_;
  std::unique_ptr<CLauncherTranslucentDlg> loginWindow_;
  std::unique_ptr<CGameDialog> gameWindowObject_;
  CGameDialog* gameWindow_ = nullptr;
  char gameAddress_[256] = {};
  // The previous run started the update script (removed at this start), or
  // this start's own install of a waiting launcher found its script never
  // ran: this run tries no update.
  bool afterUpdate_ = false;
};

// The one application object of the process.
LauncherApp& App();
