#include "update/update_signature.h"

#include <gtest/gtest.h>
#include <sodium/crypto_sign_ed25519.h>

#include <string>
#include <vector>

namespace {

const std::string kDigits128 = std::string(64, '0') + std::string(64, 'a');

std::vector<std::uint8_t> Bytes(const std::string& text) { return {text.begin(), text.end()}; }

// A key pair from a fixed seed, so that a failure can be replayed.
struct KeyPair {
  explicit KeyPair(std::uint8_t seedByte) {
    std::array<std::uint8_t, 32> seed;
    seed.fill(seedByte);
    crypto_sign_ed25519_seed_keypair(publicKey.data(), secretKey.data(), seed.data());
  }
  UpdateSignature Sign(const std::vector<std::uint8_t>& message) const {
    UpdateSignature signature{};
    crypto_sign_ed25519_detached(signature.data(), nullptr, message.data(), message.size(), secretKey.data());
    return signature;
  }
  UpdatePublicKey publicKey{};
  std::array<std::uint8_t, 64> secretKey{};
};

}  // namespace

TEST(ParseUpdateKey, TakesExactly64HexDigitsOfEitherCase) {
  struct Case {
    std::string text;
    bool valid;
  } cases[] = {
      {std::string(64, 'a'), true},
      {std::string(64, 'F'), true},
      {"0123456789abcdefABCDEF" + std::string(42, '7'), true},
      {std::string(63, 'a'), false},
      {std::string(65, 'a'), false},
      {std::string(63, 'a') + "g", false},
      {" " + std::string(64, 'a'), false},
      {std::string(32, 'a') + " " + std::string(32, 'a'), false},
      {"0x" + std::string(62, 'a'), false},
      {"", false},
      {std::string(63, 'a') + std::string(1, '\0'), false},
  };
  for (const Case& c : cases) EXPECT_EQ(ParseUpdateKey(c.text).has_value(), c.valid) << c.text;
}

TEST(ParseUpdateKey, ReadsTheDigitsAsBytesInOrder) {
  const auto key = ParseUpdateKey("00ff10Ab" + std::string(56, '0'));
  ASSERT_TRUE(key);
  EXPECT_EQ((*key)[0], 0x00);
  EXPECT_EQ((*key)[1], 0xFF);
  EXPECT_EQ((*key)[2], 0x10);
  EXPECT_EQ((*key)[3], 0xAB);
  EXPECT_EQ(HexDigits(*key), "00ff10ab" + std::string(56, '0'));
}

TEST(ParseUpdateSignature, Takes128HexDigitsWithWhiteSpaceAroundThem) {
  struct Case {
    const char* what;
    std::string body;
    bool valid;
  } cases[] = {
      {"bare", kDigits128, true},
      {"upper case", std::string(128, 'C'), true},
      {"with a line end", kDigits128 + "\n", true},
      {"white space of every kind around", " \t\r\n\v\f" + kDigits128 + "\r\n \t", true},
      {"127 digits", kDigits128.substr(1), false},
      {"129 digits", kDigits128 + "0", false},
      {"a space inside", kDigits128.substr(0, 64) + " " + kDigits128.substr(64), false},
      {"not hex", kDigits128.substr(1) + "z", false},
      {"base64 of a signature", std::string(86, 'A') + "==", false},
      {"empty", "", false},
      {"white space only", " \r\n", false},
      {"a zero byte after it", kDigits128 + std::string(1, '\0'), false},
  };
  for (const Case& c : cases) EXPECT_EQ(ParseUpdateSignature(c.body).has_value(), c.valid) << c.what;
}

TEST(VerifyUpdateSignature, MatchesRfc8032sPureEd25519) {
  // RFC 8032, section 7.1, test 2: the one-byte message 0x72. A signature
  // made by any standard Ed25519 tool (OpenSSL's pkeyutl -rawin) verifies.
  const auto key = ParseUpdateKey("3d4017c3e843895a92b70aa74d1b7ebc9c982ccf2ec4968cc0cd55f12af4660c");
  const auto signature = ParseUpdateSignature(
      "92a009a9f0d4cab8720e820b5f642540a2b27b5416503f8fb3762223ebdb69da"
      "085ac1e43e15996e458f3613d0f11d8c387b2eaeb4302aeeb00d291612bb0c00");
  ASSERT_TRUE(key && signature);
  const std::vector<std::uint8_t> message = {0x72};
  EXPECT_TRUE(VerifyUpdateSignature(message, *signature, *key));
  EXPECT_FALSE(VerifyUpdateSignature(std::vector<std::uint8_t>{0x73}, *signature, *key));
}

TEST(VerifyUpdateSignature, AcceptsOnlyTheKeysSignatureOfExactlyTheseBytes) {
  const KeyPair operatorKey(1), otherKey(2);
  const auto file = Bytes("MZ launcher bytes");
  const UpdateSignature good = operatorKey.Sign(file);
  UpdateSignature flipped = good;
  flipped[10] ^= 0x01;
  // The pre-hashed variant (Ed25519ph) signs SHA-512 of the bytes: not what
  // the launcher checks.
  UpdateSignature prehashed{};
  crypto_sign_ed25519ph_state state;
  crypto_sign_ed25519ph_init(&state);
  crypto_sign_ed25519ph_update(&state, file.data(), file.size());
  crypto_sign_ed25519ph_final_create(&state, prehashed.data(), nullptr, operatorKey.secretKey.data());
  const UpdatePublicKey zeroKey{};  // of small order: would accept forged signatures
  struct Case {
    const char* what;
    std::vector<std::uint8_t> file;
    UpdateSignature signature;
    UpdatePublicKey key;
    bool valid;
  } cases[] = {
      {"signed by the key", file, good, operatorKey.publicKey, true},
      {"one byte of the file changed", Bytes("MZ launcher bytez"), good, operatorKey.publicKey, false},
      {"the file cut short", Bytes("MZ launcher byte"), good, operatorKey.publicKey, false},
      {"the file longer", Bytes("MZ launcher bytes!"), good, operatorKey.publicKey, false},
      {"one bit of the signature changed", file, flipped, operatorKey.publicKey, false},
      {"signed by another key", file, otherKey.Sign(file), operatorKey.publicKey, false},
      {"checked against another key", file, good, otherKey.publicKey, false},
      {"the pre-hashed variant", file, prehashed, operatorKey.publicKey, false},
      {"an all-zero key and signature", file, UpdateSignature{}, zeroKey, false},
  };
  for (const Case& c : cases) EXPECT_EQ(VerifyUpdateSignature(c.file, c.signature, c.key), c.valid) << c.what;
}
