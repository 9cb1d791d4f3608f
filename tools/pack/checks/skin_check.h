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
