// release: from a skin folder to the files players' launchers install, in
// the one order that holds (the update signature over the exe as it will be
// served, so after Authenticode), verified as a launcher would verify them.
#include <filesystem>
#include <system_error>

#include "branding/pe_image.h"
#include "commands/commands.h"
#include "commands/skin_opening.h"
#include "formats/file_io.h"
#include "formats/gbk_text.h"
#include "formats/printable.h"
#include "release/command_hook.h"
#include "release/release_verdict.h"
#include "release/update_addresses.h"
#include "signing/update_signing.h"
#include "skins/skin_config.h"
#include "update/server_url.h"

namespace fs = std::filesystem;

namespace {

class Release {
 public:
  Release(const CommandLine& line, std::ostream& out, std::ostream& err) : line_(line), out_(out), err_(err) {}

  int Run() {
    if (const int status = Prepare(); status != kExitClean) return status;
    out_ << "1. check, pack and brand\n";
    CommandLine pack = line_;
    pack.command = "pack";
    pack.output = Shown(exe_);
    pack.force = false;
    pack.signKey.reset();
    if (const int status = RunPack(pack, out_, err_); status != kExitClean)
      return Stop(status, "the skin was not packed");
    if (line_.authenticode) {
      out_ << "2. sign with Authenticode\n";
      if (const int status = Authenticode(); status != kExitClean) return status;
    }
    out_ << (line_.authenticode ? "3" : "2") << ". sign for updates\n";
    std::string error;
    const auto bytes = ReadWholeFile(exe_, &error);
    if (!bytes || !WriteSignatureFile(Shown(exe_), *bytes, key_, out_, &error)) return Stop(kExitUnreadable, error);
    out_ << (line_.authenticode ? "4" : "3") << ". write the version file\n";
    if (!WriteWholeFile(versionFile_, model_.version + "\r\n", &error)) return Stop(kExitUnreadable, error);
    out_ << "wrote " << Shown(versionFile_) << ": " << Escaped(GbkToUtf8(model_.version)) << "\n";
    out_ << (line_.authenticode ? "5" : "4") << ". verify as a launcher would\n";
    return Verify();
  }

 private:
  int Stop(int status, const std::string& why) {
    err_ << "launcher-pack: " << why << "; no release was made: upload nothing from " << Shown(dir_) << "\n";
    std::error_code code;
    fs::remove(versionFile_, code);  // without it, no launcher asks for the rest
    return status;
  }

  // Everything that can be known before a file is written.
  int Prepare() {
    std::string error;
    const auto key = ReadOperatorKey(PathOf(*line_.key), &error);
    if (!key) return Refuse(error);
    key_ = *key;
    if (const auto exposed = KeyFileExposure(PathOf(*line_.key)))
      err_ << "launcher-pack: warning: " << *exposed << "\n";
    auto opened = OpenNamedSkin(line_, err_);
    if (!opened) return kExitUnreadable;
    const auto config = ReadSkinConfig(*opened->source);
    if (config == nullptr || !config->accepted)
      return Refuse(line_.inputs[0] + " has no configuration the launcher starts with: run check", kExitFindings);
    model_ = config->model;
    if (model_.server.empty() || model_.versionUrl.empty() || model_.exeUrl.empty())
      return Refuse(
          "the skin names no update server and paths ([global] server, versionUrl, exeUrl): there is "
          "nothing to release to",
          kExitFindings);
    if (const auto mismatch = KeyMismatch(key_, model_.updateKey)) return Refuse("--key: " + *mismatch, kExitFindings);
    if (line_.previous) {
      previous_ = ParseVersion(*line_.previous);
      out_ << "players run " << *line_.previous << " (read as " << VersionText(*previous_) << ")\n";
    }
    // The files get the names they have on the server.
    dir_ = PathOf(*line_.outDir);
    std::error_code code;
    fs::create_directories(dir_, code);
    if (!fs::is_directory(dir_, code)) return Refuse(*line_.outDir + " is not a folder that can be written");
    const std::string exeName(LastPathComponent(model_.exeUrl)), versionName(LastPathComponent(model_.versionUrl));
    if (exeName.empty() || versionName.empty() || exeName == versionName)
      return Refuse("exeUrl and versionUrl must end in two different file names", kExitFindings);
    exe_ = dir_ / PathOf(GbkToUtf8(exeName));
    versionFile_ = dir_ / PathOf(GbkToUtf8(versionName));
    return kExitClean;
  }

