// sign: the signature file that the launcher fetches beside a new exe.
#include "commands/commands.h"
#include "formats/file_io.h"
#include "release/release_verdict.h"
#include "signing/update_signing.h"
#include "skins/skin_config.h"
#include "skins/skin_source.h"
#include "update/launcher_image.h"

bool WriteSignatureFile(const std::string& exe, std::string_view bytes, const OperatorKey& key, std::ostream& out,
                        std::string* error) {
  const std::filesystem::path path = SignaturePathFor(PathOf(exe));
  if (!WriteWholeFile(path, SignatureFileText(bytes, key), error)) return false;
  out << "wrote " << Shown(path) << ": upload it beside " << exe << " (its address + \".sig\"), signed by "
      << UpdateKeyLine(key.publicKey) << "\n";
  return true;
}

int RunSign(const CommandLine& line, std::ostream& out, std::ostream& err) {
  const auto fail = [&](const std::string& why) {
    err << "launcher-pack: " << why << "\n";
    return kExitUnreadable;
  };
  std::string error;
  const auto key = ReadOperatorKey(PathOf(*line.key), &error);
  if (!key) return fail(error);
  if (const auto exposed = KeyFileExposure(PathOf(*line.key))) err << "launcher-pack: warning: " << *exposed << "\n";
  const auto exe = ReadWholeFile(PathOf(line.inputs[0]), &error);
  if (!exe) return fail(error);
  const std::span<const std::uint8_t> bytes(reinterpret_cast<const std::uint8_t*>(exe->data()), exe->size());
  if (!LauncherImageVersion(bytes, LauncherKind(*exe)))
    return fail(line.inputs[0] + " is no launcher with a package a launcher can start with: no launcher installs it");
  // The key the new launcher carries checks every later update: one that
  // differs from the signing key would make the release a dead end.
  const auto package = PackageSkin::Load(PathOf(line.inputs[0]), &error);
  const auto config = package != nullptr ? ReadSkinConfig(*package) : nullptr;
  if (config == nullptr) return fail(line.inputs[0] + ": its configuration cannot be read");
  if (const auto mismatch = KeyMismatch(*key, config->model.updateKey)) {
    err << "launcher-pack: " << *mismatch << "; nothing written\n";
    return kExitFindings;
  }
  if (!WriteSignatureFile(line.inputs[0], *exe, *key, out, &error)) return fail(error);
  return kExitClean;
}
