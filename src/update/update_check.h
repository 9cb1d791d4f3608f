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
};

// Copies of the settings one check uses, taken before its thread starts so
// that the thread never reads the configuration.
struct UpdateSettings {
  std::string versionUrl;  // path of the version file on the server
  std::string exeUrl;      // path of the new program file on the server
  std::string server;      // host, with or without "http://"
  std::string version;     // this launcher's version
  std::int32_t port = 80;
  std::string workDir;  // where the fetched files go
  // The operator's public key as configured; empty: updates need no signature.
  std::string updateKey;
  bool operator==(const UpdateSettings&) const = default;
};

UpdateSettings UpdateSettingsFrom(const LauncherConfig& config, std::string workDir);

struct UpdateEnvironment {
  HttpClient& http;
  FileSystem& files;
  ProcessControl& process;
  LeadByteRule isLeadByte;  // the system's, for the program path in the script
};

// The whole check. Nothing when the replacement has started: the process
// ends inside it, so this returns only in tests.
//
// A new launcher replaces this one only when it is a launcher image whose
// own configuration carries a newer version than this one's, at most 64 MB,
// signed by updateKey when one is configured (its signature fetched from
// exeUrl + ".sig"), and when the working directory, then and now, is the
// program's own folder. Otherwise:
//  - a malformed updateKey: LauncherDownloadFailed, the launcher not fetched;
//  - another working directory: ScriptNotCreated, the launcher not fetched,
//    or removed when the directory changed while it was fetched;
//  - anything wrong with the downloaded file or its signature:
//    LauncherDownloadFailed, the file removed.
//
// Files it leaves behind: the version file is removed once read (an empty
// one stays after a non-2xx answer), as is the signature file; a launcher
// that fails to download or is refused is removed (an empty one stays after
// a non-2xx answer); when the script cannot be written the complete launcher
// file stays.
std::optional<UpdateResult> RunUpdateCheck(const UpdateSettings* state, UpdateEnvironment& env);
