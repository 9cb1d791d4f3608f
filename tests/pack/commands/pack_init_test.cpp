// init's skin: every kind of section once, in GBK, clean to check, packed
// and previewed without a finding.
#include <gtest/gtest.h>

#include <filesystem>
#include <set>

#include "checks/config_lines.h"
#include "formats/png_codec.h"
#include "formats/text_encoding.h"
#include "pack_test_skin.h"
#include "package/ini_document.h"

namespace fs = std::filesystem;

TEST(PackInit, WritesASkinThatChecksPacksAndPreviewsClean) {
  packtest::TempDir dir;
  const std::string skin = (dir / "my-skin").string();
  const auto init = packtest::Run({"init", skin});
  ASSERT_EQ(init.status, 0) << init.err;

  const std::string config = packtest::ReadFile(dir / "my-skin" / "config/cg.txt");
  EXPECT_FALSE(LooksLikeUtf8(config)) << "saved in GBK";
  EXPECT_NE(config.find("title=\xCE\xD2\xB5\xC4\xD3\xCE\xCF\xB7"), std::string::npos);  // 我的游戏
  IniDocument document;
  ASSERT_TRUE(document.Load(config.data(), config.size()));
  std::vector<std::string> sections;
  for (const IniSectionLines& section : document.Outline())
    if (section.line > 0) sections.emplace_back(section.name);
  EXPECT_EQ(sections,
            (std::vector<std::string>{"global", "link1", "link2", "gamePic1", "gamePic2", "gamebutton1", "menu1"}));

  const auto check = packtest::Run({"check", skin});
  EXPECT_EQ(check.status, 0) << check.out;
  packtest::WriteFile(dir / "Launcher.exe", packtest::LauncherImage());
  const auto pack =
      packtest::Run({"pack", skin, "--exe", (dir / "Launcher.exe").string(), "-o", (dir / "MyGame.exe").string()});
  EXPECT_EQ(pack.status, 0) << pack.err;
  const auto packed = packtest::Run({"check", (dir / "MyGame.exe").string()});
  EXPECT_EQ(packed.status, 0) << packed.out;
  const auto preview = packtest::Run({"preview", skin, "-o", (dir / "previews").string()});
  EXPECT_EQ(preview.status, 0) << preview.out << preview.err;
  const auto scaled = packtest::Run({"preview", skin, "-o", (dir / "scaled").string(), "--scale", "1.5"});
  EXPECT_EQ(scaled.status, 0) << scaled.out << scaled.err;

  // The skin takes the display's scale and the newest document mode, as
  // the launcher reads it, and ships its @2x pictures.
  const auto inspect = packtest::Run({"inspect", (dir / "MyGame.exe").string(), "--json"});
  const auto json = packtest::ParseJson(inspect.out);
  ASSERT_TRUE(json) << inspect.out << inspect.err;
  EXPECT_EQ(json->at("configuration").at("global").at("dpiScaling"), 1);
  EXPECT_EQ(json->at("configuration").at("global").at("browserMode"), 11001);
  EXPECT_EQ(json->at("pictures").size(), 5u);
  for (const auto& picture : json->at("pictures")) {
    const std::string name = picture.at("name").get<std::string>();
    ASSERT_FALSE(picture.at("doubleSize").is_null()) << name;
    EXPECT_TRUE(picture.at("doubleSize").at("fits").get<bool>()) << name;
  }
}

// init draws each @2x picture at twice the size: every pixel of its 1x
// picture a square of four there, nothing blurred.
TEST(PackInit, DrawsEachPictureAgainAtTwiceTheSize) {
  packtest::TempDir dir;
  ASSERT_EQ(packtest::Run({"init", (dir / "skin").string()}).status, 0);
  for (const char* name : {"main1", "2_n", "2_d", "style", "logo"}) {
    std::string error;
    const auto single = DecodePng(packtest::ReadFile(dir / "skin/config" / (std::string(name) + ".png")), &error);
    const auto twice = DecodePng(packtest::ReadFile(dir / "skin/config" / (std::string(name) + "@2x.png")), &error);
    ASSERT_TRUE(single && twice) << name << ": " << error;
    ASSERT_EQ(twice->Width(), 2 * single->Width()) << name;
    ASSERT_EQ(twice->Height(), 2 * single->Height()) << name;
    for (int y = 0; y < twice->Height(); ++y)
      for (int x = 0; x < twice->Width(); ++x)
        ASSERT_EQ(twice->At(x, y), single->At(x / 2, y / 2)) << name << " at " << x << ", " << y;
  }
}

TEST(PackInit, NeverWritesIntoAFolderThatHoldsSomething) {
  packtest::TempDir dir;
  packtest::WriteFile(dir / "mine" / "notes.txt", "mine");
  const auto init = packtest::Run({"init", (dir / "mine").string()});
  EXPECT_EQ(init.status, 2);
  EXPECT_FALSE(fs::exists(dir / "mine" / "config"));
  EXPECT_EQ(packtest::Run({"init"}).status, 2);
}

namespace {

// The colours of a square of a preview.
std::set<std::uint32_t> Colours(const RgbaImage& image, int left, int top, int size) {
  std::set<std::uint32_t> colours;
  for (int y = top; y < top + size; ++y)
    for (int x = left; x < left + size; ++x) {
      const Rgba c = image.At(x, y);
      colours.insert(c.r | c.g << 8 | c.b << 16 | static_cast<std::uint32_t>(c.a) << 24);
    }
  return colours;
}

}  // namespace

// The buttons init draws show what they do as they are shown: the login
// window's close button and the title bar's carry a mark, and the title
// bar's stands out from the frame it sits on.
TEST(PackInit, ItsButtonsShowWhatTheyDo) {
  packtest::TempDir dir;
  ASSERT_EQ(packtest::Run({"init", (dir / "skin").string()}).status, 0);
  ASSERT_EQ(packtest::Run({"preview", (dir / "skin").string(), "-o", (dir / "previews").string()}).status, 0);
  std::string error;
  const auto login = DecodePng(packtest::ReadFile(dir / "previews/login.png"), &error);
  const auto game = DecodePng(packtest::ReadFile(dir / "previews/game-maximised.png"), &error);
  ASSERT_TRUE(login && game) << error;
  EXPECT_GE(Colours(*login, 383, 7, 16).size(), 2u) << "the login window's close button (link 2) has no mark";
  const auto button = Colours(*game, game->Width() - 20, 0, 16);
  const auto frame = Colours(*game, game->Width() - 40, 0, 16);
  EXPECT_GE(button.size(), 2u) << "the title bar's close button has no mark";
  for (const std::uint32_t colour : button) EXPECT_EQ(frame.count(colour), 0u) << "cut from the frame's colour";
}
