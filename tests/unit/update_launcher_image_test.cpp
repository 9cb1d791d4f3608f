#include <gtest/gtest.h>

#include "update/launcher_image.h"
#include "png_writer.h"
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
      {"another program of the machine", Concat({MakePeImage(1024, 2, false), Package()}), false},
      {"the mark's name without its bytes", WithByte(launcher, 0x200, 'X'), false},
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

// What keeps an image from starting, named as start-up meets it, with the
// picture at fault: what an operator's tool reports and what a launcher
// refuses to install.
TEST(CheckLauncherImage, NamesTheFirstThingStartUpWouldStopAt) {
  const std::string png = [] {
    const Bytes bytes = testkit::RgbaPng(3, 2, [](int, int) { return 0xFF000000u; });
    return std::string(bytes.begin(), bytes.end());
  }();
  const std::string config = testkit::MinimalConfig("version=1.02\r\nupdateKey=ab\r\n");
  const std::string buttons = "[global]\r\nlinkCount=1\r\n[link1]\r\ntype=2\r\n";
  const std::string straightToGame = testkit::MinimalConfig("firstUrl=http://game.test/\r\n");
  struct Case {
    const char* what;
    Bytes file;
    LauncherImageFault fault;
    const char* picture;
  } cases[] = {
      {"whole", Concat({MakePeImage(), testkit::LauncherPackage(config)}), LauncherImageFault::kNone, ""},
      {"an HTML page", ToBytes("<html></html>"), LauncherImageFault::kNotAProgram, ""},
      {"no package", MakePeImage(), LauncherImageFault::kNoPackage, ""},
      {"no configuration", Concat({MakePeImage(), ZipBuilder().Add("config/main1.png", png).Build()}),
       LauncherImageFault::kNoConfiguration, ""},
      {"no links", Concat({MakePeImage(), testkit::LauncherPackage("[global]\r\nversion=1.02\r\n")}),
       LauncherImageFault::kConfigurationRefused, ""},
      {"no background", Concat({MakePeImage(), ZipBuilder().Add("config/cg.txt", config).Build()}),
       LauncherImageFault::kPictureMissing, "config/main1.png"},
      {"a background that is no picture",
       Concat({MakePeImage(), ZipBuilder().Add("config/cg.txt", config).Add("config/main1.png", "GIF").Build()}),
       LauncherImageFault::kPictureUnusable, "config/main1.png"},
      {"a button without its pictures",
       Concat({MakePeImage(), ZipBuilder().Add("config/cg.txt", buttons).Add("config/main1.png", png).Build()}),
       LauncherImageFault::kPictureMissing, "config/1_n.png"},
      {"another program with the package", Concat({MakePeImage(1024, 2, false), testkit::LauncherPackage(config)}),
       LauncherImageFault::kNotTheLauncher, ""},
      {"straight to the game without its sprite sheet",
       Concat({MakePeImage(), ZipBuilder()
                                  .Add("config/cg.txt", straightToGame)
                                  .Add("config/main1.png", png)
                                  .Add("config/logo.png", png)
                                  .Build()}),
       LauncherImageFault::kPictureMissing, "config/style.png"},
      {"straight to the game without its logo",
       Concat({MakePeImage(), ZipBuilder()
                                  .Add("config/cg.txt", straightToGame)
                                  .Add("config/main1.png", png)
                                  .Add("config/style.png", png)
                                  .Build()}),
       LauncherImageFault::kPictureMissing, "config/logo.png"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const LauncherImageCheck check = CheckLauncherImage(c.file);
    EXPECT_EQ(check.fault, c.fault);
    EXPECT_EQ(check.picture, c.picture);
    if (c.fault == LauncherImageFault::kNone) {
      EXPECT_EQ(check.version, "1.02");
      EXPECT_EQ(check.updateKey, "ab");
    }
  }
}

// The pictures of the first window must decode with the launcher's own
// decoder: a sound header over data that does not decode shows a window
// without its button or its login area.
TEST(CheckLauncherImage, DecodesThePicturesWithTheDecoderItIsGiven) {
  const Bytes png = testkit::RgbaPng(3, 2, [](int, int) { return 0xFF000000u; });
  const std::string picture(png.begin(), png.end());
  const std::string buttons =
      testkit::MinimalConfig("linkCount=2\r\n") + "[link2]\r\ntype=2\r\n";  // an area, then a button
  const Bytes file = Concat({MakePeImage(), ZipBuilder()
                                                .Add("config/cg.txt", buttons)
                                                .Add("config/main1.png", picture)
                                                .Add("config/2_n.png", picture)
                                                .Add("config/2_d.png", picture + "!")
                                                .Build()});
  std::vector<std::size_t> decoded;
  const PictureDecoder decodes = [&](std::span<const std::uint8_t> bytes) {
    decoded.push_back(bytes.size());
    return bytes.back() != '!';
  };
  const LauncherImageCheck check = CheckLauncherImage(file, decodes);
  EXPECT_EQ(check.fault, LauncherImageFault::kPictureUndecodable);
  EXPECT_EQ(check.picture, "config/2_d.png");
  EXPECT_EQ(decoded, (std::vector<std::size_t>{png.size(), png.size(), png.size() + 1}));
  EXPECT_EQ(CheckLauncherImage(file).fault, LauncherImageFault::kNone);  // the headers alone are sound
}
