// verify-server: what the players' launchers get from the update server,
// fetched as they fetch it and judged as they judge it; with --release, also
// whether it is exactly the release made.
#include "commands/commands.h"
#include "commands/skin_opening.h"
#include "formats/file_io.h"
#include "formats/gbk_text.h"
#include "formats/printable.h"
#include "release/release_verdict.h"
#include "release/server_fetch.h"
#include "release/update_addresses.h"
#include "release/version_text.h"
#include "skins/skin_config.h"
#include "update/server_url.h"
#include "update/update_verdict.h"

namespace {

// The version file's first line is all a launcher reads; nothing longer
// than a signature file's digits and white space is one.
constexpr std::uint64_t kVersionFileLimit = 4096;
constexpr std::uint64_t kSignatureFileLimit = 1024;

// Why `served` is not the file release wrote into `folder` for
// `serverPath` (under the name it has on the server); nothing when it is,
// byte for byte.
std::optional<std::string> DiffersFromMade(const std::string& folder, const std::string& serverPath,
                                           const std::string& served) {
  const auto file = PathOf(folder) / PathOf(GbkToUtf8(LastPathComponent(serverPath)));
  std::string error;
  const auto made = ReadWholeFile(file, &error);
  if (!made) return error;
  if (*made == served) return std::nullopt;
  const std::string size = served.size() == made->size()
                               ? "other bytes than " + Shown(file) + " (as many)"
                               : std::to_string(served.size()) + " bytes, not the " + std::to_string(made->size()) +
                                     " bytes of " + Shown(file);
  return "the server serves " + size + ": upload it again";
}

}  // namespace

int RunVerifyServer(const CommandLine& line, std::ostream& out, std::ostream& err) {
  auto opened = OpenNamedSkin(line, err);
  if (!opened) return kExitUnreadable;
  const auto config = ReadSkinConfig(*opened->source);
  if (config == nullptr || !config->accepted) {
    err << "launcher-pack: " << line.inputs[0] << " has no configuration the launcher starts with: run check\n";
    return kExitUnreadable;
  }
  const LauncherConfig& model = config->model;
  const auto addresses = AddressesOf(model);
  if (!addresses) {
    err << "launcher-pack: " << line.inputs[0] << " names no [global] server: its launcher asks for no update\n";
    return kExitFindings;
  }
  std::error_code code;
  if (line.releaseDir && !std::filesystem::is_directory(PathOf(*line.releaseDir), code)) {
    err << "launcher-pack: --release " << *line.releaseDir << " is not a folder\n";
    return kExitUnreadable;
  }
  // With --release and no --previous: every launcher older than the release.
  std::optional<Version> previous;
  if (line.previous || !line.releaseDir) previous = ParseVersion(line.previous ? *line.previous : model.version);
  const std::string who =
      previous ? "a launcher of version " + VersionText(*previous) : std::string("an older launcher");
  out << who << " asks for its update:\n";
  const auto http = MakeHttpClient(line.caFile);
  const auto shown = [](const std::string& gbk) { return Escaped(GbkToUtf8(gbk)); };
  std::vector<std::string> differences;
  const auto compare = [&](const std::string& serverPath, const std::optional<std::string>& body) {
    if (!line.releaseDir || !body) return;
    if (const auto why = DiffersFromMade(*line.releaseDir, serverPath, *body))
      differences.push_back(shown(serverPath) + ": " + *why);
  };

  const Fetched version = FetchLikeTheLauncher(*http, addresses->versionFile, kVersionFileLimit, true);
  out << "  " << shown(addresses->versionFile) << ": " << version.outcome << "\n";
  if (!version.body) {
    out << "no launcher installs anything: the version file cannot be had\n";
    return kExitFindings;
  }
  const std::string_view line1 = VersionLine(*version.body);
  if (const auto broken = NotAVersionLine(line1)) {
    out << "the version file's first line " << *broken << "; no launcher ever fetches the new exe\n";
    return kExitFindings;
  }
  const Version offered = ParseVersion(line1);
  if (previous && !IsNewerVersion(*previous, offered)) {
    out << "the version file offers " << VersionText(offered) << ", not newer than " << VersionText(*previous)
        << ": such a launcher is up to date and fetches nothing more\n";
    return kExitFindings;
  }
  compare(model.versionUrl, version.body);
  const Fetched launcher = FetchLikeTheLauncher(*http, addresses->launcher, kLargestUpdate);
  out << "  " << shown(addresses->launcher) << ": " << launcher.outcome << "\n";
  compare(model.exeUrl, launcher.body);
  ReleaseBytes release{*version.body, launcher.body.value_or(""), std::nullopt};
  if (!model.updateKey.empty()) {
    const Fetched signature = FetchLikeTheLauncher(*http, addresses->signature, kSignatureFileLimit);
    out << "  " << shown(addresses->signature) << ": " << signature.outcome << "\n";
    release.signature = signature.body;
    compare(model.exeUrl + kSignatureSuffix, signature.body);
  }
  if (!launcher.body) {
    out << "no launcher installs anything: the new exe cannot be had\n";
    return kExitFindings;
  }
  // The players' launcher, when it is given, is of its own kind; a skin's is the product.
  const std::uint16_t machine = opened->source->IsProgram()
                                    ? LauncherKind(static_cast<const PackageSkin&>(*opened->source).FileBytes())
                                    : kLauncherMachine;
  const ReleaseVerdict verdict = JudgeRelease(release, model.updateKey, previous, machine);
  if (!verdict.Installs()) {
    out << who << " would NOT install it:\n";
    for (const std::string& problem : verdict.problems) out << "  " << problem << "\n";
    return kExitFindings;
  }
  if (!differences.empty()) {
    out << "the server does not serve the release in " << *line.releaseDir << ":\n";
    for (const std::string& difference : differences) out << "  " << difference << "\n";
    return kExitFindings;
  }
  out << who << " installs it: version " << verdict.carried
      << (model.updateKey.empty() ? ", unsigned (the launcher checks no signature)"
                                  : ", its signature verifying against updateKey=" + model.updateKey)
      << (line.releaseDir ? ", exactly the release in " + *line.releaseDir : std::string()) << "\n";
  return kExitClean;
}
