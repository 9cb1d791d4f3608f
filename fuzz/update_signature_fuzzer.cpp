// What decides whether an update is trusted: the configured key and the
// signature file as texts, the verification over the file's bytes, and the
// comparison of the working directory with the program's folder. Besides not
// crashing, a parser may accept only the exact forms it promises.
#include <fuzzer/FuzzedDataProvider.h>

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

  if (key && signature) {
    const std::span<const std::uint8_t> bytes(reinterpret_cast<const std::uint8_t*>(file.data()), file.size());
    // A signature holds for exactly one content: a changed byte undoes it.
    if (VerifyUpdateSignature(bytes, *signature, *key) && !file.empty()) {
      std::string changed = file;
      changed[0] ^= 1;
      Require(!VerifyUpdateSignature({reinterpret_cast<const std::uint8_t*>(changed.data()), changed.size()},
                                     *signature, *key));
    }
  }

  // A folder matches itself whatever the letter case of its ASCII letters.
  if (IsProgramFolder(directory, programPath, IsGbkLeadByte)) {
    const std::size_t separator = LastCharacter(programPath, '\\', IsGbkLeadByte);
    Require(separator != std::string::npos && separator > 0);
  }
  return 0;
}
