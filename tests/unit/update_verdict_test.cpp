#include "update/update_verdict.h"

#include <gtest/gtest.h>
#include <sodium/crypto_sign_ed25519.h>

#include "png_writer.h"
#include "zip_builder.h"

using testkit::Bytes;
using testkit::Concat;
using testkit::MakePeImage;
using testkit::ZipBuilder;

namespace {

constexpr char kChannel[] = "server=update.test\r\nversionUrl=/v.txt\r\nexeUrl=/L.exe\r\n";

// A launcher that starts and checks for updates: its configuration and the
// login background.
Bytes LauncherOf(const std::string& version, const std::string& key = "", const std::string& more = kChannel,
                 bool marked = true) {
  const Bytes png = testkit::RgbaPng(3, 2, [](int, int) { return 0xFF000000u; });
  std::string lines = "version=" + version + "\r\n" + more;
  if (!key.empty()) lines += "updateKey=" + key + "\r\n";
  return Concat({MakePeImage(1024, 2, marked), ZipBuilder()
                                                   .Add("config/cg.txt", testkit::MinimalConfig(lines))
                                                   .Add("config/main1.png", std::string(png.begin(), png.end()))
                                                   .Build()});
}
struct KeyPair {
  UpdatePublicKey publicKey{};
  std::array<std::uint8_t, 64> secretKey{};
  explicit KeyPair(std::uint8_t seedByte) {
    std::array<std::uint8_t, 32> seed;
    seed.fill(seedByte);
    crypto_sign_ed25519_seed_keypair(publicKey.data(), secretKey.data(), seed.data());
  }
  UpdateSignature Sign(const Bytes& file) const {
    UpdateSignature signature{};
    crypto_sign_ed25519_detached(signature.data(), nullptr, file.data(), file.size(), secretKey.data());
    return signature;
  }
};

}  // namespace

TEST(JudgeDownloadedLauncher, SaysWhyALauncherIsRefused) {
  const KeyPair key(1), other(2);
  const Bytes newer = LauncherOf("1.02", HexDigits(key.publicKey));
  Bytes tampered = newer;
  tampered[0x40] ^= 1;  // a byte of the stub that the image check does not read
  Bytes oversized = newer;
  oversized.resize(kLargestUpdate + 1);
  const Version running{1, 1};
  struct Case {
    const char* what;
    Bytes file;
    std::optional<UpdatePublicKey> key;
    std::optional<UpdateSignature> signature;
    UpdateVerdict verdict;
  } cases[] = {
      {"newer, no key", newer, std::nullopt, std::nullopt, UpdateVerdict::kAccepted},
      {"newer, signed by the key", newer, key.publicKey, key.Sign(newer), UpdateVerdict::kAccepted},
      {"equal to the launcher (1.1 is 1.01)", LauncherOf("1.1"), std::nullopt, std::nullopt, UpdateVerdict::kNotNewer},
      {"older", LauncherOf("1.0"), key.publicKey, key.Sign(LauncherOf("1.0")), UpdateVerdict::kNotNewer},
      {"trusting another key after it", LauncherOf("1.02", HexDigits(other.publicKey)), key.publicKey,
       key.Sign(LauncherOf("1.02", HexDigits(other.publicKey))), UpdateVerdict::kKeyChanged},
      {"trusting no key after it", LauncherOf("1.02"), key.publicKey, key.Sign(LauncherOf("1.02")),
       UpdateVerdict::kKeyChanged},
      {"without the login background",
       Concat(
           {MakePeImage(), ZipBuilder()
                               .Add("config/cg.txt", testkit::MinimalConfig(std::string("version=1.02\r\n") + kChannel))
                               .Build()}),
       std::nullopt, std::nullopt, UpdateVerdict::kDoesNotStart},
      {"no launcher", MakePeImage(), std::nullopt, std::nullopt, UpdateVerdict::kNotLauncher},
      {"larger than any update", oversized, std::nullopt, std::nullopt, UpdateVerdict::kTooLarge},
      {"a key and no signature", newer, key.publicKey, std::nullopt, UpdateVerdict::kUnsigned},
      {"signed by another key", newer, key.publicKey, other.Sign(newer), UpdateVerdict::kWrongSignature},
      {"changed after signing", tampered, key.publicKey, key.Sign(newer), UpdateVerdict::kWrongSignature},
      {"a signature without a key is not looked at", newer, std::nullopt, other.Sign(newer), UpdateVerdict::kAccepted},
      {"another program with a launcher's package", LauncherOf("1.02", "", kChannel, false), std::nullopt, std::nullopt,
       UpdateVerdict::kNotThisLauncher},
      {"opening the game at once", LauncherOf("1.02", "", std::string(kChannel) + "firstUrl=http://g.test/\r\n"),
       std::nullopt, std::nullopt, UpdateVerdict::kOpensTheGame},
      {"a firstUrl of 2 bytes opens the login window",
       LauncherOf("1.02", "", std::string(kChannel) + "firstUrl=ab\r\n"), std::nullopt, std::nullopt,
       UpdateVerdict::kAccepted},
      {"asking no server", LauncherOf("1.02", "", "versionUrl=/v.txt\r\nexeUrl=/L.exe\r\n"), std::nullopt, std::nullopt,
       UpdateVerdict::kNoUpdateChannel},
      {"a malformed key after none", LauncherOf("1.02", "0x12"), std::nullopt, std::nullopt,
       UpdateVerdict::kKeyMalformed},
  };
  for (const Case& c : cases)
    EXPECT_EQ(JudgeDownloadedLauncher(c.file, running, c.key, c.signature), c.verdict) << c.what;
  // With the launcher's decoder, a picture that does not decode keeps it from starting.
  const auto refusesAll = [](std::span<const std::uint8_t>) { return false; };
  EXPECT_EQ(JudgeDownloadedLauncher(newer, running, std::nullopt, std::nullopt, refusesAll),
            UpdateVerdict::kDoesNotStart);
}
