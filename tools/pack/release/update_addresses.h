// The addresses a launcher asks its update server for, built by the
// launcher's own rule from the configuration: its version file, a newer
// launcher and that launcher's signature.
#pragma once

#include <optional>
#include <ostream>
#include <string>

#include "package/launcher_config.h"

inline constexpr const char* kSignatureSuffix = ".sig";

struct UpdateAddresses {
  std::string versionFile;
  std::string launcher;
  std::string signature;  // fetched only when updateKey is set
};

// Nothing when the configuration names no server: then the launcher asks
// for nothing.
std::optional<UpdateAddresses> AddressesOf(const LauncherConfig& model);

// The addresses, one a line, each with what it is, the signature's only
// when the configuration asks for one. Texts are GBK converted for the
// terminal, control characters escaped.
void WriteAddresses(std::ostream& out, const std::optional<UpdateAddresses>& addresses, bool signedUpdates);
