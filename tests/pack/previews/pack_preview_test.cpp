#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <future>
#include <string>
#include <thread>

#include "formats/png_codec.h"
#include "pack_test_skin.h"
#include "previews/preview.h"
#include "skins/skin_config.h"
#include "skins/skin_source.h"

namespace {

namespace fs = std::filesystem;
using packtest::PieceColour;

constexpr Rgba kPage{255, 255, 255, 255};

struct Point2 {
  int x, y;
};

// Previews of the clean skin: pieces of known sizes (W and H of pieces 1 to
// 8: 4x6, 2x6, 3x6, 2x2, 2x2, 3x3, 2x3, 3x3), a close button of 10 x 8 at
// x -14, y 2, and a logo of 8 x 8 at (1, 1).
class PackPreview : public ::testing::Test {
 protected:
  // The title goes under the page, out of the way of the pixels read here.
  PackPreview()
      : skin_(packtest::SkinWithConfig(packtest::CleanConfig() + "[global]\ntitlex=40\ntitley=60\n")),
        pictures_(skin_),
        config_(ReadSkinConfig(skin_)) {}

  RgbaImage Game(bool maximised) {
    const auto text = MakeTextPainter();
    Preview preview = DrawGamePreview(config_->model, pictures_, *text, 200, 100, maximised);
    EXPECT_TRUE(preview.notes.empty());
    return preview.image.value_or(RgbaImage());
  }

  void ExpectPixels(const RgbaImage& image, std::initializer_list<std::pair<Point2, Rgba>> expected) {
    for (const auto& [at, colour] : expected) {
      ASSERT_TRUE(image.Contains(at.x, at.y)) << at.x << ", " << at.y;
      EXPECT_EQ(image.At(at.x, at.y), colour) << "at " << at.x << ", " << at.y;
    }
  }

  FolderSkin skin_;
  SkinPictures pictures_;
  std::unique_ptr<SkinConfig> config_;
};

}  // namespace

TEST_F(PackPreview, LoginShowsTheBackgroundTheButtonAndTheFillOfTheArea) {
  const Preview preview = DrawLoginPreview(config_->model, pictures_);
  ASSERT_TRUE(preview.image);
  EXPECT_EQ(preview.image->Width(), 100);
  EXPECT_EQ(preview.image->Height(), 80);
  ExpectPixels(*preview.image, {
                                   // Links sit 3 pixels right and down, inside the companion's frame.
                                   {{5, 5}, packtest::kBackground},
                                   {{12, 12}, packtest::kBackground},
                                   {{13, 13}, packtest::kLoginFill},  // the area from (10, 10), 60 x 40
                                   {{72, 52}, packtest::kLoginFill},
                                   {{73, 53}, packtest::kBackground},
                                   {{78, 18}, packtest::kButtonNormal},  // the button from (70, 10), 20 x 20
                                   {{92, 32}, packtest::kButtonNormal},
                                   {{73, 13}, packtest::kBackground},  // its green pixel is see-through
                                   {{93, 33}, packtest::kBackground},
                               });
}

TEST_F(PackPreview, RestoredGameWindowHasItsEightPiecesAndTheButtonInsideTheRightEdge) {
  ExpectPixels(Game(false), {
                                {{9, 0}, PieceColour(2)},  // top edge from x 4 to 197
                                {{196, 5}, PieceColour(2)},
                                {{197, 0}, PieceColour(3)},  // top-right corner, 3 wide
                                {{0, 6}, PieceColour(4)},    // left edge from y 6 to 97
                                {{1, 96}, PieceColour(4)},
                                {{199, 6}, PieceColour(5)},  // right edge, 2 wide
                                {{0, 97}, PieceColour(6)},   // bottom-left corner, 3 x 3
                                {{3, 99}, PieceColour(7)},   // bottom edge from x 3 to 197
                                {{199, 99}, PieceColour(8)},
                                {{2, 9}, kPage},  // the page inside the frame
                                {{197, 96}, kPage},
                                {{100, 50}, kPage},
                                {{184, 2}, packtest::kGameButtonNormal},  // 200 - 14 - 2
                                {{193, 9}, packtest::kGameButtonNormal},
                                {{183, 2}, PieceColour(2)},
                                {{1, 1}, packtest::kLogo},
                                {{8, 8}, packtest::kLogo},
                                {{9, 5}, PieceColour(2)},
                                {{0, 0}, PieceColour(1)},
                            });
}

TEST_F(PackPreview, MaximisedGameWindowIsTheTopEdgeAboveThePage) {
  ExpectPixels(Game(true), {
                               {{0, 0}, PieceColour(2)},  // the top edge across the whole width
                               {{199, 0}, PieceColour(2)},
                               {{100, 5}, PieceColour(2)},
                               {{0, 6}, kPage},
                               {{199, 99}, kPage},
                               {{186, 2}, packtest::kGameButtonNormal},  // 200 - 14
                               {{185, 2}, PieceColour(2)},
                           });
}

TEST(PackPreviewLogo, ShowsTransparencyOverTheWindowsFaceNotTheTitleBar) {
  RgbaImage logo(8, 8, packtest::kLogo);
  logo.At(3, 3) = {0, 0, 0, 0};
  FolderSkin skin(packtest::SkinWithMember("config/logo.png", EncodePng(logo)));
  SkinPictures pictures(skin);
  const auto config = ReadSkinConfig(skin);
  const auto text = MakeTextPainter();
  const Preview preview = DrawGamePreview(config->model, pictures, *text, 200, 100, true);
  ASSERT_TRUE(preview.image);
  EXPECT_EQ(preview.image->At(4, 4), (Rgba{240, 240, 240, 255}));  // the logo is at (1, 1)
  EXPECT_EQ(preview.image->At(5, 4), packtest::kLogo);
}

