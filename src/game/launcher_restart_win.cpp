#include "game/launcher_restart_win.h"

#include "win/process.h"

bool StartNewLauncherInstance() {
  const auto path = win::ProgramPath();
  return path && static_cast<bool>(win::StartProgram(*path));
}
