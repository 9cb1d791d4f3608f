#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <filesystem>
#include <future>
#include <string>
#include <thread>
#include <tuple>

#include "formats/png_codec.h"
#include "pack_test_skin.h"
#include "previews/preview.h"
#include "previews/resample.h"
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

namespace {

// Waits for the watch's first drawing.
bool FirstDrawn(const fs::path& login) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
  while (!fs::exists(login) && std::chrono::steady_clock::now() < deadline)
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  return fs::exists(login);
}

}  // namespace

// --watch draws again when the skin changes: the background painted anew
// shows in the second login.png. Two drawings, then the tool returns. Files
// the launcher never reads, saved beside the skin's, draw nothing.
TEST(PackPreviewWatch, DrawsAgainWhenTheSkinChanges) {
  packtest::TempDir dir;
  packtest::WriteSkin(dir / "skin", packtest::CleanSkin());
  const fs::path login = dir / "out/login.png";
  auto watching = std::async(std::launch::async, [&] {
    return packtest::Run(
        {"preview", (dir / "skin").string(), "-o", (dir / "out").string(), "--watch", "--redraws", "2"});
  });
  const bool drawn = FirstDrawn(login);
  packtest::WriteFile(dir / "skin/notes.txt", "what to change next");
  packtest::WriteFile(dir / "skin/config/main1.psd", "the background's source");
  // Five looks at the skin, and more: a watch that took them for changes has drawn again by then.
  EXPECT_EQ(watching.wait_for(std::chrono::seconds(2)), std::future_status::timeout)
      << "drawn again for files the launcher never reads";
  // The skin is changed whatever was seen, so that the watch always comes to its end.
  const auto first = drawn ? DecodePng(packtest::ReadFile(login), nullptr) : std::nullopt;
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

// Ctrl+C ends a watch between two drawings, with the status a shell gives
// an interrupted program, and the pictures whole.
TEST(PackPreviewWatch, CtrlCEndsItCleanly) {
  packtest::TempDir dir;
  packtest::WriteSkin(dir / "skin", packtest::CleanSkin());
  auto watching = std::async(std::launch::async, [&] {
    return packtest::Run({"preview", (dir / "skin").string(), "-o", (dir / "out").string(), "--watch"});
  });
  ASSERT_TRUE(FirstDrawn(dir / "out/login.png"));
  std::raise(SIGINT);
  ASSERT_EQ(watching.wait_for(std::chrono::seconds(30)), std::future_status::ready) << "Ctrl+C did not end it";
  const auto run = watching.get();
  EXPECT_EQ(run.status, 130) << run.err;
  EXPECT_NE(run.out.find("stopped watching"), std::string::npos) << run.out;
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(dir / "out")) names.push_back(entry.path().filename().string());
  std::sort(names.begin(), names.end());
  EXPECT_EQ(names, (std::vector<std::string>{"game-maximised.png", "game-restored.png", "login.png"}));
}

