// Ends what a process started: the self-update's command interpreter and the
// launcher it restarts are started by the launcher, not by the test, and yet
// the test must not leave them running.
#pragma once

#include <windows.h>

#include <string>

namespace testkit {

// Ends every process that `parentId` started, and what they started in turn
// (children first), and waits until each is gone. The parent itself may have
// ended already. False when one of them could not be ended, or was still
// there after ten seconds.
bool EndProcessesStartedBy(DWORD parentId);

// Ends every process whose program file lies in `directory`, whoever started
// it: a launcher started by an interpreter that was ended first has no
// parent left to be found through. False as above.
bool EndProcessesRunningFrom(const std::string& directory);

}  // namespace testkit
