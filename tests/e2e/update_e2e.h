// What the end-to-end tests of the self-update share: a packed launcher of a
// given version that asks a loopback server, and a look at the files its
// checks leave in its directory.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "launcher_driver.h"

namespace testkit {

// `program` with a package whose login window is titled "Launcher <version>"
// and whose check asks 127.0.0.1:<port> for /static/version.txt and
// /static/Launcher_new.exe.
Bytes PackedLauncher(const Bytes& program, const std::string& version, int port);

// Starts `program` as `exeName` in a fresh directory.
std::unique_ptr<LauncherProcess> StartLauncherAs(const Bytes& program, const std::string& exeName,
                                                 LaunchOptions options = {});

// Names of the files in `dir` that end with `suffix` (all for an empty one).
std::vector<std::string> FilesEndingWith(const TempDir& dir, const std::string& suffix);

}  // namespace testkit