namespace {

// Colours of the @2x forms, each its own so that a preview tells which
// form it shows.
constexpr Rgba kDoubleBackground{30, 60, 90, 255};
constexpr Rgba kDoubleButtonLeft{0, 0, 200, 255}, kDoubleButtonRight{0, 200, 200, 255};

Rgba DoubleSizePiece(Rgba single) {
  return {static_cast<std::uint8_t>(single.r / 2), static_cast<std::uint8_t>(single.g / 2),
          static_cast<std::uint8_t>(single.b / 2 + 50), 255};
}

std::string MemberOf(const std::vector<SkinFile>& files, const std::string& name) {
  for (const SkinFile& file : files)
    if (file.name == name) return file.content;
  return {};
}

// The 1x picture with each pixel made a square of four, in `recolour`ed colours.
RgbaImage Doubled(const RgbaImage& single, Rgba (*recolour)(Rgba)) {
  RgbaImage twice(2 * single.Width(), 2 * single.Height());
  for (int y = 0; y < twice.Height(); ++y)
    for (int x = 0; x < twice.Width(); ++x) twice.At(x, y) = recolour(single.At(x / 2, y / 2));
  return twice;
}

// The clean skin taking the display's scale, with @2x forms of its
// background, its button at rest (two colours side by side, 24 and 16
// pixels wide) and its sprite sheet (every piece in a colour of its own);
// the logo has none.
std::vector<SkinFile> ScalingSkin() {
  std::vector<SkinFile> files =
      packtest::SkinWithConfig(packtest::CleanConfig() + "[global]\ntitlex=40\ntitley=60\ndpiScaling=1\n");
  std::string error;
  const auto sheet = DecodePng(MemberOf(files, "config/style.png"), &error);
  RgbaImage button(40, 40, kDoubleButtonLeft);
  for (int y = 0; y < 40; ++y)
    for (int x = 24; x < 40; ++x) button.At(x, y) = kDoubleButtonRight;
  files.push_back({"config/main1@2x.png", packtest::SolidPng(200, 160, kDoubleBackground)});
  files.push_back({"config/2_n@2x.png", EncodePng(button)});
  files.push_back({"config/2_d@2x.png", EncodePng(button)});
  files.push_back({"config/style@2x.png", EncodePng(Doubled(*sheet, DoubleSizePiece))});
  return files;
}

class PackScaledPreview : public ::testing::Test {
 protected:
  PackScaledPreview() : skin_(ScalingSkin()), pictures_(skin_), config_(ReadSkinConfig(skin_)) {}

  RgbaImage Login(int dpi) {
    const Preview preview = DrawLoginPreview(config_->model, pictures_, DisplayScale(dpi));
    EXPECT_TRUE(preview.notes.empty());
    return preview.image.value_or(RgbaImage());
  }
  RgbaImage RestoredGame(int dpi, int width, int height) {
    const auto text = MakeTextPainter(dpi);
    const Preview preview =
        DrawGamePreview(config_->model, pictures_, *text, width, height, false, ButtonFace::kNormal, DisplayScale(dpi));
    EXPECT_TRUE(preview.notes.empty());
    return preview.image.value_or(RgbaImage());
  }

  FolderSkin skin_;
  SkinPictures pictures_;
  std::unique_ptr<SkinConfig> config_;
};

void ExpectColours(const RgbaImage& image, std::initializer_list<std::pair<Point2, Rgba>> expected) {
  for (const auto& [at, colour] : expected) {
    ASSERT_TRUE(image.Contains(at.x, at.y)) << at.x << ", " << at.y;
    EXPECT_EQ(image.At(at.x, at.y), colour) << "at " << at.x << ", " << at.y;
  }
}

}  // namespace

