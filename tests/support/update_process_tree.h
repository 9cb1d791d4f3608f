// Ends what a process started: the self-update's command interpreter and the
// launcher it restarts are started by the launcher, not by the test, and yet
// the test must not leave them running.
#pragma once

#include <windows.h>

namespace testkit {

// Ends every process that `parentId` started, and what they started in turn
// (children first), and waits until each is gone. The parent itself may have
// ended already.
void EndProcessesStartedBy(DWORD parentId);

}  // namespace testkit
