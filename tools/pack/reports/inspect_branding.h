// What Explorer, the taskbar and the task manager show of a program: the
// launcher's icon group and the version information, as inspect lists
// them, read from the exe's resources.
#pragma once

#include <nlohmann/json.hpp>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "branding/icon_file.h"
#include "branding/version_resource.h"

struct ProgramBranding {
  std::optional<std::vector<IconImage>> icon;  // the launcher's icon group; nothing when it has none
  std::optional<VersionInfo> version;          // nothing when it has none or it cannot be read
  std::string unreadable;                      // why the resources could not be read; then nothing is known
};

ProgramBranding FindBranding(std::string_view program);

void WriteBrandingText(std::ostream& out, const ProgramBranding& branding);
// Adds "icon": [{"width", "height", "bitCount", "png"}] or null, and
// "versionInformation": {"fileVersion", "productVersion", "language",
// "texts": {key: text}} or null, to the report.
void AddBrandingJson(nlohmann::ordered_json& report, const ProgramBranding& branding);
