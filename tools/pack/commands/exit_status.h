// The tool's exit statuses, the same for every command.
#pragma once

enum ExitStatus : int {
  kExitClean = 0,       // done; for check: nothing found
  kExitFindings = 1,    // the skin has findings (check), or pack refused it
  kExitUnreadable = 2,  // an input cannot be read, an output cannot be written, or the command line is wrong
};