TEST(PackPreviewCommand, WritesTheThreePictures) {
  packtest::TempDir dir;
  packtest::WriteSkin(dir / "skin", packtest::CleanSkin());
  const auto result =
      packtest::Run({"preview", (dir / "skin").string(), "-o", (dir / "out").string(), "--size", "320x240"});
  ASSERT_EQ(result.status, 0) << result.err;
  const struct {
    const char* name;
    int width, height;
  } expected[] = {{"login.png", 100, 80}, {"game-maximised.png", 320, 240}, {"game-restored.png", 200, 100}};
  for (const auto& e : expected) {
    std::string error;
    const auto image = DecodePng(packtest::ReadFile(dir / "out" / e.name), &error);
    ASSERT_TRUE(image) << e.name << ": " << error;
    EXPECT_EQ(image->Width(), e.width) << e.name;
    EXPECT_EQ(image->Height(), e.height) << e.name;
  }
}

TEST_F(PackPreview, GameButtonsShowTheFaceAsked) {
  const auto text = MakeTextPainter();
  const struct {
    ButtonFace face;
    Rgba colour;  // the clean skin's sprite sheet: normal, pressed and hover one under the other
  } cases[] = {{ButtonFace::kNormal, packtest::kGameButtonNormal},
               {ButtonFace::kPressed, {0, 100, 0, 255}},
               {ButtonFace::kHover, {0, 250, 0, 255}}};
  for (const auto& c : cases) {
    const Preview preview = DrawGamePreview(config_->model, pictures_, *text, 200, 100, false, c.face);
    ASSERT_TRUE(preview.image);
    EXPECT_EQ(preview.image->At(184, 2), c.colour) << static_cast<int>(c.face);
    EXPECT_EQ(preview.image->At(193, 9), c.colour) << static_cast<int>(c.face);
  }
  packtest::TempDir dir;
  packtest::WriteSkin(dir / "skin", skin_.Files());
  const auto run =
      packtest::Run({"preview", (dir / "skin").string(), "-o", (dir / "out").string(), "--state", "hover"});
  ASSERT_EQ(run.status, 0) << run.err;
  std::string error;
  const auto restored = DecodePng(packtest::ReadFile(dir / "out" / "game-restored.png"), &error);
  ASSERT_TRUE(restored) << error;
  EXPECT_EQ(restored->At(184, 2), (Rgba{0, 250, 0, 255}));
  EXPECT_EQ(packtest::Run({"preview", (dir / "skin").string(), "-o", (dir / "out").string(), "--state", "down"}).status,
            2);
}

TEST(PackPreviewCommand, APreviewThatReportsAProblemExitsOne) {
  packtest::TempDir dir;
  std::string config = packtest::CleanConfig();
  config.replace(config.find("edgeImage3=3"), 12, "edgeImage3=12");
  packtest::WriteSkin(dir / "skin", packtest::SkinWithConfig(config));
  const auto run = packtest::Run({"preview", (dir / "skin").string(), "-o", (dir / "out").string()});
  EXPECT_EQ(run.status, 1);
  EXPECT_NE(run.out.find("game-restored.png: frame piece 3 names no sprite ([global] edgeImage3)"), std::string::npos)
      << run.out;
  EXPECT_TRUE(std::filesystem::exists(dir / "out" / "game-restored.png"));
}

// --watch draws again when the skin changes: the background painted anew
// shows in the second login.png. Two drawings, then the tool returns.
TEST(PackPreviewWatch, DrawsAgainWhenTheSkinChanges) {
  packtest::TempDir dir;
  packtest::WriteSkin(dir / "skin", packtest::CleanSkin());
  const fs::path login = dir / "out/login.png";
  auto watching = std::async(std::launch::async, [&] {
    return packtest::Run(
        {"preview", (dir / "skin").string(), "-o", (dir / "out").string(), "--watch", "--redraws", "2"});
  });
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
  while (!fs::exists(login) && std::chrono::steady_clock::now() < deadline)
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  // The skin is changed whatever was seen, so that the watch always comes to its end.
  const auto first = fs::exists(login) ? DecodePng(packtest::ReadFile(login), nullptr) : std::nullopt;
  const Rgba repainted{200, 100, 50, 255};
  // Written beside and renamed into place, so the watcher never reads half a picture.
  packtest::WriteFile(dir / "main1.tmp", packtest::SolidPng(100, 80, repainted));
  fs::rename(dir / "main1.tmp", dir / "skin/config/main1.png");
  ASSERT_TRUE(first) << "no first drawing";
  EXPECT_EQ(first->At(1, 1), packtest::kBackground);
  ASSERT_EQ(watching.wait_for(std::chrono::seconds(30)), std::future_status::ready) << "no second drawing";
  const auto run = watching.get();
  EXPECT_EQ(run.status, 0) << run.err;
  const auto second = DecodePng(packtest::ReadFile(login), nullptr);
  ASSERT_TRUE(second);
  EXPECT_EQ(second->At(1, 1), repainted);
}
