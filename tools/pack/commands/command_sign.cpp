// sign: the signature file that the launcher fetches beside a new exe.
#include "commands/commands.h"
#include "formats/file_io.h"
#include "signing/update_signing.h"
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
  std::string error;
  const auto key = ReadOperatorKey(PathOf(*line.key), &error);
  const auto exe = key ? ReadWholeFile(PathOf(line.inputs[0]), &error) : std::nullopt;
  if (!exe || !WriteSignatureFile(line.inputs[0], *exe, *key, out, &error)) {
    err << "launcher-pack: " << error << "\n";
    return kExitUnreadable;
  }
  const std::span<const std::uint8_t> bytes(reinterpret_cast<const std::uint8_t*>(exe->data()), exe->size());
  if (!LauncherImageVersion(bytes))
    err << "launcher-pack: warning: " << line.inputs[0]
        << " is no launcher with a package the launcher can start with: no launcher installs it\n";
  return kExitClean;
}
