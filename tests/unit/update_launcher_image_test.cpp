#include <gtest/gtest.h>

#include "update/launcher_image.h"
#include "zip_builder.h"

using testkit::Bytes;
using testkit::Concat;
using testkit::MakePeImage;
using testkit::ToBytes;
using testkit::ZipBuilder;

namespace {

Bytes Package() { return ZipBuilder().Add("config/cg.txt", testkit::MinimalConfig()).Build(); }

Bytes WithByte(Bytes bytes, std::size_t at, std::uint8_t value) {
  bytes.at(at) = value;
  return bytes;
}

}  // namespace

TEST(IsLauncherImage, AcceptsOnlyA32BitImageWithAReadableConfiguration) {
  const Bytes launcher = Concat({MakePeImage(), Package()});
  const Bytes truncatedPackage = Bytes(launcher.begin(), launcher.end() - 30);
  // The deflated configuration follows its 30-byte local header and 13-byte
  // name; a first block of the reserved type 3 cannot be inflated.
  const Bytes damagedMember = WithByte(launcher, MakePeImage().size() + 30 + 13, 0x07);
  struct Case {
    const char* what;
    Bytes file;
    bool accepted;
  } cases[] = {
      {"a packed launcher", launcher, true},
      {"a launcher appended to twice: the last package counts", Concat({launcher, Package()}), true},
      {"empty", {}, false},
      {"an HTML page", ToBytes("<!DOCTYPE html><html><body>Sign in to the network</body></html>"), false},
      {"a zip alone", Package(), false},
      {"a program without a package", MakePeImage(), false},
      {"no MZ", WithByte(launcher, 0, 'X'), false},
      {"no PE signature", WithByte(launcher, 0x80, 'X'), false},
      {"a 64-bit machine", WithByte(WithByte(launcher, 0x84, 0x64), 0x85, 0x86), false},
      {"NT headers past the end", WithByte(launcher, 0x3F, 0x7F), false},
      {"a package without config/cg.txt", Concat({MakePeImage(), ZipBuilder().Add("config/CG.TXT", "x").Build()}),
       false},
      {"a package cut short", truncatedPackage, false},
      {"a configuration that does not inflate", damagedMember, false},
  };
  for (const Case& c : cases) EXPECT_EQ(IsLauncherImage(c.file), c.accepted) << c.what;
}
