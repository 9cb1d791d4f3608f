// Whether a downloaded file can be a launcher at all, checked before it is
// allowed to replace the running one: a server may answer 200 with an error
// page, a captive portal's login form or an empty body.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>

// True for a 32-bit x86 PE image ("MZ", the "PE\0\0" signature at the offset
// stored at 0x3C, machine 0x14C; a 64-bit build of the launcher takes its own
// machine, 0x8664) with a package appended that opens and from which
// config/cg.txt reads whole.
bool IsLauncherImage(std::span<const std::uint8_t> file);

// The [global] version the image's own package carries, exactly as that
// launcher will read it when it starts (the text field cut to its width);
// nothing when the file is no launcher image or its configuration is one the
// launcher would refuse to start with. An update must carry a newer version
// than the running launcher, or it would find itself outdated and fetch
// itself again on every start, and an old file replayed by the network would
// roll players back.
std::optional<std::string> LauncherImageVersion(std::span<const std::uint8_t> file);
