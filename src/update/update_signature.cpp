#include "update/update_signature.h"

#include <sodium/crypto_sign_ed25519.h>

namespace {

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

template <std::size_t N>
std::optional<std::array<std::uint8_t, N>> ParseHex(std::string_view text) {
  if (text.size() != 2 * N) return std::nullopt;
  std::array<std::uint8_t, N> bytes{};
  for (std::size_t i = 0; i < N; ++i) {
    const int high = HexValue(text[2 * i]);
    const int low = HexValue(text[2 * i + 1]);
    if (high < 0 || low < 0) return std::nullopt;
    bytes[i] = static_cast<std::uint8_t>(high << 4 | low);
  }
  return bytes;
}

constexpr std::string_view kWhiteSpace = " \t\r\n\v\f";

}  // namespace

std::optional<UpdatePublicKey> ParseUpdateKey(std::string_view text) { return ParseHex<32>(text); }

std::optional<UpdateSignature> ParseUpdateSignature(std::string_view body) {
  const std::size_t first = body.find_first_not_of(kWhiteSpace);
  if (first == std::string_view::npos) return std::nullopt;
  const std::size_t last = body.find_last_not_of(kWhiteSpace);
  return ParseHex<64>(body.substr(first, last + 1 - first));
}

bool VerifyUpdateSignature(std::span<const std::uint8_t> file, const UpdateSignature& signature,
                           const UpdatePublicKey& key) {
  // libsodium rejects keys of small order and non-canonical signatures, so a
  // crafted key cannot make every signature pass.
  return crypto_sign_ed25519_verify_detached(signature.data(), file.data(), file.size(), key.data()) == 0;
}

std::string HexDigits(std::span<const std::uint8_t> bytes) {
  static constexpr char kDigits[] = "0123456789abcdef";
  std::string text;
  text.reserve(bytes.size() * 2);
  for (const std::uint8_t b : bytes) {
    text += kDigits[b >> 4];
    text += kDigits[b & 15];
  }
  return text;
}
