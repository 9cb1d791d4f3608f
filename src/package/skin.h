// What the windows read of what start-up loaded: the configuration model and
// the open package its pictures come from. Start-up owns both for the whole
// run; a window is given them when it is made and only reads them.
#pragma once

#include "package/attached_package.h"
#include "package/launcher_config.h"

struct Skin {
  const LauncherConfig* config = nullptr;
  AttachedPackage* package = nullptr;

  const LauncherConfig& Config() const { return *config; }
  AttachedPackage* Package() const { return package; }
};
