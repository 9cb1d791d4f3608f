// A skin's configuration read by the launcher's own code: the same reader,
// the same document, the same model, so that what the tool reports is what
// the launcher will do.
#pragma once

#include <memory>
#include <string>

#include "package/ini_document.h"
#include "package/launcher_config.h"
#include "skins/skin_source.h"

inline constexpr const char* kConfigMember = "config/cg.txt";

struct SkinConfig {
  std::string text;  // config/cg.txt's bytes as the launcher reads them
  IniDocument document;
  LauncherConfig model;
  bool accepted = false;  // BuildConfig's verdict: false when linkCount is missing or below 1
};

// Nothing when the skin has no config/cg.txt.
std::unique_ptr<SkinConfig> ReadSkinConfig(SkinSource& skin);
