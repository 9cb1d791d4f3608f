#include "reports/inspect_update.h"

#include "formats/file_io.h"
#include "formats/gbk_text.h"
#include "formats/printable.h"
#include "release/release_verdict.h"
#include "reports/json_reports.h"
#include "signing/update_signing.h"
#include "update/launcher_image.h"
#include "update/update_signature.h"
#include "update/update_verdict.h"
#include "update/update_version.h"

namespace {

std::span<const std::uint8_t> AsBytes(std::string_view text) {
  return {reinterpret_cast<const std::uint8_t*>(text.data()), text.size()};
}

std::string ReadAs(const Version& version) {
  return std::to_string(version.major) + "." + std::to_string(version.minor);
}

std::string Below(const UpdateTrust& trust) { return ReadAs({trust.major, trust.minor}); }

}  // namespace

std::optional<UpdateTrust> ReadUpdateTrust(const CommandLine& line, const LauncherConfig* model,
                                           std::string_view program, std::string* error) {
  UpdateTrust trust;
  if (model != nullptr) {
    trust.updateKey = model->updateKey;
    trust.signing = model->updateKey.empty()           ? UpdateTrust::Signing::kUnsigned
                    : ParseUpdateKey(model->updateKey) ? UpdateTrust::Signing::kSigned
                                                       : UpdateTrust::Signing::kKeyMalformed;
    trust.configuredVersion = model->version;
    trust.configuredReadAs = ReadAs(ParseVersion(model->version));
    trust.addresses = AddressesOf(*model);
  }
  trust.isProgram = !program.empty();
  if (!trust.isProgram) return trust;
  trust.tooLarge = program.size() > kLargestUpdate;
  if (const auto version = LauncherImageVersion(AsBytes(program), LauncherKind(program)); version && !trust.tooLarge) {
    trust.installable = true;
    trust.version = *version;
    const Version parsed = ParseVersion(*version);
    trust.major = parsed.major;
    trust.minor = parsed.minor;
  }

  // Against which key: the one given, else the one this exe itself trusts
  // (an operator keeps one key from release to release).
  if (!line.key && !line.signature) return trust;
  const std::string keyText = line.key ? *line.key : (model != nullptr ? model->updateKey : std::string());
  const auto key = ParseUpdateKey(keyText);
  if (!key) {
    *error = keyText.empty() ? "no key to verify against: give --key with the 64 hexadecimal digits of updateKey"
                             : "--key: not 64 hexadecimal digits";
    return std::nullopt;
  }
  const std::filesystem::path sigPath =
      line.signature ? PathOf(*line.signature) : SignaturePathFor(PathOf(line.inputs[0]));
  const auto body = ReadWholeFile(sigPath, error);
  if (!body) return std::nullopt;
  const auto signature = ParseUpdateSignature(*body);
  trust.signature = UpdateTrust::SignatureCheck{Shown(sigPath), HexDigits(*key), signature.has_value(),
                                                signature && VerifyUpdateSignature(AsBytes(program), *signature, *key)};
  return trust;
}

void WriteUpdateTrustText(std::ostream& out, const UpdateTrust& trust) {
  if (trust.signing == UpdateTrust::Signing::kUnsigned)
    out << "updates: not signed (no updateKey): any exe the server answers with is installed\n";
  else if (trust.signing == UpdateTrust::Signing::kKeyMalformed)
    out << "updates: none installed: updateKey is not 64 hexadecimal digits\n";
  else if (trust.signing == UpdateTrust::Signing::kSigned)
    out << "updates: signed; installed only with a signature by updateKey=" << trust.updateKey << "\n";
  if (trust.signing) {
    const std::string written = Escaped(GbkToUtf8(trust.configuredVersion));
    if (trust.configuredVersion.empty())
      out << "version: none, which the launcher reads as 0.0\n";
    else if (trust.configuredVersion == trust.configuredReadAs)
      out << "version: " << written << "\n";
    else
      out << "version: " << written << ", which the launcher reads as " << trust.configuredReadAs
          << ": to it every version written with these two numbers is the same one (" << written << " and "
          << trust.configuredReadAs << " are equal)\n";
  }
  if (trust.signing) WriteAddresses(out, trust.addresses, trust.signing == UpdateTrust::Signing::kSigned);
  if (!trust.isProgram) return;
  if (trust.tooLarge) {
    out << "as an update: larger than " << (kLargestUpdate >> 20)
        << " MB, which no launcher fetches: none installs it\n";
  } else
    out << "as an update: "
        << (trust.installable ? "carries version " + (trust.version.empty() ? std::string("(none)") : trust.version) +
                                    ", installed by launchers older than " + Below(trust)
                              : std::string("no launcher would install it (no package it could start with)"))
        << "\n";
  if (const auto& check = trust.signature)
    out << "signature " << check->file << ": "
        << (!check->wellFormed ? "malformed (not 128 hexadecimal digits): no launcher installs the exe"
            : check->verifies
                ? "verifies against updateKey=" + check->key
                : "does NOT verify against updateKey=" + check->key + ": launchers trusting that key refuse the exe")
        << "\n";
}

nlohmann::ordered_json UpdateTrustJson(const UpdateTrust& trust) {
  using nlohmann::ordered_json;
  ordered_json json;
  ordered_json& signing = json["signing"];
  if (trust.signing)
    signing = trust.signing == UpdateTrust::Signing::kUnsigned ? "unsigned"
              : trust.signing == UpdateTrust::Signing::kSigned ? "signed"
                                                               : "keyMalformed";
  ordered_json& version = json["version"];
  if (trust.signing) version = {{"written", trust.configuredVersion}, {"readAs", trust.configuredReadAs}};
  json["requests"] = RequestsJson(trust.addresses, trust.signing == UpdateTrust::Signing::kSigned);
  ordered_json& program = json["program"];
  if (trust.isProgram)
    program = {{"installable", trust.installable},
               {"tooLarge", trust.tooLarge},
               {"version", trust.installable ? ordered_json(trust.version) : ordered_json()},
               {"installedBelow", trust.installable ? ordered_json(Below(trust)) : ordered_json()}};
  if (const auto& check = trust.signature)
    json["signature"] = {
        {"file", check->file}, {"key", check->key}, {"wellFormed", check->wellFormed}, {"verifies", check->verifies}};
  return json;
}
