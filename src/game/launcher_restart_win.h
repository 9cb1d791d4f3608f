// Starting the launcher anew, for logging in again and for the page command
// that restarts it: the program's own file, with no arguments, in the
// caller's directory and environment.
#pragma once

// Starts a new instance of this program; false when it could not.
bool StartNewLauncherInstance();
