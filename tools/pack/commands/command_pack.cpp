#include <algorithm>
#include <filesystem>
#include <system_error>

#include "branding/package_writer.h"
#include "branding/program_branding.h"
#include "checks/skin_check.h"
#include "commands/branding_options.h"
#include "commands/commands.h"
#include "commands/skin_opening.h"
#include "formats/file_io.h"
#include "formats/printable.h"
#include "formats/text_encoding.h"
#include "signing/update_signing.h"
#include "skins/folder_config.h"
#include "skins/skin_config.h"
#include "update/update_verdict.h"

namespace fs = std::filesystem;

namespace {

int Refuse(std::ostream& err, const std::string& why) {
  err << "launcher-pack: " << why << "\n";
  return kExitUnreadable;
}

// The skin as it will be packed, checked: errors refuse it (unless
// --force), warnings are shown and it is packed. False when it must not be.
bool PrepareSkin(FolderSkin& skin, const CommandLine& line, std::ostream& err) {
  bool converted = false;
  if (line.fromUtf8) {
    if (auto failed = ConvertConfigFromUtf8(skin)) {
      PrintFindings(err, {*failed});
      return false;
    }
    converted = true;
  } else if (auto config = skin.Read(kConfigMember); config && LooksLikeUtf8(*config)) {
    // Never packed as it is: the launcher would show every Chinese text garbled.
    err << kConfigMember << ": error: is UTF-8, but the launcher reads GBK; pack with --from-utf8 to convert it\n";
    return false;
  }
  // Whatever --include says, a secret key never ships to every player.
  for (const SkinFile& file : skin.Files())
    if (LooksLikeSecretKey(file.content)) {
      err << Escaped(file.name) << ": error: holds a secret key, which would ship to every player: never packed\n";
      return false;
    }
  const auto findings = CheckSkin(skin, {converted});
  if (findings.empty()) return true;
  PrintFindings(err, findings);
  const bool errors =
      std::any_of(findings.begin(), findings.end(), [](const Finding& f) { return f.severity == Severity::kError; });
  if (!errors) return true;
  if (line.force) {
    err << "packing all the same (--force)\n";
    return true;
  }
  // release never packs a skin with errors: --force is pack's alone.
  err << (line.command == "pack" ? "nothing written: mend the errors, or pack the skin as it is with --force\n"
                                 : "nothing written: mend the errors\n");
  return false;
}

// Secret keys that were lying in the skin folder: never packed, but said
// plainly, since the folder may be shared or copied along with the skin.
// Names of the files that hold one, before the files are left out.
std::vector<std::string> SecretKeyFiles(const FolderSkin& skin) {
  std::vector<std::string> names;
  for (const SkinFile& file : skin.Files())
    if (LooksLikeSecretKey(file.content)) names.push_back(file.name);
  return names;
}

void WarnOfSecretKeys(const std::vector<std::string>& keys, const std::vector<std::string>& leftOut,
                      std::ostream& err) {
  for (const std::string& name : keys)
    if (std::find(leftOut.begin(), leftOut.end(), name) != leftOut.end())
      err << "launcher-pack: warning: " << Escaped(name)
          << " holds a secret key: it was not packed, but keep it out of the skin folder, which is copied, "
             "shared and sent around with the skin\n";
}

// A program file named outside ASCII cannot open itself on a system whose
// code page lacks those characters.
void WarnOfName(const fs::path& output, std::ostream& err) {
  const std::string name = Shown(output.filename());
  if (std::all_of(name.begin(), name.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; })) return;
  err << "launcher-pack: warning: " << Escaped(name)
      << " is not an ASCII name: on a system whose code page lacks its letters, on a volume without short names, "
         "the launcher cannot update itself; players should get it under an ASCII name\n";
}

// What was cut from the exe given, or kept, so the operator knows what to
// do next (sign again, expect two packages).
void ReportCuts(const BrandedProgram& branded, const CommandLine& line, std::ostream& out) {
  const bool signedExe = branded.signatureCut != 0;
  if (branded.carriedPackage && line.replace)
    out << (signedExe ? "the package and the signature " : "the package ") << *line.exe << " carried "
        << (signedExe ? "were" : "was") << " cut first\n";
  if (branded.carriedPackage && !line.replace)
    out << *line.exe
        << " carried a package already; the new one follows it and is the one read (--replace cuts the old one)\n";
  if (signedExe && !(branded.carriedPackage && line.replace))
    out << "the signature " << *line.exe << " carried was cut first\n";
  if (signedExe)
    out << "the signature (" << branded.signatureCut << " bytes) no longer held for the changed exe: sign "
        << *line.output << " again, as the last step\n";
  if (branded.symbolTableCut != 0)
    out << "the COFF symbol table (" << branded.symbolTableCut
        << " bytes) was cut: it lay where the launcher looks for its package\n";
}

