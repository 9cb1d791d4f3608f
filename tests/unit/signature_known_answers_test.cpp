// Ed25519 as the launcher's update check runs it, against known answers:
// RFC 8032's test vectors (section 7.1) signed and verified, and what must
// be refused however close it comes to them. It runs natively against the
// system's library and, built for 32-bit Windows from the same sources with
// the same flags as the launcher's own copy, under emulation (signature_tests).
#include <gtest/gtest.h>
#include <sodium/crypto_sign_ed25519.h>

#include <array>
#include <iterator>
#include <string>
#include <vector>

#include "update/update_signature.h"

namespace {

struct Vector {
  const char* name;
  const char* seed;
  const char* publicKey;
  std::vector<std::uint8_t> message;
  const char* signature;
};

const Vector kVectors[] = {
    {"TEST 1",
     "9d61b19deffd5a60ba844af492ec2cc44449c5697b326919703bac031cae7f60",
     "d75a980182b10ab7d54bfed3c964073a0ee172f3daa62325af021a68f707511a",
     {},
     "e5564300c360ac729086e2cc806e828a84877f1eb8e5d974d873e06522490155"
     "5fb8821590a33bacc61e39701cf9b46bd25bf5f0595bbe24655141438e7a100b"},
    {"TEST 2",
     "4ccd089b28ff96da9db6c346ec114e0f5b8a319f35aba624da8cf6ed4fb8a6fb",
     "3d4017c3e843895a92b70aa74d1b7ebc9c982ccf2ec4968cc0cd55f12af4660c",
     {0x72},
     "92a009a9f0d4cab8720e820b5f642540a2b27b5416503f8fb3762223ebdb69da"
     "085ac1e43e15996e458f3613d0f11d8c387b2eaeb4302aeeb00d291612bb0c00"},
    {"TEST 3",
     "c5aa8df43f9f837bedb7442f31dcb7b166d38535076f094b85ce3a2e0b4458f7",
     "fc51cd8e6218a1a38da47ed00230f0580816ed13ba3303ac5deb911548908025",
     {0xaf, 0x82},
     "6291d657deec24024827e69c3abe01a30ce548a284743a445e3680d7db5ac3ac"
     "18ff9b538d16f290ae67f760984dc6594a7c15e9716ed28dc027beceea1ec40a"},
};

UpdatePublicKey Key(const char* hex) { return ParseUpdateKey(hex).value(); }
UpdateSignature Signature(const char* hex) { return ParseUpdateSignature(hex).value(); }

// S + L, where L is the order of the base point: the same point equation
// holds, so a verifier that takes S unreduced accepts a second signature
// for the same message.
UpdateSignature Malleated(UpdateSignature signature) {
  static constexpr std::uint8_t kOrder[32] = {0xed, 0xd3, 0xf5, 0x5c, 0x1a, 0x63, 0x12, 0x58, 0xd6, 0x9c, 0xf7,
                                              0xa2, 0xde, 0xf9, 0xde, 0x14, 0,    0,    0,    0,    0,    0,
                                              0,    0,    0,    0,    0,    0,    0,    0,    0,    0x10};
  unsigned carry = 0;
  for (int i = 0; i < 32; ++i) {
    carry += signature[32 + i] + kOrder[i];
    signature[32 + i] = static_cast<std::uint8_t>(carry);
    carry >>= 8;
  }
  return signature;
}

}  // namespace

TEST(SignatureKnownAnswers, Rfc8032VectorsSignAndVerifyAsPublished) {
  for (const Vector& v : kVectors) {
    const UpdatePublicKey seed = Key(v.seed);
    UpdatePublicKey publicKey{};
    std::array<std::uint8_t, 64> secretKey{};
    ASSERT_EQ(crypto_sign_ed25519_seed_keypair(publicKey.data(), secretKey.data(), seed.data()), 0) << v.name;
    EXPECT_EQ(HexDigits(publicKey), v.publicKey) << v.name;
    UpdateSignature signature{};
    crypto_sign_ed25519_detached(signature.data(), nullptr, v.message.data(), v.message.size(), secretKey.data());
    EXPECT_EQ(HexDigits(signature), v.signature) << v.name;
    EXPECT_TRUE(VerifyUpdateSignature(v.message, Signature(v.signature), Key(v.publicKey))) << v.name;
  }
}

TEST(SignatureKnownAnswers, EverythingButTheVectorItselfIsRefused) {
  for (const Vector& v : kVectors) {
    std::vector<std::uint8_t> longer = v.message, changed = v.message;
    longer.push_back(0);
    if (!changed.empty()) changed.back() ^= 0x01;
    UpdatePublicKey otherKey = Key(v.publicKey);
    otherKey[5] ^= 0x01;
    UpdateSignature otherR = Signature(v.signature), otherS = Signature(v.signature);
    otherR[0] ^= 0x01;
    otherS[40] ^= 0x01;
    struct Case {
      const char* what;
      std::vector<std::uint8_t> message;
      UpdateSignature signature;
      UpdatePublicKey key;
    } cases[] = {
        {"a byte more", longer, Signature(v.signature), Key(v.publicKey)},
        {"a byte of the key changed", v.message, Signature(v.signature), otherKey},
        {"a byte of R changed", v.message, otherR, Key(v.publicKey)},
        {"a byte of S changed", v.message, otherS, Key(v.publicKey)},
        {"S + L: malleated", v.message, Malleated(Signature(v.signature)), Key(v.publicKey)},
        {"another vector's signature", v.message,
         Signature(kVectors[(&v - kVectors + 1) % std::size(kVectors)].signature), Key(v.publicKey)},
    };
    for (const Case& c : cases)
      EXPECT_FALSE(VerifyUpdateSignature(c.message, c.signature, c.key)) << v.name << ": " << c.what;
    if (!v.message.empty()) {
      EXPECT_FALSE(VerifyUpdateSignature(changed, Signature(v.signature), Key(v.publicKey)))
          << v.name << ": a byte changed";
    }
  }
}

TEST(SignatureKnownAnswers, KeysOfSmallOrderAreRefusedWhateverTheyAreShown) {
  // The neutral point as the key, R the same and S zero: R + [k]A = [S]B
  // holds for every message, so a verifier without libsodium's check for
  // small-order points accepts this forgery of anything.
  const UpdatePublicKey neutral = Key("0100000000000000000000000000000000000000000000000000000000000000");
  const UpdateSignature forged = Signature(
      "0100000000000000000000000000000000000000000000000000000000000000"
      "0000000000000000000000000000000000000000000000000000000000000000");
  for (const Vector& v : kVectors) {
    EXPECT_FALSE(VerifyUpdateSignature(v.message, forged, neutral)) << v.name;
    EXPECT_FALSE(VerifyUpdateSignature(v.message, Signature(v.signature), neutral)) << v.name;
  }
}
