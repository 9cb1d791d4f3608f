#include "update/update_check.h"

#include <algorithm>

#include "common/paths.h"
#include "package/launcher_config.h"
#include "update/self_replacement.h"
#include "update/server_url.h"
#include "update/update_install.h"
#include "update/update_signature.h"
#include "update/update_version.h"
#include "update/url_downloader.h"

namespace {

// The version file's first line is all that counts, so only its start is
// read, whatever follows.
constexpr std::uint64_t kVersionBodyLimit = 4096;

// Whether `directory` holds the running program.
bool RunsFromProgramFolder(const std::optional<std::string>& directory, UpdateEnvironment& env) {
  const auto programPath = env.process.ProgramPath();
  return directory && programPath && IsProgramFolder(*directory, *programPath, env.isLeadByte);
}

// Files an earlier check fetched and could not remove: the launcher was
// ended in the middle of a download (closed, killed, the machine switched
// off), or an answer left its file. A file still being written by another
// running launcher is open without delete sharing, so it stays. A launcher
// waiting for the next start is start-up's to judge, not this.
void RemoveEarlierDownloads(const UpdateSettings& state, UpdateEnvironment& env) {
  const std::string fetched[] = {env.pathText(state.versionUrl), env.pathText(state.exeUrl),
                                 env.pathText(SignatureServerPath(state.exeUrl))};
  for (const std::string& name : env.files.ListFiles(state.workDir)) {
    if (std::none_of(std::begin(fetched), std::end(fetched),
                     [&](const std::string& path) { return IsEarlierDownload(name, path); }))
      continue;
    if (const auto path = PathInDirectory(state.workDir, name)) env.files.Remove(*path);
  }
}

// The check up to its decision: is there a newer launcher to fetch, and may
// it be fetched here.
InstallOutcome Check(const UpdateSettings& state, UpdateEnvironment& env) {
  // Only ever in the program's folder: started from elsewhere (the system
  // folder when run as administrator, the desktop from some shortcuts) the
  // working directory holds other people's files, and nothing there could
  // replace the program.
  if (!RunsFromProgramFolder(state.workDir, env)) return {UpdateResult::OutsideProgramFolder};
  RemoveEarlierDownloads(state, env);
  if (state.afterUpdate) return {UpdateResult::CheckSkipped};
  const auto unguessable = env.process.UnguessableNumber();
  if (!unguessable) return {UpdateResult::VersionDownloadFailed};
  const CheckNumbers numbers{env.process.TickCount(), *unguessable};

  const auto versionUrl = BuildServerUrl(state.server, state.port, state.versionUrl);
  const auto versionPath =
      DownloadPath(state.workDir, numbers, env.pathText(state.versionUrl), DownloadKind::kVersionFile);
  if (!versionUrl || !versionPath) return {UpdateResult::VersionDownloadFailed};
  UrlDownloader versionDownload(env.http, env.files, *versionUrl, *versionPath, kVersionBodyLimit,
                                OverLimit::kKeepsStart);
  if (!versionDownload.Download()) return {UpdateResult::VersionDownloadFailed};
  const auto fileStart = env.files.ReadStart(*versionPath, kVersionLineLimit);
  env.files.Remove(*versionPath);
  if (!fileStart) return {UpdateResult::VersionFileUnreadable};
  if (!IsNewerVersion(ParseVersion(state.version), ParseVersion(VersionLine(*fileStart))))
    return {UpdateResult::UpToDate};

  // A key that cannot be read can verify nothing: no update gets in.
  std::optional<UpdatePublicKey> key;
  if (!state.updateKey.empty()) {
    key = ParseUpdateKey(state.updateKey);
    if (!key) return {UpdateResult::LauncherDownloadFailed};
  }
  // With another launcher holding the program file, the script would start
  // this old one again, which would fetch the same update again, for as
  // long as the other stays open. The first start alone updates.
  if (env.process.ProgramRunsElsewhere()) return {UpdateResult::ScriptNotCreated};
  const auto launcherUrl = BuildServerUrl(state.server, state.port, state.exeUrl);
  const auto signatureUrl = BuildServerUrl(state.server, state.port, SignatureServerPath(state.exeUrl));
  if (!launcherUrl || !signatureUrl) return {UpdateResult::LauncherDownloadFailed};
  InstallSource source{env.http, *launcherUrl, *signatureUrl};
  return FetchAndInstall({state, numbers, key}, source, env);
}

}  // namespace

