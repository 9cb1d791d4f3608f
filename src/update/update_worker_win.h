// The update worker: one background thread per run that checks the server
// for a newer launcher and, when there is one, replaces the running program
// and ends the process. Every other outcome is posted to a window as a
// message whose identifier is the UpdateResult; no window has to act on it.
// Start-up installs, before any window, a launcher that waited for it.
#pragma once

#include <windows.h>

#include <memory>

#include "update/file_system_win.h"
#include "update/internet_client_win.h"
#include "update/system_process_win.h"
#include "update/update_check.h"

struct LauncherConfig;

// The update's view of this system: WinINet, the Win32 files and this
// process, with paths in UTF-8, pictures decoded by GDI+ as start-up decodes
// them, and each outcome's report line given to the debug output
// (OutputDebugString), where a debugger or DebugView reads it.
class SystemUpdateEnvironment {
 public:
  SystemUpdateEnvironment();
  SystemUpdateEnvironment(const SystemUpdateEnvironment&) = delete;
  SystemUpdateEnvironment& operator=(const SystemUpdateEnvironment&) = delete;
  UpdateEnvironment& Get() { return env_; }

 private:
  WinInetClient http_;
  Win32FileSystem files_;
  SystemProcess process_;
  UpdateEnvironment env_;
};

// The state of one check: complete before the thread starts and never
// written afterwards, so that the two threads share it without locks.
struct UpdateWorker {
  UpdateSettings settings;
  HWND targetWindow = nullptr;  // receives the result
};

// The state for a check with the configuration's settings, fetching into the
// current working directory; nothing when that directory cannot be read.
// `afterUpdate`: this run only sweeps what earlier checks left (the
// previous run updated, or this one's start tried to and the script never
// ran).
std::unique_ptr<UpdateWorker> MakeUpdateWorker(const LauncherConfig& config, HWND targetWindow,
                                               bool afterUpdate = false);

// Starts the check on a new thread and returns at once; no handle to the
// thread is kept. The state then lives until the process ends, since the
// thread may outlive the window that started it. Started without a state,
// the thread does nothing and posts nothing. False when no thread started
// (the state is then freed).
bool StartUpdateWorker(std::unique_ptr<UpdateWorker> state);

// Start-up's install of a launcher that waited in the program's folder
// (InstallWaitingUpdate); the process ends inside when it installs.
WaitingUpdate InstallWaitingUpdateAtStart(const LauncherConfig& config, bool afterUpdate);
