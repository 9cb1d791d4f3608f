// pack's --icon and version options, read and checked before anything is
// written: the icon file parsed, the texts in UTF-8, the versions numbers.
#pragma once

#include <filesystem>
#include <optional>
#include <string>

#include "branding/program_branding.h"
#include "commands/command_line.h"
#include "package/launcher_config.h"

// The request, or nothing with `error` saying which option is wrong and why.
// Texts are taken as UTF-8, or as GBK when they are not UTF-8 (a terminal
// in a Chinese locale); a version defaults to the other one;
// OriginalFilename is the name of the exe written.
std::optional<BrandingRequest> ReadBrandingOptions(const CommandLine& line, std::string* error);

// The version information a launcher gets when no option gives one, so that
// Explorer's details are never empty: the skin's title as the product name,
// its version as file and product version (the numbers as the launcher reads
// them, 1.02 as 1.2.0.0). Nothing when the skin has neither.
std::optional<VersionInfo> VersionFromSkin(const LauncherConfig& model, const std::filesystem::path& output);
