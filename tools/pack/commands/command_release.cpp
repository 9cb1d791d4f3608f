// release: from a skin folder to the files players' launchers install, in
// the one order that holds (the update signature over the exe as it will be
// served, so after Authenticode), verified as a launcher would verify them.
//
// Everything is made in a new folder beside --out and moved into --out only
// when every step has passed, so that a failed release leaves --out exactly
// as it was: a good release made before stays whole, ready to upload.
#include <filesystem>
#include <random>
#include <system_error>

#include "branding/pe_image.h"
#include "checks/skin_check.h"
#include "commands/commands.h"
#include "commands/skin_opening.h"
#include "formats/file_io.h"
#include "formats/gbk_text.h"
#include "formats/printable.h"
#include "release/command_hook.h"
#include "release/release_verdict.h"
#include "release/update_addresses.h"
#include "release/version_text.h"
#include "signing/update_signing.h"
#include "skins/skin_config.h"
#include "update/server_url.h"

namespace fs = std::filesystem;

namespace {

// A word of a command line as a shell takes it back: as it is when it holds
// nothing a shell reads otherwise, else quoted.
std::string ShellWord(const std::string& word) {
#ifdef _WIN32
  if (!word.empty() && word.find_first_of(" \t\"&|<>^%()") == std::string::npos) return word;
  return "\"" + word + "\"";
#else
  if (!word.empty() && word.find_first_of(" \t\"'\\$`!*?[]{}()<>|;&#~") == std::string::npos) return word;
  std::string quoted = "'";
  for (const char c : word) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return quoted + "'";
#endif
}

// The folder a release is made in, beside --out, and the folders made for
// it: all removed again unless the release is kept.
class Workbench {
 public:
  // False, with `error`, when the folder cannot be made.
  bool Make(const fs::path& out, std::string* error) {
    std::error_code code;
    const fs::path parent = out.parent_path().empty() ? fs::path(".") : out.parent_path();
    // The first folder that is not there yet, so that a failed release
    // leaves no empty folders either.
    for (fs::path folder = parent; !folder.empty() && !fs::exists(folder, code); folder = folder.parent_path()) {
      made_ = folder;
      if (folder == folder.parent_path()) break;
    }
    fs::create_directories(parent, code);
    std::random_device random;
    path_ = parent / PathOf("." + Shown(out.filename()) + "-" + std::to_string(random()) + ".tmp");
    if (code || !fs::create_directory(path_, code)) {
      *error = Shown(out) + " cannot be made beside its folder: " + (code ? code.message() : "the name is taken");
      path_.clear();
      return false;
    }
    return true;
  }
  ~Workbench() {
    std::error_code code;
    if (!path_.empty()) fs::remove_all(path_, code);
    if (!kept_ && !made_.empty()) fs::remove_all(made_, code);
  }
  const fs::path& Path() const { return path_; }
  void Keep() { kept_ = true; }

 private:
  fs::path path_, made_;
  bool kept_ = false;
};

class Release {
 public:
  Release(const CommandLine& line, std::ostream& out, std::ostream& err) : line_(line), out_(out), err_(err) {}

  int Run() {
    if (const int status = Prepare(); status != kExitClean) return status;
    out_ << "made in " << Shown(bench_.Path()) << ", and moved into " << Shown(dir_)
         << " only when every step has passed\n";
    out_ << "1. check, pack and brand\n";
    CommandLine pack = line_;
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
    if (const int status = Verify(); status != kExitClean) return status;
    if (const int status = MoveIn(); status != kExitClean) return status;
    Tell();
    return kExitClean;
  }

 private:
  int Stop(int status, const std::string& why) {
    err_ << "launcher-pack: " << why << "; no release was made, and " << Shown(dir_) << " is as it was\n";
    return status;
  }

  int Refuse(const std::string& why, int status = kExitUnreadable) {
    err_ << "launcher-pack: " << why << "\n";
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
    if (model_.server.empty())
      return Refuse(
          "the skin names no update server ([global] server, port, versionUrl, exeUrl): there is nothing "
          "to release to",
          kExitFindings);
    // check's own rules and words: what check calls an error, release refuses.
    bool channelErrors = false;
    for (const Finding& finding : CheckUpdateChannel(*opened->source))
      if (finding.severity == Severity::kError) {
        err_ << FormatFinding(finding) << "\n";
        channelErrors = true;
      }
    if (channelErrors) return Refuse("the skin's update channel has errors: nothing was written", kExitFindings);
    const std::string exeName(LastPathComponent(model_.exeUrl)), versionName(LastPathComponent(model_.versionUrl));
    if (exeName == versionName)
      return Refuse("[global] exeUrl and versionUrl end in the same file name, " + Escaped(GbkToUtf8(exeName)) +
                        ": release cannot write both into one folder",
                    kExitFindings);
    if (const auto mismatch = KeyMismatch(key_, model_.updateKey)) return Refuse("--key: " + *mismatch, kExitFindings);
    if (line_.previous) {
      previous_ = ParseVersion(*line_.previous);
      out_ << "players run " << *line_.previous << " (read as " << VersionText(*previous_) << ")\n";
    }
    // The files get the names they have on the server.
    dir_ = PathOf(*line_.outDir);
    if (dir_.has_parent_path() && !dir_.has_filename()) dir_ = dir_.parent_path();  // "release/" is "release"
    std::error_code code;
    if (fs::exists(dir_, code) && !fs::is_directory(dir_, code)) return Refuse(*line_.outDir + " is not a folder");
    for (const std::string& name : {exeName, exeName + kSignatureSuffix, versionName}) {
      const fs::path there = dir_ / PathOf(GbkToUtf8(name));
      if (fs::exists(there, code) && !fs::is_regular_file(there, code))
        return Refuse(Shown(there) + " is there and is not a file, so the release cannot take its place");
    }
    if (!bench_.Make(dir_, &error)) return Refuse(error);
    exe_ = bench_.Path() / PathOf(GbkToUtf8(exeName));
    versionFile_ = bench_.Path() / PathOf(GbkToUtf8(versionName));
    return kExitClean;
  }

