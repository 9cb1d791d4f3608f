// The update worker: one background thread per run that checks the server
// for a newer launcher and, when there is one, replaces the running program
// and ends the process. Every other outcome is posted to a window as a
// message whose identifier is the UpdateResult; no window has to act on it.
#pragma once

#include <windows.h>

#include <memory>

#include "update/update_check.h"

struct LauncherConfig;

// The state of one check: complete before the thread starts and never
// written afterwards, so that the two threads share it without locks.
struct UpdateWorker {
  UpdateSettings settings;
  HWND targetWindow = nullptr;  // receives the result
};

// The state for a check with the configuration's settings, fetching into the
// current working directory; nothing when that directory cannot be read.
// `afterUpdate`: start-up found the previous run's update script, and this
// run only sweeps what earlier checks left.
std::unique_ptr<UpdateWorker> MakeUpdateWorker(const LauncherConfig& config, HWND targetWindow,
                                               bool afterUpdate = false);

// Starts the check on a new thread and returns at once; no handle to the
// thread is kept. The state then lives until the process ends, since the
// thread may outlive the window that started it. Started without a state,
// the thread does nothing and posts nothing. False when no thread started
// (the state is then freed).
bool StartUpdateWorker(std::unique_ptr<UpdateWorker> state);