// At 200 % the @2x pictures are shown as they are, pixel for pixel, at the
// scaled places; the logo, which has none, is its 1x picture at twice the
// size.
TEST_F(PackScaledPreview, At200PercentTheDoubleSizePicturesArePixelForPixel) {
  const RgbaImage login = Login(192);
  ASSERT_EQ(login.Width(), 200);
  ASSERT_EQ(login.Height(), 160);
  std::string error;
  const auto button = DecodePng(MemberOf(skin_.Files(), "config/2_n@2x.png"), &error);
  ASSERT_TRUE(button);
  // The button from (70, 10) is at (140, 20), inside the companion's frame.
  for (int y = 0; y < 40; ++y)
    for (int x = 0; x < 40; ++x) ASSERT_EQ(login.At(143 + x, 23 + y), button->At(x, y)) << x << ", " << y;
  // Around it the @2x background; the area, 60 x 40 at (10, 10), is 120 x 80 at (20, 20).
  ExpectColours(login, {{{183, 30}, kDoubleBackground},
                        {{142, 104}, kDoubleBackground},
                        {{1, 1}, kDoubleBackground},
                        {{142, 102}, packtest::kLoginFill},
                        {{23, 23}, packtest::kLoginFill}});

  const RgbaImage game = RestoredGame(192, 400, 200);
  // The close button from x -14, y 2 of 10 x 8: 20 x 16 at 400 - 28 - 4 (the right edge, 2 x 2 made 4 x 4).
  const auto sheet = DecodePng(MemberOf(skin_.Files(), "config/style@2x.png"), &error);
  ASSERT_TRUE(sheet);
  for (int y = 0; y < 16; ++y)
    for (int x = 0; x < 20; ++x) ASSERT_EQ(game.At(368 + x, 4 + y), sheet->At(48 + x, y)) << x << ", " << y;
  ExpectColours(game, {{{0, 0}, DoubleSizePiece(PieceColour(1))},
                       {{399, 199}, DoubleSizePiece(PieceColour(8))},
                       {{2, 2}, packtest::kLogo},  // 8 x 8 at (1, 1) made 16 x 16 at (2, 2)
                       {{17, 17}, packtest::kLogo},
                       {{18, 5}, DoubleSizePiece(PieceColour(2))},
                       {{1, 1}, DoubleSizePiece(PieceColour(1))}});
}

// At 150 % the @2x pictures are shown reduced, at the 1x sizes and places
// scaled by the launcher's rounding; the logo's 1x picture is enlarged.
TEST_F(PackScaledPreview, At150PercentTheDoubleSizePicturesAreShownAtTheScaledSize) {
  const RgbaImage login = Login(144);
  ASSERT_EQ(login.Width(), 150);
  ASSERT_EQ(login.Height(), 120);
  // The button, 20 x 20 at (70, 10), is 30 x 30 at (105, 15): its two
  // colours meet at 18 of 30, softened by the filter only there.
  ExpectColours(login, {{{3 + 105, 3 + 15}, kDoubleButtonLeft},
                        {{3 + 105 + 15, 3 + 15 + 29}, kDoubleButtonLeft},
                        {{3 + 105 + 20, 3 + 15}, kDoubleButtonRight},
                        {{3 + 105 + 29, 3 + 15 + 29}, kDoubleButtonRight},
                        {{3 + 110, 3 + 14}, kDoubleBackground},
                        {{3 + 135, 3 + 15}, kDoubleBackground},
                        {{3 + 105, 3 + 45}, kDoubleBackground},
                        // The area, 60 x 40 at (10, 10), is 90 x 60 at (15, 15).
                        {{3 + 15, 3 + 15}, packtest::kLoginFill},
                        {{3 + 104, 3 + 74}, packtest::kLoginFill},
                        {{3 + 14, 3 + 15}, kDoubleBackground},
                        {{3 + 15, 3 + 75}, kDoubleBackground}});

  const RgbaImage game = RestoredGame(144, 300, 150);
  // Pieces 4 x 6, 2 x 6 and 3 x 6 are 6 x 9, 3 x 9 and 5 x 9 (4.5 rounds
  // away from zero); the right edge is 3 wide. The close button, 10 x 8 at
  // x -14, y 2, is 15 x 12 at (300 - 21 - 3, 3).
  ExpectColours(game, {{{0, 0}, DoubleSizePiece(PieceColour(1))},
                       {{5, 1}, DoubleSizePiece(PieceColour(1))},
                       {{0, 8}, DoubleSizePiece(PieceColour(1))},
                       {{6, 1}, DoubleSizePiece(PieceColour(2))},
                       {{0, 9}, DoubleSizePiece(PieceColour(4))},
                       {{294, 8}, DoubleSizePiece(PieceColour(2))},
                       {{295, 0}, DoubleSizePiece(PieceColour(3))},
                       {{299, 9}, DoubleSizePiece(PieceColour(5))},
                       {{297, 9}, DoubleSizePiece(PieceColour(5))},
                       {{296, 9}, kPage},
                       {{276, 3}, DoubleSizePiece(packtest::kGameButtonNormal)},
                       {{290, 14}, DoubleSizePiece(packtest::kGameButtonNormal)},
                       {{275, 3}, DoubleSizePiece(PieceColour(2))},
                       {{291, 3}, DoubleSizePiece(PieceColour(2))},
                       // The logo, 8 x 8 at (1, 1), is 12 x 12 at (2, 2).
                       {{2, 2}, packtest::kLogo},
                       {{13, 13}, packtest::kLogo},
                       {{14, 5}, DoubleSizePiece(PieceColour(2))},
                       {{1, 1}, DoubleSizePiece(PieceColour(1))}});
}

