// Writes the seeds that only a program can make into one folder per fuzzer
// under the folder it is given: small launchers with their packages, built
// as the tests build them, for the check of a downloaded launcher, and key,
// signature and file triples that belong together, for the signature's
// check. Everything is made from fixed inputs, so every build writes the
// same bytes.
//   fuzz_seeds <folder>
#include <sodium/crypto_sign_ed25519.h>

#include <array>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "png_writer.h"
#include "update/update_signature.h"
#include "zip_builder.h"

namespace {

using namespace std::string_literals;
using testkit::Bytes;
using testkit::Concat;
using testkit::MakePeImage;
using testkit::ZipBuilder;

bool Write(const std::filesystem::path& path, const Bytes& content) {
  std::ofstream out(path, std::ios::binary);
  out.write(reinterpret_cast<const char*>(content.data()), static_cast<std::streamsize>(content.size()));
  return static_cast<bool>(out);
}

std::string Png(int width, int height) {
  const Bytes png = testkit::RgbaPng(width, height, [](int x, int y) { return 0xFF000000u | (x * 0x80u) | (y << 8); });
  return std::string(png.begin(), png.end());
}

// A whole skin's package: the configuration with `globalLines` and a login
// background, stored or deflated.
Bytes Package(const std::string& globalLines, bool deflate = true) {
  return ZipBuilder()
      .Add("config/cg.txt", testkit::MinimalConfig(globalLines), deflate)
      .Add("config/main1.png", Png(2, 2), deflate)
      .Build();
}

// A package whose configuration opens the game window first, with the
// pictures that window needs, or without its logo.
Bytes GamePackage(bool withLogo) {
  ZipBuilder zip;
  zip.Add("config/cg.txt", testkit::MinimalConfig("version=1.04\r\nfirstUrl=http://game.example/\r\n"))
      .Add("config/main1.png", Png(2, 2))
      .Add("config/style.png", Png(8, 8));
  if (withLogo) zip.Add("config/logo.png", Png(4, 2));
  return zip.Build();
}

// A 1 x 1 PNG whose header announces `width` x `height` pixels.
std::string PngAnnouncing(std::uint32_t width, std::uint32_t height) {
  std::string png = Png(1, 1);
  for (int i = 0; i < 4; ++i) {
    png[16 + i] = static_cast<char>(width >> (24 - 8 * i));
    png[20 + i] = static_cast<char>(height >> (24 - 8 * i));
  }
  return png;
}

Bytes WithByte(Bytes bytes, std::size_t at, std::uint8_t value) {
  bytes.at(at) = value;
  return bytes;
}

// Downloaded files: launchers the check takes, and the near misses it must
// refuse, each a step from a launcher.
std::vector<std::pair<std::string, Bytes>> LauncherImages() {
  const Bytes launcher = Concat({MakePeImage(), Package("version=1.02\r\n")});
  return {
      {"launcher", launcher},
      {"stored-members", Concat({MakePeImage(), Package("version=1.02\r\n", false)})},
      {"three-sections", Concat({MakePeImage(4096, 3), Package("version=2.5\r\n")})},
      {"packed-twice", Concat({launcher, Package("version=1.03\r\n")})},
      {"gbk-version", Concat({MakePeImage(), Package("version=\xB0\xE6\xB1\xBE 3.1\r\n")})},
      {"no-version", Concat({MakePeImage(), Package("")})},
      {"refused-configuration",
       Concat({MakePeImage(), ZipBuilder().Add("config/cg.txt", "[global]\r\nversion=1.02\r\n").Build()})},
      {"no-configuration", Concat({MakePeImage(), ZipBuilder().Add("config/main1.png", "x").Build()})},
      {"game-first", Concat({MakePeImage(), GamePackage(true)})},
      {"game-first-without-logo", Concat({MakePeImage(), GamePackage(false)})},
      {"no-login-picture",
       Concat({MakePeImage(), ZipBuilder().Add("config/cg.txt", testkit::MinimalConfig("version=1.02\r\n")).Build()})},
      {"huge-login-picture", Concat({MakePeImage(), ZipBuilder()
                                                        .Add("config/cg.txt", testkit::MinimalConfig("version=1.02\r\n"))
                                                        .Add("config/main1.png", PngAnnouncing(30000, 30000))
                                                        .Build()})},
      {"no-package", MakePeImage()},
      {"machine-x64", WithByte(WithByte(launcher, 0x84, 0x64), 0x85, 0x86)},
  };
}

// A text as FuzzedDataProvider's ConsumeRandomLengthString gives it back:
// a backslash doubled, and a backslash with another character after it
// ending the text.
std::string RandomLengthString(const std::string& text) {
  std::string out;
  for (const char c : text) {
    out += c;
    if (c == '\\') out += '\\';
  }
  return out + "\\;";
}

std::string Upper(std::string text) {
  for (char& c : text)
    if (c >= 'a' && c <= 'f') c = static_cast<char>(c - 'a' + 'A');
  return text;
}

// The signature fuzzer's input: the key's and the signature's texts, a
// working directory and a program path, then the file.
Bytes SignatureInput(const std::string& key, const std::string& signature, const std::string& directory,
                     const std::string& program, const std::string& file) {
  const std::string text = RandomLengthString(key) + RandomLengthString(signature) + RandomLengthString(directory) +
                           RandomLengthString(program) + file;
  return Bytes(text.begin(), text.end());
}

std::vector<std::pair<std::string, Bytes>> SignedFiles() {
  struct Case {
    const char* name;
    std::uint8_t seed;
    std::string file;
    bool upperCase;
    const char* around;  // white space before and after the signature's digits
    const char* directory;
    const char* program;
  } cases[] = {
      {"empty-file", 1, "", false, "", "C:\\Games", "C:\\Games\\Launcher.exe"},
      {"one-byte", 2, "r", true, "\r\n", "c:\\games\\", "C:\\GAMES\\L.exe"},
      {"launcher", 3, "MZ launcher bytes \x00\xFF and more"s, false, " \t", "D:\\\xD3\xCE\xCF\xB7",
       "D:\\\xD3\xCE\xCF\xB7\\Launcher.exe"},
      // A double-byte character whose second byte is the letter A.
      {"trail-letter", 4, std::string(300, 'x'), true, "\n", "E:\\\x81\x41", "E:\\\x81\x41\\Game.exe"},
  };
  std::vector<std::pair<std::string, Bytes>> seeds;
  for (const Case& c : cases) {
    std::array<std::uint8_t, 32> seed;
    seed.fill(c.seed);
    UpdatePublicKey key{};
    std::array<std::uint8_t, 64> secret{};
    crypto_sign_ed25519_seed_keypair(key.data(), secret.data(), seed.data());
    UpdateSignature signature{};
    crypto_sign_ed25519_detached(signature.data(), nullptr, reinterpret_cast<const unsigned char*>(c.file.data()),
                                 c.file.size(), secret.data());
    std::string digits = HexDigits(signature);
    if (c.upperCase) digits = Upper(digits);
    seeds.emplace_back(c.name, SignatureInput(HexDigits(key), c.around + digits + c.around, c.directory, c.program,
                                              c.file));
  }
  return seeds;
}

bool WriteAll(const std::filesystem::path& folder, const std::vector<std::pair<std::string, Bytes>>& seeds) {
  std::error_code error;
  std::filesystem::create_directories(folder, error);
  for (const auto& [name, content] : seeds)
    if (!Write(folder / name, content)) return false;
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: fuzz_seeds FOLDER\n");
    return 2;
  }
  const std::filesystem::path root = argv[1];
  if (!WriteAll(root / "update_image", LauncherImages()) || !WriteAll(root / "update_signature", SignedFiles())) {
    std::fprintf(stderr, "fuzz_seeds: cannot write into %s\n", argv[1]);
    return 1;
  }
  return 0;
}