  int Authenticode() {
    fs::path signedExe = exe_;
    signedExe += ".authenticode";
    const auto words = HookWords(*line_.authenticode, Shown(exe_), Shown(signedExe));
    if (!words) return Stop(kExitUnreadable, "--authenticode: a quote is left open, or the command is empty");
    // The command writes to the same terminal or log: the tool's lines come first.
    out_.flush();
    err_.flush();
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
    std::error_code code;
    fs::rename(signedExe, exe_, code);
    if (code) return Stop(kExitUnreadable, Shown(signedExe) + " could not take the exe's name: " + code.message());
    out_ << "signed " << Shown(exe_) << " (a certificate table of " << image->CertificateTable()->size << " bytes)\n";
    return kExitClean;
  }

  int Verify() {
    std::string error;
    const auto launcher = ReadWholeFile(exe_, &error);
    const auto version = launcher ? ReadWholeFile(versionFile_, &error) : std::nullopt;
    const auto signature = version ? ReadWholeFile(SignaturePathFor(exe_), &error) : std::nullopt;
    if (!signature) return Stop(kExitUnreadable, error);
    // Judged for launchers of the kind it is, which are the ones that install it.
    const std::uint16_t machine = LauncherKind(*launcher);
    if (machine != kLauncherMachine)
      err_ << "launcher-pack: warning: --exe is " << LauncherKindName(machine) << ": only launchers of that kind "
           << "install this release (the launcher players get is " << LauncherKindName(kLauncherMachine) << ")\n";
    const ReleaseVerdict verdict =
        JudgeRelease({*version, *launcher, *signature}, model_.updateKey, previous_, machine);
    for (const std::string& problem : verdict.problems) err_ << "launcher-pack: error: " << problem << "\n";
    if (!verdict.Installs()) return Stop(kExitFindings, "the release would not be installed");
    out_ << "launchers " << (previous_ ? "of " + VersionText(*previous_) : std::string("older than ") + verdict.offered)
         << " install it: the version file offers " << verdict.offered << ", the exe carries " << verdict.carried
         << ", its signature verifies against updateKey=" << model_.updateKey << ", and it is " << launcher->size()
         << " bytes\n\n";
    return kExitClean;
  }

  // The version file last: until it is there, --out offers nothing new.
  int MoveIn() {
    std::error_code code;
    if (!fs::exists(dir_, code)) {
      fs::rename(bench_.Path(), dir_, code);
      if (code) return Stop(kExitUnreadable, Shown(dir_) + " cannot be made: " + code.message());
    } else {
      for (const fs::path& file : {exe_, SignaturePathFor(exe_), versionFile_}) {
        fs::rename(file, dir_ / file.filename(), code);
        if (code)
          return Refuse(Shown(dir_ / file.filename()) + " could not take the new file's place (" + code.message() +
                        "): make the release again; upload nothing from " + Shown(dir_));
      }
    }
    bench_.Keep();
    exe_ = dir_ / exe_.filename();
    versionFile_ = dir_ / versionFile_.filename();
    return kExitClean;
  }

  // What to upload where, and the command that checks the server afterwards.
  void Tell() {
    const auto addresses = AddressesOf(model_);
    const auto shown = [](const std::string& gbk) { return Escaped(GbkToUtf8(gbk)); };
    std::string verify =
        "launcher-pack verify-server " + ShellWord(line_.inputs[0]) + " --release " + ShellWord(*line_.outDir);
    if (line_.fromUtf8) verify += " --from-utf8";
    if (line_.previous) verify += " --previous " + ShellWord(*line_.previous);
    out_ << "upload, in this order, so that no launcher sees the new version before its exe is there:\n"
         << "  " << Shown(exe_) << "  ->  " << shown(addresses->launcher) << "\n"
         << "  " << Shown(SignaturePathFor(exe_)) << "  ->  " << shown(addresses->signature) << "\n"
         << "  " << Shown(versionFile_) << "  ->  " << shown(addresses->versionFile) << "  (last)\n"
         << "then check that the server gives exactly this release: " << verify << "\n";
  }

  const CommandLine& line_;
  std::ostream& out_;
  std::ostream& err_;
  OperatorKey key_;
  LauncherConfig model_;
  std::optional<Version> previous_;
  Workbench bench_;
  fs::path dir_, exe_, versionFile_;
};

}  // namespace

int RunRelease(const CommandLine& line, std::ostream& out, std::ostream& err) { return Release(line, out, err).Run(); }
