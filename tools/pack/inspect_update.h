// What inspect says about updates: whether the skin's launcher installs only
// signed ones, and, for an exe about to be uploaded, the version it carries
// and whether its signature verifies.
#pragma once

#include <ostream>
#include <string>
#include <string_view>

#include "command_line.h"
#include "package/launcher_config.h"

// `program` is the exe's bytes, empty for a skin folder. Verifies the
// signature (--sig, or the exe's path + ".sig") when --key or --sig is given,
// against --key or else the exe's own updateKey. False with `error` when
// the signature cannot be read or there is no key to check it with.
bool WriteUpdateTrust(std::ostream& out, const CommandLine& line, const LauncherConfig* model,
                      std::string_view program, std::string* error);
