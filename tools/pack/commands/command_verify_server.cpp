// verify-server: what the players' launchers get from the update server,
// fetched as they fetch it and judged as they judge it.
#include "commands/commands.h"
#include "commands/skin_opening.h"
#include "formats/gbk_text.h"
#include "formats/printable.h"
#include "release/release_verdict.h"
#include "release/server_fetch.h"
#include "release/update_addresses.h"
#include "skins/skin_config.h"
#include "update/update_verdict.h"

namespace {

// The version file's first line is all a launcher reads; nothing longer
// than a signature file's digits and white space is one.
constexpr std::uint64_t kVersionFileLimit = 4096;
constexpr std::uint64_t kSignatureFileLimit = 1024;

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
  const Version previous = ParseVersion(line.previous ? *line.previous : model.version);
  out << "a launcher of version " << VersionText(previous) << " asks for its update:\n";
  const auto http = MakeHttpClient(line.caFile);
  const auto shown = [](const std::string& gbk) { return Escaped(GbkToUtf8(gbk)); };

  const Fetched version = FetchLikeTheLauncher(*http, addresses->versionFile, kVersionFileLimit, true);
  out << "  " << shown(addresses->versionFile) << ": " << version.outcome << "\n";
  if (!version.body) {
    out << "no launcher installs anything: the version file cannot be had\n";
    return kExitFindings;
  }
  const Version offered = ParseVersion(VersionLine(*version.body));
  if (!IsNewerVersion(previous, offered)) {
    out << "the version file offers " << VersionText(offered) << ", not newer than " << VersionText(previous)
        << ": such a launcher is up to date and fetches nothing more\n";
    return kExitFindings;
  }
  const Fetched launcher = FetchLikeTheLauncher(*http, addresses->launcher, kLargestUpdate);
  out << "  " << shown(addresses->launcher) << ": " << launcher.outcome << "\n";
  ReleaseBytes release{*version.body, launcher.body.value_or(""), std::nullopt};
  if (!model.updateKey.empty()) {
    const Fetched signature = FetchLikeTheLauncher(*http, addresses->signature, kSignatureFileLimit);
    out << "  " << shown(addresses->signature) << ": " << signature.outcome << "\n";
    release.signature = signature.body;
  }
  if (!launcher.body) {
    out << "no launcher installs anything: the new exe cannot be had\n";
    return kExitFindings;
  }
  const ReleaseVerdict verdict = JudgeRelease(release, model.updateKey, previous);
  if (!verdict.Installs()) {
    out << "a launcher of version " << VersionText(previous) << " would NOT install it:\n";
    for (const std::string& problem : verdict.problems) out << "  " << problem << "\n";
    return kExitFindings;
  }
  out << "a launcher of version " << VersionText(previous) << " installs it: version " << verdict.carried
      << (model.updateKey.empty() ? ", unsigned (the launcher checks no signature)"
                                  : ", its signature verifying against updateKey=" + model.updateKey)
      << "\n";
  return kExitClean;
}
