#include "update/update_check.h"

#include "package/launcher_config.h"
#include "update/launcher_image.h"
#include "update/self_replacement.h"
#include "common/paths.h"
#include "update/server_url.h"
#include "update/update_version.h"
#include "update/url_downloader.h"

namespace {

// Fetches `serverPath` into the working directory; the local path on success.
std::optional<std::string> Fetch(const UpdateSettings& state, const std::string& prefix, const std::string& serverPath,
                                 UpdateEnvironment& env) {
  const auto url = BuildServerUrl(state.server, state.port, serverPath);
  const auto localPath = DownloadPath(state.workDir, prefix, serverPath);
  if (!url || !localPath) return std::nullopt;
  UrlDownloader downloader(env.http, env.files, *url, *localPath);
  if (!downloader.Download()) return std::nullopt;
  return localPath;
}

// Files an earlier check fetched and could not remove: the launcher was
// ended in the middle of a download (closed, killed, the machine switched
// off), or an answer left its file. A file still being written by another
// running launcher is open without delete sharing, so it stays.
void RemoveEarlierDownloads(const UpdateSettings& state, FileSystem& files) {
  for (const std::string& name : files.ListFiles(state.workDir)) {
    if (!IsEarlierDownload(name, state.versionUrl) && !IsEarlierDownload(name, state.exeUrl)) continue;
    if (const auto path = PathInDirectory(state.workDir, name)) files.Remove(*path);
  }
}

}  // namespace

UpdateSettings UpdateSettingsFrom(const LauncherConfig& config, std::string workDir) {
  return {config.versionUrl, config.exeUrl, config.server, config.version, config.port, std::move(workDir)};
}

std::optional<UpdateResult> RunUpdateCheck(const UpdateSettings* state, UpdateEnvironment& env) {
  if (state == nullptr) return UpdateResult::NoWorkerState;
  RemoveEarlierDownloads(*state, env.files);
  const std::string prefix = DownloadPrefix(env.process.TickCount());

  const auto versionPath = Fetch(*state, prefix, state->versionUrl, env);
  if (!versionPath) return UpdateResult::VersionDownloadFailed;
  const auto fileStart = env.files.ReadStart(*versionPath, kVersionLineLimit);
  env.files.Remove(*versionPath);
  if (!fileStart) return UpdateResult::VersionFileUnreadable;
  if (!IsNewerVersion(ParseVersion(state->version), ParseVersion(VersionLine(*fileStart))))
    return UpdateResult::UpToDate;

  const auto launcherPath = Fetch(*state, prefix, state->exeUrl, env);
  if (!launcherPath) return UpdateResult::LauncherDownloadFailed;
  // Whatever answered 200 must be a launcher before it takes this one's place.
  if (!env.files.Inspect(*launcherPath, IsLauncherImage)) {
    env.files.Remove(*launcherPath);
    return UpdateResult::LauncherDownloadFailed;
  }
  if (!StartSelfReplacement(*launcherPath, env)) return UpdateResult::ScriptNotCreated;
  return std::nullopt;
}
