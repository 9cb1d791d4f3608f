// Versions as an operator writes them and as the tool shows them: which
// texts the launcher compares as they are meant, and what a version file's
// first line is when it is no version at all.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "update/update_version.h"

// "1.2": the two numbers the launcher compares.
std::string VersionText(const Version& version);

// Dotted whole numbers ("1.02", "2"): the launcher reads every other text
// too, but as something else than meant ("v2" as 0.0, "1,01" as 1.0).
bool IsPlainVersion(std::string_view text);

// What a version file's first line is when it is not a version the launcher
// reads as meant: empty, a byte-order mark before the version, an HTML page,
// or another text; nothing for a plain version, which white space may
// surround.
std::optional<std::string> NotAVersionLine(std::string_view line);
