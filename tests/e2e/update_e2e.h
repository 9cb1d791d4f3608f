// What the end-to-end tests of the self-update share: a packed launcher of a
// given version that asks a loopback server, and a look at the files its
// checks leave in its directory.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "launcher_driver.h"
#include "update_test_server.h"

namespace testkit {

// `program` with a package whose login window is titled "Launcher <version>"
// and whose check asks 127.0.0.1:<port> for /static/version.txt and
// /static/Launcher_new.exe.
Bytes PackedLauncher(const Bytes& program, const std::string& version, int port);

// Starts `program` as `exeName` in a fresh directory.
std::unique_ptr<LauncherProcess> StartLauncherAs(const Bytes& program, const std::string& exeName,
                                                 LaunchOptions options = {});

// Where PackedLauncher's check asks.
inline constexpr char kVersionPath[] = "/static/version.txt";
inline constexpr char kExePath[] = "/static/Launcher_new.exe";

// An answer with `body` and `status`.
Route Text(const std::string& body, int status = 200);
Route Program(const Bytes& program);

// How often the server was asked for `path`.
std::size_t RequestsFor(const UpdateTestServer& server, const std::string& path);

// The launcher's top-level window titled `title`, once it serves messages
// again; null if it never shows or never settles.
HWND IdleLoginWindow(LauncherProcess& launcher, const std::string& title = "Launcher 1.01");

// A visible top-level window of any process with exactly this title: a
// launcher started by the update script is not the test's child. Null after
// the time.
HWND WaitForWindowTitled(const std::string& title, DWORD timeoutMs = 30000);

// Files a check may leave: everything beside the program but the program,
// and everything in a working directory of its own (as "work\<name>").
std::vector<std::string> Leftovers(const LauncherProcess& launcher);

// Names of the files in `dir` that end with `suffix` (all for an empty one).
std::vector<std::string> FilesEndingWith(const TempDir& dir, const std::string& suffix);

}  // namespace testkit
