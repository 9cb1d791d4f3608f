// What the windows read of what start-up loaded: the configuration model and
// the open package its pictures come from. Start-up owns both for the whole
// run; a window is given them when it is made and only reads them.
#pragma once

#include "package/attached_package.h"
#include "package/launcher_config.h"

struct Skin {
  const LauncherConfig* config = nullptr;
  AttachedPackage* package = nullptr;
  // Start-up removed the update script of the previous run, or its own
  // install of a waiting launcher never got its script to run: this run
  // checks for no update, so that a replacement the system refused is never
  // retried in a loop of downloads and restarts.
  bool afterUpdate = false;

  const LauncherConfig& Config() const { return *config; }
  AttachedPackage* Package() const { return package; }
};
