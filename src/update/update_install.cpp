#include "update/update_install.h"

#include "common/paths.h"
#include "package/attached_package.h"
#include "update/self_replacement.h"
#include "update/update_files.h"
#include "update/update_version.h"
#include "update/url_downloader.h"

namespace {

// A launcher larger than the package reader accepts could not start; a
// signature is 128 digits and a little white space.
constexpr std::uint64_t kLauncherBodyLimit = AttachedPackage::kMaxWholeMemberBytes;
constexpr std::uint64_t kSignatureBodyLimit = 1024;

// The body of the signature of the launcher: its file goes at once,
// whatever the answer. Nothing when any of that fails.
std::optional<std::string> FetchSignature(const InstallRun& run, InstallSource& source, UpdateEnvironment& env) {
  const auto path = DownloadPath(run.settings.workDir, run.numbers,
                                 env.pathText(SignatureServerPath(run.settings.exeUrl)), DownloadKind::kSignature);
  if (!path) return std::nullopt;
  UrlDownloader downloader(source.http, env.files, source.signatureUrl, *path, kSignatureBodyLimit);
  std::optional<std::string> body;
  if (downloader.Download()) body = env.files.ReadStart(*path, kSignatureBodyLimit);
  if (env.files.Exists(*path)) env.files.Remove(*path);
  return body;
}

// Whether the working directory of now is still the program's folder, with
// no other launcher running the program file.
bool StillAlone(UpdateEnvironment& env) {
  const auto directory = env.process.CurrentDirectory();
  const auto program = env.process.ProgramPath();
  return directory && program && IsProgramFolder(*directory, *program, env.isLeadByte) &&
         !env.process.ProgramRunsElsewhere();
}

// Puts the checked launcher, and the body of its signature, where the next
// start looks for them, replacing what an earlier run left there. False
// when that fails; nothing is left of it then.
bool KeepForNextStart(const std::string& launcherPath, const std::optional<std::string>& signature,
                      const std::string& workDir, FileSystem& files) {
  const auto waiting = PathInDirectory(workDir, kWaitingLauncherName);
  const auto waitingSignature = PathInDirectory(workDir, kWaitingSignatureName);
  if (!waiting || !waitingSignature) return false;
  for (const std::string& path : {*waiting, *waitingSignature})
    if (files.Exists(path)) files.Remove(path);
  if (!files.Rename(launcherPath, *waiting)) return false;
  if (!signature) return true;
  std::unique_ptr<WritableFile> file = files.Create(*waitingSignature);
  const bool written = file != nullptr && file->Write(signature->data(), signature->size());
  if (file != nullptr && file->Close() && written) return true;
  file.reset();
  files.Remove(*waitingSignature);
  files.Remove(*waiting);
  return false;
}

// The HTTP answer of a local file.
class LocalFileResponse : public HttpResponse {
 public:
  explicit LocalFileResponse(std::unique_ptr<ReadableFile> file) : file_(std::move(file)) {}
  std::optional<int> Status() override { return 200; }
  std::optional<std::string> ContentLength() override {
    const auto size = file_->Size();
    return size ? std::optional(std::to_string(*size)) : std::nullopt;
  }
  std::optional<std::size_t> Read(char* buffer, std::size_t size) override { return file_->Read(buffer, size); }

 private:
  std::unique_ptr<ReadableFile> file_;
};

}  // namespace

std::unique_ptr<HttpResponse> LocalFileSource::Open(const std::string& path) {
  std::unique_ptr<ReadableFile> file = files_.OpenToRead(path);
  if (file == nullptr) return nullptr;
  return std::make_unique<LocalFileResponse>(std::move(file));
}

InstallOutcome FetchAndInstall(const InstallRun& run, InstallSource& source, UpdateEnvironment& env) {
  const UpdateSettings& state = run.settings;
  const auto launcherPath =
      DownloadPath(state.workDir, run.numbers, env.pathText(state.exeUrl), DownloadKind::kLauncher);
  if (!launcherPath) return {UpdateResult::LauncherDownloadFailed};
  // A download the script could never take in is never made: a program
  // name the console cannot write, a script's name that is taken.
  if (!PlanSelfReplacement(*launcherPath, env)) return {UpdateResult::ScriptNotCreated};

  UrlDownloader downloader(source.http, env.files, source.launcherUrl, *launcherPath, kLauncherBodyLimit);
  std::unique_ptr<WritableFile> launcherFile = downloader.DownloadOpen();
  std::optional<std::string> signatureBody;
  if (launcherFile != nullptr && run.key) signatureBody = FetchSignature(run, source, env);
  source.fetched();
  if (launcherFile == nullptr) return {UpdateResult::LauncherDownloadFailed};
  std::optional<UpdateSignature> signature;
  if (signatureBody) signature = ParseUpdateSignature(*signatureBody);
  // Whatever answered 200 must be a newer launcher that starts, signed when
  // a key says so, before it takes this one's place; it is looked at while
  // still open and closed to writers, so what was checked is what stays.
  InstallOutcome outcome;
  const Version running = ParseVersion(state.version);
  const bool read = launcherFile->Inspect([&](std::span<const std::uint8_t> file) {
    outcome.refusal = JudgeDownloadedLauncher(file, running, run.key, signature, env.decodes);
    return true;
  });
  const bool closed = launcherFile->Close();
  launcherFile.reset();
  if (!read || !closed || outcome.refusal != UpdateVerdict::kAccepted) {
    env.files.Remove(*launcherPath);
    outcome.result = UpdateResult::LauncherDownloadFailed;
    return outcome;
  }
  // The script is written to, and renames in, the working directory of now.
  if (!StillAlone(env)) {
    env.files.Remove(*launcherPath);
    return {UpdateResult::ScriptNotCreated};
  }
  // The game has begun while the launcher was fetched: it is never ended
  // for an update. The next start installs what waits.
  if (!env.process.BeginEnding()) {
    if (KeepForNextStart(*launcherPath, signatureBody, state.workDir, env.files))
      return {UpdateResult::KeptForNextStart};
    env.files.Remove(*launcherPath);
    return {UpdateResult::ScriptNotCreated};
  }
  switch (StartSelfReplacement(*launcherPath, env)) {
    case Replacement::kRunning:
      env.report(UpdateReportLine(run.atStart, std::nullopt));
      env.process.EndProcess();
      return {std::nullopt};
    case Replacement::kScriptNotWritten: env.process.CancelEnding(); return {UpdateResult::ScriptNotCreated};
    case Replacement::kScriptDidNotRun:
      env.process.CancelEnding();
      env.files.Remove(*launcherPath);
      return {UpdateResult::ScriptDidNotRun};
  }
  return {UpdateResult::ScriptNotCreated};
}
