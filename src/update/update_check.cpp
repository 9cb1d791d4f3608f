#include "update/update_check.h"

#include "common/paths.h"
#include "package/attached_package.h"
#include "package/launcher_config.h"
#include "update/launcher_image.h"
#include "update/self_replacement.h"
#include "update/server_url.h"
#include "update/update_signature.h"
#include "update/update_version.h"
#include "update/url_downloader.h"

namespace {

// Longest bodies taken. The version file's first line is all that counts;
// a signature is 128 digits and a little white space; a launcher larger than
// the package reader accepts could not start.
constexpr std::uint64_t kVersionBodyLimit = 4096;
constexpr std::uint64_t kSignatureBodyLimit = 1024;
constexpr std::uint64_t kLauncherBodyLimit = AttachedPackage::kMaxWholeMemberBytes;

constexpr char kSignatureSuffix[] = ".sig";

// Fetches `serverPath` into the working directory; the local path on success.
std::optional<std::string> Fetch(const UpdateSettings& state, const std::string& prefix, const std::string& serverPath,
                                 std::uint64_t sizeLimit, UpdateEnvironment& env) {
  const auto url = BuildServerUrl(state.server, state.port, serverPath);
  const auto localPath = DownloadPath(state.workDir, prefix, serverPath);
  if (!url || !localPath) return std::nullopt;
  UrlDownloader downloader(env.http, env.files, *url, *localPath, sizeLimit);
  if (!downloader.Download()) return std::nullopt;
  return localPath;
}

// The signature of the launcher at exeUrl, fetched as exeUrl + ".sig". Its
// file goes at once, whatever the answer: unlike the version file, no empty
// one is left to tell of a refusal. Nothing when any of that fails or the
// body is no signature.
std::optional<UpdateSignature> FetchSignature(const UpdateSettings& state, const std::string& prefix,
                                              UpdateEnvironment& env) {
  const std::string serverPath = state.exeUrl + kSignatureSuffix;
  const auto url = BuildServerUrl(state.server, state.port, serverPath);
  const auto localPath = DownloadPath(state.workDir, prefix, serverPath);
  if (!url || !localPath) return std::nullopt;
  UrlDownloader downloader(env.http, env.files, *url, *localPath, kSignatureBodyLimit);
  std::optional<std::string> body;
  if (downloader.Download()) body = env.files.ReadStart(*localPath, kSignatureBodyLimit);
  if (env.files.Exists(*localPath)) env.files.Remove(*localPath);
  if (!body) return std::nullopt;
  return ParseUpdateSignature(*body);
}

// Whether the downloaded file may take this launcher's place: a launcher
// newer than the running one and, when a key is configured, signed with it.
bool IsAcceptableUpdate(std::span<const std::uint8_t> file, const Version& running,
                        const std::optional<UpdatePublicKey>& key, const std::optional<UpdateSignature>& signature) {
  const auto version = LauncherImageVersion(file);
  if (!version || !IsNewerVersion(running, ParseVersion(*version))) return false;
  return !key || (signature && VerifyUpdateSignature(file, *signature, *key));
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
void RemoveEarlierDownloads(const UpdateSettings& state, FileSystem& files) {
  for (const std::string& name : files.ListFiles(state.workDir)) {
    if (!IsEarlierDownload(name, state.versionUrl) && !IsEarlierDownload(name, state.exeUrl) &&
        !IsEarlierDownload(name, state.exeUrl + kSignatureSuffix))
      continue;
    if (const auto path = PathInDirectory(state.workDir, name)) files.Remove(*path);
  }
}

}  // namespace

UpdateSettings UpdateSettingsFrom(const LauncherConfig& config, std::string workDir) {
  return {config.versionUrl, config.exeUrl, config.server,     config.version,
          config.port,       std::move(workDir), config.updateKey};
}

std::optional<UpdateResult> RunUpdateCheck(const UpdateSettings* state, UpdateEnvironment& env) {
  if (state == nullptr) return UpdateResult::NoWorkerState;
  RemoveEarlierDownloads(*state, env.files);
  const std::string prefix = DownloadPrefix(env.process.TickCount());

  const auto versionPath = Fetch(*state, prefix, state->versionUrl, kVersionBodyLimit, env);
  if (!versionPath) return UpdateResult::VersionDownloadFailed;
  const auto fileStart = env.files.ReadStart(*versionPath, kVersionLineLimit);
  env.files.Remove(*versionPath);
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

  const auto launcherPath = Fetch(*state, prefix, state->exeUrl, kLauncherBodyLimit, env);
  if (!launcherPath) return UpdateResult::LauncherDownloadFailed;
  std::optional<UpdateSignature> signature;
  if (key) signature = FetchSignature(*state, prefix, env);
  // Whatever answered 200 must be a newer launcher, signed when a key says
  // so, before it takes this one's place.
  const auto accept = [&](std::span<const std::uint8_t> file) {
    return IsAcceptableUpdate(file, running, key, signature);
  };
  if (!env.files.Inspect(*launcherPath, accept)) {
    env.files.Remove(*launcherPath);
    return UpdateResult::LauncherDownloadFailed;
  }
  // The script is written to, and renames in, the working directory of now.
  if (!RunsFromProgramFolder(env.process.CurrentDirectory(), env) || env.process.ProgramRunsElsewhere()) {
    env.files.Remove(*launcherPath);
    return UpdateResult::ScriptNotCreated;
  }
  if (!StartSelfReplacement(*launcherPath, env)) return UpdateResult::ScriptNotCreated;
  return std::nullopt;
}
