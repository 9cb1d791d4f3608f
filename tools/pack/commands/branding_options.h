// pack's --icon and version options, read and checked before anything is
// written: the icon file parsed, the texts in UTF-8, the versions numbers.
#pragma once

#include <optional>
#include <string>

#include "branding/program_branding.h"
#include "commands/command_line.h"

// The request, or nothing with `error` saying which option is wrong and why.
// Texts are taken as UTF-8, or as GBK when they are not UTF-8 (a terminal
// in a Chinese locale); a version defaults to the other one;
// OriginalFilename is the name of the exe written.
std::optional<BrandingRequest> ReadBrandingOptions(const CommandLine& line, std::string* error);
