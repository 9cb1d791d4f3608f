#include "update/update_check.h"

#include <algorithm>

#include "common/paths.h"
#include "package/attached_package.h"
#include "package/launcher_config.h"
#include "update/self_replacement.h"
#include "update/server_url.h"
#include "update/update_signature.h"
#include "update/update_verdict.h"
#include "update/update_version.h"
#include "update/url_downloader.h"

namespace {

// Longest bodies taken. The version file's first line is all that counts, so
// only its start is read, whatever follows; a signature is 128 digits and a
// little white space; a launcher larger than the package reader accepts
// could not start.
constexpr std::uint64_t kVersionBodyLimit = 4096;
constexpr std::uint64_t kSignatureBodyLimit = 1024;
constexpr std::uint64_t kLauncherBodyLimit = AttachedPackage::kMaxWholeMemberBytes;

constexpr char kSignatureSuffix[] = ".sig";

// The downloader of `serverPath` into the working directory, or nothing when
// its address or local path cannot be made.
std::optional<UrlDownloader> Downloader(const UpdateSettings& state, const std::string& prefix,
                                        const std::string& serverPath, std::uint64_t sizeLimit, OverLimit overLimit,
                                        UpdateEnvironment& env) {
  const auto url = BuildServerUrl(state.server, state.port, serverPath);
  const auto localPath = DownloadPath(state.workDir, prefix, env.pathText(serverPath));
  if (!url || !localPath) return std::nullopt;
  return std::optional<UrlDownloader>(std::in_place, env.http, env.files, *url, *localPath, sizeLimit, overLimit);
}

// The signature of the launcher at exeUrl, fetched as exeUrl + ".sig". Its
// file goes at once, whatever the answer: unlike the version file, no empty
// one is left to tell of a refusal. Nothing when any of that fails or the
// body is no signature.
std::optional<UpdateSignature> FetchSignature(const UpdateSettings& state, const std::string& prefix,
                                              UpdateEnvironment& env) {
  auto downloader = Downloader(state, prefix, state.exeUrl + kSignatureSuffix, kSignatureBodyLimit,
                               OverLimit::kFails, env);
  if (!downloader) return std::nullopt;
  std::optional<std::string> body;
  if (downloader->Download()) body = env.files.ReadStart(downloader->LocalPath(), kSignatureBodyLimit);
  if (env.files.Exists(downloader->LocalPath())) env.files.Remove(downloader->LocalPath());
  if (!body) return std::nullopt;
  return ParseUpdateSignature(*body);
}

// Whether `directory` holds the running program.
bool RunsFromProgramFolder(const std::optional<std::string>& directory, UpdateEnvironment& env) {
  const auto programPath = env.process.ProgramPath();
  return directory && programPath && IsProgramFolder(*directory, *programPath, env.isLeadByte);
}

// Files an earlier check fetched and could not remove: the launcher was
// ended in the middle of a download (closed, killed, the machine switched
// off), or an answer left its file. A file still being written by another
// running launcher is open without delete sharing, so it stays.
void RemoveEarlierDownloads(const UpdateSettings& state, UpdateEnvironment& env) {
  const std::string fetched[] = {env.pathText(state.versionUrl), env.pathText(state.exeUrl),
                                 env.pathText(state.exeUrl + kSignatureSuffix)};
  for (const std::string& name : env.files.ListFiles(state.workDir)) {
    if (std::none_of(std::begin(fetched), std::end(fetched),
                     [&](const std::string& path) { return IsEarlierDownload(name, path); }))
      continue;
    if (const auto path = PathInDirectory(state.workDir, name)) env.files.Remove(*path);
  }
}

}  // namespace

UpdateSettings UpdateSettingsFrom(const LauncherConfig& config, std::string workDir, bool afterUpdate) {
  return {config.versionUrl, config.exeUrl,      config.server, config.version,
          config.port,       std::move(workDir), config.updateKey, afterUpdate};
}

