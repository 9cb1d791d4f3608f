#include <windows.h>

#include "app/launcher_app.h"

// The launcher takes no arguments: everything it needs is in its own file.
int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  LauncherApp& app = App();
  app.StartUp();
  return app.ShutDown();
}
