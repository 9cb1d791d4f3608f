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

// A command of the update script held for as long as the test likes: the
// command (e.g. "ping.exe") is looked up along PATH, where a program that
// waits for the test's word stands first, so the interpreter stays on that
// line until then, however slow the machine. With `runsTheRealOneFirst` it
// runs the system's own command with the same arguments before it holds, so
// the line has done its work. Only processes started while this lives (the
// launcher, and through it the interpreter) see that PATH.
class HeldCommand {
 public:
  explicit HeldCommand(const std::string& command, bool runsTheRealOneFirst = false);
  ~HeldCommand();
  HeldCommand(const HeldCommand&) = delete;
  HeldCommand& operator=(const HeldCommand&) = delete;

  bool Ready() const { return copied_; }
  bool WaitUntilHeld() const;
  void Release() const;
  // What the command was given, as "name=value" lines (hold_main.cpp).
  std::string Given() const;

 private:
  TempDir dir_;
  std::string command_;
  std::string oldPath_;
  bool copied_ = false;
};

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
