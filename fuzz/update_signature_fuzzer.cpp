// What decides whether an update is trusted: the configured key and the
// signature file as texts, the verification over the file's bytes, and the
// comparison of the working directory with the program's folder. Besides not
// crashing, a parser may accept only the exact forms it promises, a
// signature must hold for its file and for nothing else, and the folder
// comparison must keep its letter-case rule.
#include <fuzzer/FuzzedDataProvider.h>
#include <sodium/crypto_sign_ed25519.h>

#include <cctype>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "common/text.h"
#include "update/self_replacement.h"
#include "update/update_signature.h"

namespace {

void Require(bool condition) {
  if (!condition) std::abort();
}

std::string Lower(std::string text) {
  for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return text;
}

std::string Trimmed(const std::string& text) {
  const std::size_t first = text.find_first_not_of(" \t\r\n\v\f");
  if (first == std::string::npos) return "";
  return text.substr(first, text.find_last_not_of(" \t\r\n\v\f") + 1 - first);
}

std::span<const std::uint8_t> AsBytes(const std::string& text) {
  return {reinterpret_cast<const std::uint8_t*>(text.data()), text.size()};
}

// A signature holds for exactly one content under one key: a byte changed
// anywhere, one more or one less, in the file or in the signature, undoes it.
void RequireOnlyItsFile(const std::string& file, const UpdateSignature& signature, const UpdatePublicKey& key) {
  Require(VerifyUpdateSignature(AsBytes(file), signature, key));
  if (!file.empty()) {
    for (const std::size_t at : {std::size_t{0}, file.size() / 2, file.size() - 1}) {
      std::string changed = file;
      changed[at] ^= 1;
      Require(!VerifyUpdateSignature(AsBytes(changed), signature, key));
    }
    Require(!VerifyUpdateSignature(AsBytes(file.substr(0, file.size() - 1)), signature, key));
  }
  Require(!VerifyUpdateSignature(AsBytes(file + '\0'), signature, key));
  for (const std::size_t at : {std::size_t{0}, std::size_t{63}}) {
    UpdateSignature changed = signature;
    changed[at] ^= 0x40;
    Require(!VerifyUpdateSignature(AsBytes(file), changed, key));
  }
}

// The operator's side, for any file: what the operator's key signs verifies,
// read back from the texts an operator hands over.
void RequireOwnSignatureVerifies(const std::string& file) {
  static const auto keys = [] {
    struct Keys {
      UpdatePublicKey publicKey{};
      std::array<std::uint8_t, 64> secretKey{};
    } keys;
    std::array<std::uint8_t, 32> seed;
    seed.fill(0x5A);
    crypto_sign_ed25519_seed_keypair(keys.publicKey.data(), keys.secretKey.data(), seed.data());
    return keys;
  }();
  UpdateSignature signature{};
  crypto_sign_ed25519_detached(signature.data(), nullptr, AsBytes(file).data(), file.size(), keys.secretKey.data());
  const auto key = ParseUpdateKey(HexDigits(keys.publicKey));
  const auto parsed = ParseUpdateSignature(HexDigits(signature) + "\r\n");
  Require(key && parsed);
  RequireOnlyItsFile(file, *parsed, *key);
}

bool IsAsciiLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }

// `text` with the letter case of its single-byte letters turned, or, with
// `trailByteAt`, only the byte at that place (the second byte of a
// double-byte character).
std::string CaseTurned(std::string text, std::size_t trailByteAt = std::string::npos) {
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (trailByteAt != std::string::npos && i != trailByteAt) continue;
    if (trailByteAt == std::string::npos && IsGbkLeadByte(static_cast<unsigned char>(text[i])) && i + 1 < text.size()) {
      ++i;
      continue;
    }
    if (IsAsciiLetter(text[i])) text[i] = static_cast<char>(text[i] ^ 0x20);
  }
  return text;
}

// The first double-byte character of `text` whose second byte is a letter:
// the place of that byte.
std::size_t LetterTrailByte(const std::string& text) {
  for (std::size_t i = 0; i + 1 < text.size(); ++i) {
    if (!IsGbkLeadByte(static_cast<unsigned char>(text[i]))) continue;
    if (IsAsciiLetter(text[i + 1])) return i + 1;
    ++i;
  }
  return std::string::npos;
}

// The program's folder matches itself whatever the letter case of its
// single-byte letters, with or without a closing backslash; a double-byte
// character matches only as itself, though its second byte may look like a
// letter; and nothing matches a program path without a folder.
void CheckProgramFolder(const std::string& directory, const std::string& programPath) {
  const std::size_t separator = LastCharacter(programPath, '\\', IsGbkLeadByte);
  if (IsProgramFolder(directory, programPath, IsGbkLeadByte))
    Require(separator != std::string::npos && separator > 0);
  if (separator == std::string::npos || separator == 0) return;
  const std::string folder = programPath.substr(0, separator);
  // The system never names a program with an empty step in its path.
  if (LastCharacter(folder, '\\', IsGbkLeadByte) == folder.size() - 1) return;
  Require(IsProgramFolder(folder, programPath, IsGbkLeadByte));
  Require(IsProgramFolder(folder + "\\", programPath, IsGbkLeadByte));
  Require(IsProgramFolder(CaseTurned(folder), programPath, IsGbkLeadByte));
  if (const std::size_t trail = LetterTrailByte(folder); trail != std::string::npos)
    Require(!IsProgramFolder(CaseTurned(folder, trail), programPath, IsGbkLeadByte));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzedDataProvider input(data, size);
  const std::string keyText = input.ConsumeRandomLengthString(80);
  const std::string signatureText = input.ConsumeRandomLengthString(200);
  const std::string directory = input.ConsumeRandomLengthString(100);
  const std::string programPath = input.ConsumeRandomLengthString(100);
  const std::string file = input.ConsumeRemainingBytesAsString();

  // Accepted only as the digits themselves, which read back the same.
  const auto key = ParseUpdateKey(keyText);
  if (key) Require(HexDigits(*key) == Lower(keyText));
  const auto signature = ParseUpdateSignature(signatureText);
  if (signature) Require(HexDigits(*signature) == Lower(Trimmed(signatureText)));

  // The seeds carry keys, signatures and files that belong together.
  if (key && signature && VerifyUpdateSignature(AsBytes(file), *signature, *key))
    RequireOnlyItsFile(file, *signature, *key);
  RequireOwnSignatureVerifies(file);

  CheckProgramFolder(directory, programPath);
  return 0;
}
