// What a process started: the self-update's command interpreter and the
// launcher it restarts are started by the launcher, not by the test, and yet
// the test must not leave them running; a program a window starts has done
// its work once it has ended.
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

// Waits until no process that `parentId` started runs the program file at
// `program` (letter case aside) any more: what a test made start other
// programs has its effects once they have ended. One whose program file
// cannot be read yet counts as running. False when one still runs after
// `timeoutMs`.
bool WaitUntilEnded(const std::string& program, DWORD parentId, DWORD timeoutMs = 30000);

}  // namespace testkit