std::optional<UpdateResult> RunUpdateCheck(const UpdateSettings* state, UpdateEnvironment& env) {
  if (state == nullptr) return UpdateResult::NoWorkerState;
  // Only ever in the program's folder: started from elsewhere (the system
  // folder when run as administrator, the desktop from some shortcuts) the
  // working directory holds other people's files.
  if (RunsFromProgramFolder(state->workDir, env)) RemoveEarlierDownloads(*state, env);
  if (state->afterUpdate) return UpdateResult::CheckSkipped;
  const auto unguessable = env.process.UnguessableNumber();
  if (!unguessable) return UpdateResult::VersionDownloadFailed;
  const std::string prefix = DownloadPrefix(env.process.TickCount(), *unguessable);

  auto versionDownload =
      Downloader(*state, prefix, state->versionUrl, kVersionBodyLimit, OverLimit::kKeepsStart, env);
  if (!versionDownload || !versionDownload->Download()) return UpdateResult::VersionDownloadFailed;
  const std::string& versionPath = versionDownload->LocalPath();
  const auto fileStart = env.files.ReadStart(versionPath, kVersionLineLimit);
  env.files.Remove(versionPath);
  if (!fileStart) return UpdateResult::VersionFileUnreadable;
  const Version running = ParseVersion(state->version);
  if (!IsNewerVersion(running, ParseVersion(VersionLine(*fileStart)))) return UpdateResult::UpToDate;

  // A key that cannot be read can verify nothing: no update gets in.
  std::optional<UpdatePublicKey> key;
  if (!state->updateKey.empty()) {
    key = ParseUpdateKey(state->updateKey);
    if (!key) return UpdateResult::LauncherDownloadFailed;
  }
  if (!RunsFromProgramFolder(state->workDir, env)) return UpdateResult::ScriptNotCreated;
  // With another launcher holding the program file, the script would start
  // this old one again, which would fetch the same update again, for as
  // long as the other stays open. The first start alone updates.
  if (env.process.ProgramRunsElsewhere()) return UpdateResult::ScriptNotCreated;

  auto launcherDownload = Downloader(*state, prefix, state->exeUrl, kLauncherBodyLimit, OverLimit::kFails, env);
  if (!launcherDownload) return UpdateResult::LauncherDownloadFailed;
  std::unique_ptr<WritableFile> launcherFile = launcherDownload->DownloadOpen();
  if (launcherFile == nullptr) return UpdateResult::LauncherDownloadFailed;
  std::optional<UpdateSignature> signature;
  if (key) signature = FetchSignature(*state, prefix, env);
  // Whatever answered 200 must be a newer launcher that starts, signed when
  // a key says so, before it takes this one's place; it is looked at while
  // still open and closed to writers, so what was checked is what stays.
  const bool accepted = launcherFile->Inspect(
      [&](std::span<const std::uint8_t> file) {
        return JudgeDownloadedLauncher(file, running, key, signature) == UpdateVerdict::kAccepted;
      });
  const bool closed = launcherFile->Close();
  launcherFile.reset();
  const std::string& launcherPath = launcherDownload->LocalPath();
  if (!accepted || !closed) {
    env.files.Remove(launcherPath);
    return UpdateResult::LauncherDownloadFailed;
  }
  // The script is written to, and renames in, the working directory of now.
  if (!RunsFromProgramFolder(env.process.CurrentDirectory(), env) || env.process.ProgramRunsElsewhere()) {
    env.files.Remove(launcherPath);
    return UpdateResult::ScriptNotCreated;
  }
  switch (StartSelfReplacement(launcherPath, env)) {
    case Replacement::kStarted: return std::nullopt;
    case Replacement::kScriptNotWritten: return UpdateResult::ScriptNotCreated;
    case Replacement::kScriptUnreadable:
      env.files.Remove(launcherPath);
      return UpdateResult::ScriptNotCreated;
  }
  return UpdateResult::ScriptNotCreated;
}
