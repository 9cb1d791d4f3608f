// pack's --icon and version options, read and checked before anything is
// written: the icon file parsed, the texts in UTF-8, the versions numbers.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "branding/program_branding.h"
#include "commands/command_line.h"
#include "package/launcher_config.h"

// The version options given, checked: texts in UTF-8 by their resource key
// (ProductName, ...), the versions as numbers.
struct VersionOptions {
  std::vector<std::pair<std::string, std::string>> texts;
  std::optional<VersionNumber> fileVersion, productVersion;
};

struct BrandingOptions {
  BrandingRequest request;  // the icon and --replace; the version information follows from the skin
  VersionOptions version;
};

// The options, or nothing with `error` saying which is wrong and why. Texts
// are taken as UTF-8, or as GBK when they are not UTF-8 (a terminal in a
// Chinese locale).
std::optional<BrandingOptions> ReadBrandingOptions(const CommandLine& line, std::string* error);

// The version information a launcher gets, so that Explorer's details are
// never empty: each field an option gives, and each other from the skin:
// its title as the product name and the description, its version as file
// and product version (the numbers as the launcher reads them, 1.02 as
// 1.2.0.0), or, where the skin has no version, the other version given.
// OriginalFilename is the name of the exe written. Nothing when neither the
// options nor the skin give anything.
std::optional<VersionInfo> VersionInformation(const LauncherConfig& model, const VersionOptions& given,
                                              const std::filesystem::path& output);

// Why --file-version is not the version the launcher compares, the skin's
// `version`, for a warning; nothing when they agree or either is missing.
std::optional<std::string> FileVersionDisagrees(const LauncherConfig& model, const VersionOptions& given);
