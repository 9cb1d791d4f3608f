#include <windows.h>

#include <array>

#include "app/launcher_app.h"

// The launcher's mark (launcher_mark.cpp). The linker drops what no code
// reaches, so the program reads it once.
extern const std::array<char, 16> kLauncherImageMark;

// The launcher takes no arguments: everything it needs is in its own file.
int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  [[maybe_unused]] const volatile char mark = kLauncherImageMark[0];
  LauncherApp& app = App();
  app.StartUp();
  return app.ShutDown();
}
