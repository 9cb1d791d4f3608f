#include "inspect_update.h"

#include "file_io.h"
#include "update/launcher_image.h"
#include "update/update_signature.h"
#include "update/update_version.h"
#include "update_signing.h"

namespace {

std::span<const std::uint8_t> AsBytes(std::string_view text) {
  return {reinterpret_cast<const std::uint8_t*>(text.data()), text.size()};
}

}  // namespace

bool WriteUpdateTrust(std::ostream& out, const CommandLine& line, const LauncherConfig* model,
                      std::string_view program, std::string* error) {
  const bool isProgram = !program.empty();
  if (model != nullptr) {
    if (model->updateKey.empty())
      out << "updates: not signed (no updateKey): any exe the server answers with is installed\n";
    else if (!ParseUpdateKey(model->updateKey))
      out << "updates: none installed: updateKey is not 64 hexadecimal digits\n";
    else
      out << "updates: signed; installed only with a signature by updateKey=" << model->updateKey << "\n";
  }
  if (!isProgram) return true;
  const auto version = LauncherImageVersion(AsBytes(program));
  out << "as an update: "
      << (version ? "carries version " + (version->empty() ? std::string("(none)") : *version) +
                        ", installed by launchers older than " + std::to_string(ParseVersion(*version).major) + "." +
                        std::to_string(ParseVersion(*version).minor)
                  : std::string("no launcher would install it (no package it could start with)"))
      << "\n";

  // Against which key: the one given, else the one this exe itself trusts
  // (an operator keeps one key from release to release).
  std::string keyText = line.key ? *line.key : (model != nullptr ? model->updateKey : std::string());
  if (!line.key && !line.signature) return true;
  const auto key = ParseUpdateKey(keyText);
  if (!key) {
    *error = keyText.empty() ? "no key to verify against: give --key with the 64 hexadecimal digits of updateKey"
                             : "--key: not 64 hexadecimal digits";
    return false;
  }
  const std::filesystem::path sigPath =
      line.signature ? PathOf(*line.signature) : SignaturePathFor(PathOf(line.inputs[0]));
  const auto body = ReadWholeFile(sigPath, error);
  if (!body) return false;
  const auto signature = ParseUpdateSignature(*body);
  const bool verifies = signature && VerifyUpdateSignature(AsBytes(program), *signature, *key);
  out << "signature " << Shown(sigPath) << ": "
      << (!signature ? "malformed (not 128 hexadecimal digits): no launcher installs the exe"
                     : verifies ? "verifies against updateKey=" + HexDigits(*key)
                                : "does NOT verify against updateKey=" + HexDigits(*key) +
                                      ": launchers trusting that key refuse the exe")
      << "\n";
  return true;
}
