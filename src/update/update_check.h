// The background check for a newer launcher: fetch the server's version file,
// compare, fetch the new program file and hand it to the self-replacement.
// Runs on the update worker thread; every outcome but the replacement is
// reported as an UpdateResult.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "common/text.h"
#include "update/update_platform.h"

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
};

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
};

// The whole check. Nothing when the replacement has started: the process
// ends inside it, so this returns only in tests.
//
// Only the first 4 KB of the version file are taken, so that release notes
// after its first line cost nothing. A new launcher replaces this one only
// when it is a launcher image that would start (CheckLauncherImage), whose
// own configuration carries a newer version than this one's, at most 64 MB,
// and, when this launcher has an updateKey, signed by that key (its
// signature fetched from exeUrl + ".sig") and carrying the same key, so
// that no update can switch signing off or hand it to another key; and only
// when the working directory, then and now, is the program's own folder.
// Otherwise:
//  - a malformed updateKey: LauncherDownloadFailed, the launcher not fetched;
//  - another working directory: ScriptNotCreated, the launcher not fetched,
//    or removed when the directory changed while it was fetched;
//  - anything wrong with the downloaded file or its signature:
//    LauncherDownloadFailed, the file removed;
//  - a script the command interpreter could not read (a folder named in
//    letters the console's code page lacks, without a short form):
//    ScriptNotCreated, the file removed.
// The downloaded launcher is created new under a name nobody can guess and
// stays open, closed to writers, until it has been checked.
//
// Files it leaves behind: the version file is removed once read (an empty
// one stays after a non-2xx answer), as is the signature file; a launcher
// that fails to download or is refused is removed (an empty one stays after
// a non-2xx answer). What earlier checks left is removed first, in the
// program's own folder only.
std::optional<UpdateResult> RunUpdateCheck(const UpdateSettings* state, UpdateEnvironment& env);