// Below 150 % the 1x pictures are shown, enlarged, though @2x ones are there.
TEST_F(PackScaledPreview, At125PercentThe1xPicturesAreEnlarged) {
  const RgbaImage login = Login(120);
  ASSERT_EQ(login.Width(), 125);
  ASSERT_EQ(login.Height(), 100);
  // The button, 20 x 20 at (70, 10), is 25 x 25 at (88, 13) (87.5 and 12.5
  // round away from zero); its see-through green corner is filtered into
  // its red, so no pixel of it is the key any more.
  ExpectColours(login, {{{1, 1}, packtest::kBackground},
                        {{3 + 88 + 24, 3 + 13 + 24}, packtest::kButtonNormal},
                        {{3 + 88 + 12, 3 + 13}, packtest::kButtonNormal},
                        {{3 + 88 + 25, 3 + 13}, packtest::kBackground},
                        {{3 + 88 + 12, 3 + 13 + 25}, packtest::kBackground}});

  const RgbaImage game = RestoredGame(120, 250, 125);
  // Piece 1, 4 x 6, is 5 x 8 (7.5 rounds up); the logo 10 x 10 at (1, 1).
  ExpectColours(game, {{{0, 0}, PieceColour(1)},
                       {{4, 0}, PieceColour(1)},
                       {{0, 7}, PieceColour(1)},
                       {{5, 0}, PieceColour(2)},
                       {{0, 8}, PieceColour(4)},
                       {{1, 1}, packtest::kLogo},
                       {{10, 10}, packtest::kLogo},
                       {{11, 5}, PieceColour(2)}});
}

// The command: --scale as a factor or a percentage; a skin without
// dpiScaling=1 drawn at 100 %, as the launcher shows it at any scale;
// scales that are none refused.
TEST(PackPreviewCommand, DrawsAtTheScaleAskedForASkinThatTakesIt) {
  packtest::TempDir dir;
  packtest::WriteSkin(dir / "scaling", ScalingSkin());
  packtest::WriteSkin(dir / "fixed", packtest::CleanSkin());
  const struct {
    const char* skin;
    const char* scale;
    int loginWidth, restoredWidth;
    const char* says;
  } cases[] = {
      {"scaling", "1.5", 150, 300, "drawn at 150 % (144 DPI)"},
      {"scaling", "150%", 150, 300, "drawn at 150 % (144 DPI)"},
      {"scaling", "125 %", 125, 250, "drawn at 125 % (120 DPI)"},
      {"scaling", "2x", 200, 400, "drawn at 200 % (192 DPI)"},
      {"scaling", "1", 100, 200, ""},
      {"fixed", "1.5", 100, 200,
       "drawn at 100 %, not at 150 %: the skin has no dpiScaling=1, so the launcher keeps its physical pixels at "
       "every display scale"},
  };
  for (const auto& c : cases) {
    const fs::path out = dir / (std::string(c.skin) + c.scale);
    const auto run = packtest::Run({"preview", (dir / c.skin).string(), "-o", out.string(), "--scale", c.scale});
    ASSERT_EQ(run.status, 0) << c.scale << ": " << run.out << run.err;
    EXPECT_NE(run.out.find(c.says), std::string::npos) << run.out;
    if (*c.says == '\0') {
      EXPECT_EQ(run.out.find("drawn at"), std::string::npos) << run.out;
    }
    const auto login = DecodePng(packtest::ReadFile(out / "login.png"), nullptr);
    const auto restored = DecodePng(packtest::ReadFile(out / "game-restored.png"), nullptr);
    ASSERT_TRUE(login && restored) << c.scale;
    EXPECT_EQ(login->Width(), c.loginWidth) << c.skin << " " << c.scale;
    EXPECT_EQ(restored->Width(), c.restoredWidth) << c.skin << " " << c.scale;
  }
  for (const char* wrong : {"0.75", "99%", "5.01", "6", "150", "abc", "", "1,5", "-1.5", "1.5.0", "%", "1e1"}) {
    const auto run =
        packtest::Run({"preview", (dir / "scaling").string(), "-o", (dir / "wrong").string(), "--scale", wrong});
    EXPECT_EQ(run.status, 2) << wrong;
    EXPECT_NE(run.err.find("--scale: wants a display scale from 1 to 5 (100% to 500%"), std::string::npos)
        << wrong << ": " << run.err;
    EXPECT_FALSE(fs::exists(dir / "wrong")) << wrong;
  }
}

