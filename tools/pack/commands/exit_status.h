// The tool's exit statuses, the same for every command, and their table as
// --help and the README show it.
#pragma once

enum ExitStatus : int {
  kExitClean = 0,          // done: nothing found, the release made or served installs, the signature verifies
  kExitFindings = 1,       // something found wrong: in the skin, the release, the server, the signature
  kExitUnreadable = 2,     // an input cannot be read, an output written, a command run, or the command line is wrong
  kExitInterrupted = 130,  // preview --watch ended with Ctrl+C, as a shell reports an interrupted program
};

inline constexpr const char* kExitStatusTable =
    "Exit status, the same for every command:\n"
    "  0    done: check found nothing; release made a release that launchers install; verify-server: launchers\n"
    "       install what the server offers; inspect --key/--sig: the signature verifies\n"
    "  1    something is wrong: check's findings; pack or release refused the skin (an error in it, an exe\n"
    "       larger than the 64 MB a launcher fetches, a key that is not its updateKey); release: a version not\n"
    "       newer than --previous, a release launchers would not install; verify-server: launchers install\n"
    "       nothing the server offers; sign: a key that is not the exe's updateKey; inspect --key/--sig: the\n"
    "       signature does not verify; preview: something the launcher shows could not be drawn\n"
    "  2    an input that cannot be read, an output that cannot be written, a command that failed\n"
    "       (--authenticode), or a wrong command line (launcher-pack alone prints its usage and exits 2)\n"
    "  130  preview --watch ended with Ctrl+C\n";