// Which texts of the version information came from the skin, so that an
// operator sees what to give as an option to have it otherwise.
void ReportVersion(const VersionInfo& info, const VersionOptions& given, std::ostream& out) {
  std::string fromSkin;
  for (const auto& [key, text] : info.strings) {
    const bool isGiven =
        std::any_of(given.texts.begin(), given.texts.end(), [&](const auto& g) { return g.first == key; });
    if (!isGiven && key != "OriginalFilename") fromSkin += (fromSkin.empty() ? "" : ", ") + key;
  }
  out << "its version information: " << info.strings.size() << " texts"
      << (fromSkin.empty() ? std::string() : "; from the skin's title and version: " + fromSkin) << "\n";
}

// Files of the folder that did not go in, so that nothing is missed and
// nothing private ships.
void ReportLeftOut(const std::vector<std::string>& leftOut, std::ostream& out) {
  if (leftOut.empty()) return;
  out << "left out, since the launcher never reads them (--include NAME packs one all the same):\n";
  for (const std::string& name : leftOut) out << "  " << Escaped(name) << "\n";
}

}  // namespace

int RunPack(const CommandLine& line, std::ostream& out, std::ostream& err) {
  const fs::path folder = PathOf(line.inputs[0]), launcher = PathOf(*line.exe), target = PathOf(*line.output);
  std::error_code code;
  if (!fs::is_directory(folder, code)) return Refuse(err, line.inputs[0] + " is not a skin folder");
  std::string error;
  auto options = ReadBrandingOptions(line, &error);
  if (!options) return Refuse(err, error);
  BrandingRequest& request = options->request;
  auto skin = FolderSkin::Load(folder, &error);
  if (skin == nullptr) return Refuse(err, error);
  for (const std::string& name : line.include)
    if (!skin->Read(name)) return Refuse(err, "--include " + name + ": the skin folder has no such file");
  const std::vector<std::string> secretKeys = SecretKeyFiles(*skin);
  const std::vector<std::string> leftOut = skin->LeaveOutUnread(line.include);
  WarnOfSecretKeys(secretKeys, leftOut, err);
  if (!PrepareSkin(*skin, line, err)) return kExitFindings;

  // A skin without a configuration gets here only with --force.
  const auto config = ReadSkinConfig(*skin);
  const LauncherConfig model = config != nullptr ? config->model : LauncherConfig{};
  std::optional<OperatorKey> signKey;
  if (line.signKey) {
    if (!(signKey = ReadOperatorKey(PathOf(*line.signKey), &error))) return Refuse(err, error);
    if (const auto exposed = KeyFileExposure(PathOf(*line.signKey)))
      err << "launcher-pack: warning: " << *exposed << "\n";
    if (const auto mismatch = KeyMismatch(*signKey, model.updateKey)) {
      err << "launcher-pack: --sign-key: " << *mismatch << "\n";
      return kExitFindings;
    }
  }
  request.version = VersionInformation(model, options->version, target);
  if (const auto disagrees = FileVersionDisagrees(model, options->version))
    err << "launcher-pack: warning: " << *disagrees << "\n";
  const auto program = ReadWholeFile(launcher, &error);
  if (!program) return Refuse(err, error);
  if (!ProgramImageEnd(*program)) return Refuse(err, *line.exe + " is not a 32-bit Windows program");
  const auto zip = BuildZip(skin->Files());
  if (!zip) return Refuse(err, "the skin's zip archive could not be made");
  const auto branded = BrandProgram(*program, *zip, request, &error);
  if (!branded) return Refuse(err, *line.exe + " cannot be branded: " + error);
  // A release the launchers in the field fetch: none fetches more.
  if (branded->file.size() > kLargestUpdate && !model.server.empty()) {
    err << "launcher-pack: " << *line.output << " would be " << branded->file.size() << " bytes, more than the "
        << (kLargestUpdate >> 20) << " MB a launcher fetches as an update: nothing written\n";
    return kExitFindings;
  }
  if (!WriteWholeFile(target, branded->file, &error)) return Refuse(err, error);
  fs::permissions(target, fs::status(launcher, code).permissions(), code);  // an executable stays executable

  out << "wrote " << *line.output << ": the launcher (" << branded->imageSize << " bytes) and a skin of "
      << skin->Files().size() << " files (" << zip->size() << " bytes)\n";
  if (request.icon) out << "its icon: the " << request.icon->size() << " images of " << *line.icon << "\n";
  if (request.version) ReportVersion(*request.version, options->version, out);
  ReportCuts(*branded, line, out);
  ReportLeftOut(leftOut, out);
  out << *line.output << ": " << branded->file.size() << " bytes\n";
  WarnOfName(target, err);
  if (signKey && !WriteSignatureFile(*line.output, branded->file, *signKey, out, &error)) return Refuse(err, error);
  return kExitClean;
}