// The filter the previews resize with, as the launcher's: a picture at its
// own size unchanged, edges that take nothing from beyond them, colours
// that transparency does not darken, and a soft step only where there is one.
TEST(PackResample, KeepsWhatTheLaunchersFilterKeeps) {
  RgbaImage pattern(7, 5);
  for (int y = 0; y < 5; ++y)
    for (int x = 0; x < 7; ++x)
      pattern.At(x, y) = {static_cast<std::uint8_t>(37 * x), static_cast<std::uint8_t>(50 * y), 99, 255};
  const RgbaImage same = Resample(pattern, {0, 0, 7, 5}, 7, 5);
  EXPECT_EQ(same.Pixels(), pattern.Pixels());
  // A rectangle of it alone: what lies beside it is not taken in.
  const RgbaImage part = Resample(pattern, {2, 1, 3, 2}, 4, 4);
  for (const Rgba& p : part.Pixels()) EXPECT_EQ(p, pattern.At(2, 1));

  const Rgba red{255, 0, 0, 255};
  for (const auto& [width, height] : {std::pair{15, 9}, std::pair{4, 3}, std::pair{13, 13}}) {
    const RgbaImage solid = Resample(RgbaImage(10, 6, red), {0, 0, 10, 6}, width, height);
    ASSERT_EQ(solid.Width(), width);
    ASSERT_EQ(solid.Height(), height);
    for (const Rgba& p : solid.Pixels()) EXPECT_EQ(p, red) << width << " x " << height;
  }

  // Red beside transparent black: the edge fades in alpha, not into black.
  RgbaImage half(8, 2, Rgba{0, 0, 0, 0});
  for (int y = 0; y < 2; ++y)
    for (int x = 0; x < 4; ++x) half.At(x, y) = red;
  const RgbaImage faded = Resample(half, {0, 0, 8, 2}, 12, 3);
  int partial = 0;
  for (int x = 0; x < 12; ++x) {
    const Rgba& p = faded.At(x, 1);
    if (p.a == 0) continue;
    EXPECT_EQ((std::tuple{p.r, p.g, p.b}), (std::tuple{255, 0, 0})) << x;
    if (p.a < 255) ++partial;
    if (x > 0) {
      EXPECT_LE(p.a, faded.At(x - 1, 1).a) << x;  // no ring beyond the step
    }
  }
  EXPECT_GT(partial, 0) << "the step is softened, as a high-quality filter softens it";
  EXPECT_EQ(faded.At(0, 1).a, 255);
  EXPECT_EQ(faded.At(11, 1).a, 0);
}