UpdateSettings UpdateSettingsFrom(const LauncherConfig& config, std::string workDir, bool afterUpdate) {
  return {config.versionUrl, config.exeUrl,      config.server,    config.version,
          config.port,       std::move(workDir), config.updateKey, afterUpdate};
}

const char* UpdateResultName(UpdateResult result) {
  switch (result) {
    case UpdateResult::UpToDate: return "UpToDate";
    case UpdateResult::NoWorkerState: return "NoWorkerState";
    case UpdateResult::VersionDownloadFailed: return "VersionDownloadFailed";
    case UpdateResult::VersionFileUnreadable: return "VersionFileUnreadable";
    case UpdateResult::LauncherDownloadFailed: return "LauncherDownloadFailed";
    case UpdateResult::ScriptNotCreated: return "ScriptNotCreated";
    case UpdateResult::CheckSkipped: return "CheckSkipped";
    case UpdateResult::OutsideProgramFolder: return "OutsideProgramFolder";
    case UpdateResult::KeptForNextStart: return "KeptForNextStart";
    case UpdateResult::ScriptDidNotRun: return "ScriptDidNotRun";
  }
  return "?";
}

std::string UpdateReportLine(bool atStart, std::optional<UpdateResult> result, UpdateVerdict refusal) {
  std::string line = atStart ? "Launcher update at start: " : "Launcher update: ";
  if (!result) return line + "replacing";
  line += std::to_string(static_cast<unsigned>(*result)) + " " + UpdateResultName(*result);
  if (refusal != UpdateVerdict::kAccepted) line += std::string(" ") + UpdateVerdictName(refusal);
  return line;
}

std::optional<UpdateResult> RunUpdateCheck(const UpdateSettings* state, UpdateEnvironment& env) {
  if (state == nullptr) return UpdateResult::NoWorkerState;
  const InstallOutcome outcome = Check(*state, env);
  if (outcome.result) env.report(UpdateReportLine(false, outcome.result, outcome.refusal));
  return outcome.result;
}

WaitingUpdate InstallWaitingUpdate(const UpdateSettings& settings, UpdateEnvironment& env) {
  if (!RunsFromProgramFolder(settings.workDir, env)) return WaitingUpdate::kNone;
  const auto waiting = PathInDirectory(settings.workDir, kWaitingLauncherName);
  const auto waitingSignature = PathInDirectory(settings.workDir, kWaitingSignatureName);
  if (!waiting || !waitingSignature) return WaitingUpdate::kNone;
  const auto removeWaiting = [&] {
    for (const std::string& path : {*waiting, *waitingSignature})
      if (env.files.Exists(path)) env.files.Remove(path);
  };
  if (!env.files.Exists(*waiting)) {
    removeWaiting();  // a signature without its launcher
    return WaitingUpdate::kNone;
  }
  // After an update, a refused one included, nothing more is tried in this
  // start; and with another launcher open, the script could not replace
  // the program: the first start alone installs.
  std::optional<UpdatePublicKey> key;
  if (!settings.updateKey.empty()) key = ParseUpdateKey(settings.updateKey);
  const auto unguessable = env.process.UnguessableNumber();
  if (settings.afterUpdate || (!settings.updateKey.empty() && !key) || !unguessable) {
    removeWaiting();
    env.report(UpdateReportLine(true, UpdateResult::CheckSkipped));
    return WaitingUpdate::kRefused;
  }
  if (env.process.ProgramRunsElsewhere()) {
    env.report(UpdateReportLine(true, UpdateResult::ScriptNotCreated));
    return WaitingUpdate::kLeft;
  }
  LocalFileSource folder(env.files);
  InstallSource source{folder, *waiting, *waitingSignature, removeWaiting};
  const InstallOutcome outcome =
      FetchAndInstall({settings, {env.process.TickCount(), *unguessable}, key, true}, source, env);
  if (!outcome.result) return WaitingUpdate::kInstalling;
  removeWaiting();  // when nothing was fetched
  env.report(UpdateReportLine(true, outcome.result, outcome.refusal));
  return *outcome.result == UpdateResult::ScriptDidNotRun ? WaitingUpdate::kScriptDidNotRun : WaitingUpdate::kRefused;
}
