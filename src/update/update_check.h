// The background check for a newer launcher: fetch the server's version file,
// compare, fetch the new program file and hand it to the self-replacement.
// Runs on the update worker thread; every outcome but the replacement is
// reported as an UpdateResult.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "common/text.h"
#include "update/launcher_image.h"
#include "update/update_platform.h"
#include "update/update_verdict.h"

struct LauncherConfig;

// The value is the identifier of the message that reports it.
enum class UpdateResult : unsigned {
  UpToDate = 0,
  NoWorkerState = 10003,  // started without a state: nothing done, nothing posted
  VersionDownloadFailed = 10009,
  VersionFileUnreadable = 10010,
  LauncherDownloadFailed = 10011,
  ScriptNotCreated = 10013,
  // The previous run started the update script: this run only removes what
  // earlier checks left, so that a replacement the system refused (a held
  // program file, a download a scanner holds) is tried once per start by the
  // player and never goes round in a loop of downloads and restarts.
  CheckSkipped = 10014,
  // Started from another folder than the program's: nothing is fetched or
  // written there, since only the program's own folder can be updated.
  OutsideProgramFolder = 10015,
  // The game window is open: the launcher fetched and checked waits in the
  // program's folder, and the next start installs it before any window,
  // after the same checks again.
  KeptForNextStart = 10016,
  // The interpreter never ran the script (a scanner removed it, a policy
  // blocked it): the download is removed and the launcher goes on; no
  // second attempt in this start.
  ScriptDidNotRun = 10017,
};

// The result's name as the launcher reports it ("KeptForNextStart").
const char* UpdateResultName(UpdateResult result);

// The line the launcher gives its debug output for each outcome of a check,
// for whoever watches it (a debugger, DebugView, the tests): "Launcher
// update: 10011 LauncherDownloadFailed NotThisLauncher", the refusal of a
// downloaded launcher named after its result; "Launcher update: replacing"
// just before the process ends for the script. `atStart`: the install of a
// launcher that waited, made by start-up ("Launcher update at start: ...").
std::string UpdateReportLine(bool atStart, std::optional<UpdateResult> result,
                             UpdateVerdict refusal = UpdateVerdict::kAccepted);

// Copies of the settings one check uses, taken before its thread starts so
// that the thread never reads the configuration.
struct UpdateSettings {
  std::string versionUrl;  // path of the version file on the server
  std::string exeUrl;      // path of the new program file on the server
  std::string server;      // host, with or without "http://"
  std::string version;     // this launcher's version
  std::int32_t port = 80;
  std::string workDir;  // where the fetched files go (UTF-8)
  // The operator's public key as configured; empty: updates need no signature.
  std::string updateKey;
  // Start-up found the update script of a previous run: no check this run.
  bool afterUpdate = false;
  bool operator==(const UpdateSettings&) const = default;
};

UpdateSettings UpdateSettingsFrom(const LauncherConfig& config, std::string workDir, bool afterUpdate = false);

// A configuration text (GBK) as a path's text (UTF-8): the last component of
// versionUrl or exeUrl names the local file a check fetches into.
using PathTextRule = std::string (*)(std::string_view configText);

struct UpdateEnvironment {
  HttpClient& http;
  FileSystem& files;
  ProcessControl& process;
  // The lead bytes of the paths' text: none in UTF-8, where no byte of a
  // multibyte character equals a backslash.
  LeadByteRule isLeadByte;
  PathTextRule pathText = [](std::string_view text) { return std::string(text); };
  // The launcher's own picture decoder (GDI+ in the product): a release
  // whose first window's pictures do not decode is never installed. Without
  // one, only the pictures' headers are read.
  PictureDecoder decodes = {};
  // Where each outcome's UpdateReportLine goes.
  std::function<void(std::string_view)> report = [](std::string_view) {};
};

// Where a launcher that was fetched and checked while the game window was
// open waits for the next start, in the program's folder, with the body of
// its signature when updates are signed. Both names fit wherever the
// update script's does.
inline constexpr char kWaitingLauncherName[] = "Launcher_next.exe";
inline constexpr char kWaitingSignatureName[] = "Launcher_next.sig";

// The whole check. Nothing when the replacement has started: the process
// ends inside it, so this returns only in tests.
//
// Only the first 4 KB of the version file are taken, so that release notes
// after its first line cost nothing. A new launcher replaces this one only
// when JudgeDownloadedLauncher accepts it (a launcher image that would
// start, its pictures decoding, newer inside, checking for updates itself,
// at most 64 MB and, when this launcher has an updateKey, signed by that key
// (its signature fetched from SignatureServerPath(exeUrl)) and carrying the
// same key); only when the working directory, then and now, is the
// program's own folder and no other launcher runs the program file; only
// once its script runs; and only while no game window is open (otherwise
// it waits for the next start). Otherwise:
//  - another working directory: OutsideProgramFolder, nothing fetched;
//  - a malformed updateKey: LauncherDownloadFailed, the launcher not fetched;
//  - a script that could not be written (its name taken, paths the
//    command interpreter could not read, such as a program name in letters
//    the console's code page lacks): ScriptNotCreated, the launcher not
//    fetched;
//  - anything wrong with the downloaded file or its signature:
//    LauncherDownloadFailed, the file removed, the refusal reported;
//  - another working directory or launcher by the time it is fetched:
//    ScriptNotCreated, the file removed;
//  - a script that did not run: ScriptDidNotRun, the file removed;
//  - the game window open: KeptForNextStart.
// The downloaded launcher is created new under a name nobody can guess and
// stays open, closed to writers, until it has been checked.
//
// Files it leaves behind: the version file is removed once read (an empty
// one stays after a non-2xx answer), as is the signature file; a launcher
// that fails to download or is refused is removed (an empty one stays after
// a non-2xx answer). What earlier checks left is removed first, in the
// program's own folder only.
std::optional<UpdateResult> RunUpdateCheck(const UpdateSettings* state, UpdateEnvironment& env);

// What start-up did with a launcher that waited in the program's folder.
enum class WaitingUpdate {
  kNone,             // none waited, or the working directory is another folder: nothing done
  kInstalling,       // it passed and its script runs: the process ended (returns only in tests)
  kRefused,          // it did not pass again, or this run follows an update: removed
  kLeft,             // another launcher runs the program file: left for the first start alone
  kScriptDidNotRun,  // it passed but its script never ran: removed, no second attempt in this start
};

// Start-up, before any window: installs a launcher that waited for this
// start (KeptForNextStart) after the same checks again. It is never trusted
// for having waited: it is copied into a new file under a name nobody can
// guess, closed to writers, and judged there, with its signature read again
// from its own file; the waiting files go either way, but for kLeft.
WaitingUpdate InstallWaitingUpdate(const UpdateSettings& settings, UpdateEnvironment& env);