  int Refuse(const std::string& why, int status = kExitUnreadable) {
    err_ << "launcher-pack: " << why << "\n";
    return status;
  }

  int Authenticode() {
    fs::path signedExe = exe_;
    signedExe += ".authenticode";
    std::error_code code;
    fs::remove(signedExe, code);
    const auto words = HookWords(*line_.authenticode, Shown(exe_), Shown(signedExe));
    if (!words) return Stop(kExitUnreadable, "--authenticode: a quote is left open, or the command is empty");
    std::string error;
    const auto status = RunHook(*words, &error);
    if (!status) return Stop(kExitUnreadable, "--authenticode: " + error);
    if (*status != 0)
      return Stop(kExitUnreadable, "--authenticode: " + (*words)[0] + " ended with status " + std::to_string(*status));
    const auto bytes = ReadWholeFile(signedExe, &error);
    if (!bytes) return Stop(kExitUnreadable, "--authenticode wrote no {out}: " + error);
    const auto image = PeImage::Read(*bytes, &error);
    if (!image || !image->CertificateTable())
      return Stop(kExitUnreadable, "--authenticode: " + Shown(signedExe) + " carries no Authenticode signature");
    fs::rename(signedExe, exe_, code);
    if (code) return Stop(kExitUnreadable, Shown(signedExe) + " could not take the exe's name: " + code.message());
    out_ << "signed " << Shown(exe_) << " (a certificate table of " << image->CertificateTable()->size << " bytes)\n";
    return kExitClean;
  }

  int Verify() {
    std::string error;
    ReleaseBytes release;
    const auto launcher = ReadWholeFile(exe_, &error);
    const auto version = launcher ? ReadWholeFile(versionFile_, &error) : std::nullopt;
    fs::path sigPath = exe_;
    sigPath += kSignatureSuffix;
    const auto signature = version ? ReadWholeFile(sigPath, &error) : std::nullopt;
    if (!signature) return Stop(kExitUnreadable, error);
    release = {*version, *launcher, *signature};
    const ReleaseVerdict verdict = JudgeRelease(release, model_.updateKey, previous_);
    for (const std::string& problem : verdict.problems) err_ << "launcher-pack: error: " << problem << "\n";
    if (!verdict.Installs()) return Stop(kExitFindings, "the release would not be installed");
    out_ << "launchers " << (previous_ ? "of " + VersionText(*previous_) : std::string("older than ") + verdict.offered)
         << " install it: the version file offers " << verdict.offered << ", the exe carries " << verdict.carried
         << ", its signature verifies against updateKey=" << model_.updateKey << ", and it is " << launcher->size()
         << " bytes\n\n";
    const auto addresses = AddressesOf(model_);
    const auto shown = [](const std::string& gbk) { return Escaped(GbkToUtf8(gbk)); };
    out_ << "upload, in this order, so that no launcher sees the new version before its exe is there:\n"
         << "  " << Shown(exe_) << "  ->  " << shown(addresses->launcher) << "\n"
         << "  " << Shown(sigPath) << "  ->  " << shown(addresses->signature) << "\n"
         << "  " << Shown(versionFile_) << "  ->  " << shown(addresses->versionFile) << "  (last)\n"
         << "then check what the server gives: launcher-pack verify-server " << line_.inputs[0]
         << (line_.previous ? " --previous " + *line_.previous : std::string()) << "\n";
    return kExitClean;
  }

  const CommandLine& line_;
  std::ostream& out_;
  std::ostream& err_;
  OperatorKey key_;
  LauncherConfig model_;
  std::optional<Version> previous_;
  fs::path dir_, exe_, versionFile_;
};

}  // namespace

int RunRelease(const CommandLine& line, std::ostream& out, std::ostream& err) { return Release(line, out, err).Run(); }
