// Everything in a skin that would make the launcher stop or misbehave, found
// by reading the skin with the launcher's own code.
#pragma once

#include <vector>

#include "checks/finding.h"
#include "skins/skin_source.h"

struct CheckOptions {
  // The configuration was UTF-8 and has been converted (pack and check with
  // --from-utf8): its encoding is then no finding.
  bool convertedFromUtf8 = false;
};

std::vector<Finding> CheckSkin(SkinSource& skin, const CheckOptions& options = {});

// The findings about the skin's update channel alone (its server, the paths
// after it, its version and key), as check reports them: release refuses a
// skin with an error among them before it writes anything. Nothing for a
// skin without config/cg.txt.
std::vector<Finding> CheckUpdateChannel(SkinSource& skin);
