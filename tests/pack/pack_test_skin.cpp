#include "pack_test_skin.h"

#include <atomic>
#include <fstream>
#include <random>
#include <sstream>

#include "launcher_pack.h"
#include "png_codec.h"
#include "zip_builder.h"

namespace packtest {

namespace fs = std::filesystem;

Rgba PieceColour(int piece) {
  return {static_cast<std::uint8_t>(20 * piece), 100, static_cast<std::uint8_t>(200 - 10 * piece), 255};
}

std::string SolidPng(int width, int height, Rgba colour) { return EncodePng(RgbaImage(width, height, colour)); }

namespace {

// Sprite sheet rectangles: x, y, width, height of pieces 1..8, then the
// button's first frame.
struct Box {
  int x, y, w, h;
};
constexpr Box kPieces[8] = {{0, 0, 4, 6},  {4, 0, 2, 6},  {6, 0, 3, 6},  {9, 0, 2, 2},
                            {11, 0, 2, 2}, {13, 0, 3, 3}, {16, 0, 2, 3}, {18, 0, 3, 3}};
constexpr Box kButton{24, 0, 10, 8};

std::string SpriteSheet() {
  RgbaImage sheet(40, 40, {0, 0, 0, 255});
  const auto paint = [&](const Box& b, Rgba colour) {
    for (int y = b.y; y < b.y + b.h; ++y)
      for (int x = b.x; x < b.x + b.w; ++x) sheet.At(x, y) = colour;
  };
  for (int piece = 1; piece <= 8; ++piece) paint(kPieces[piece - 1], PieceColour(piece));
  paint(kButton, kGameButtonNormal);
  paint({kButton.x, kButton.y + 9, kButton.w, kButton.h}, {0, 100, 0, 255});
  paint({kButton.x, kButton.y + 18, kButton.w, kButton.h}, {0, 250, 0, 255});
  return EncodePng(sheet);
}

std::string Sprites() {
  std::string text;
  for (int i = 0; i < 8; ++i) {
    const Box& b = kPieces[i];
    text += "[gamePic" + std::to_string(i + 1) + "]\nx=" + std::to_string(b.x) + "\ny=" + std::to_string(b.y) +
            "\nwidth=" + std::to_string(b.w) + "\nheight=" + std::to_string(b.h) + "\n";
  }
  return text + "[gamePic9]\nx=24\ny=0\nwidth=10\nheight=8\ninterval=1\n";
}

}  // namespace

std::string CleanConfig() {
  std::string text =
      "[global]\n"
      "title=Clean\n"

      "gameheader=client://go|\n"
      "linkCount=2\n"
      "loginCenterColor=197121\n"
      "picCount=9\n"
      "gameButtonCount=1\n"
      "logx=1\n"
      "logy=1\n"
      "minGameWidth=200\n"
      "minGameHeight=100\n";
  for (int n = 1; n <= 8; ++n) text += "edgeImage" + std::to_string(n) + "=" + std::to_string(n) + "\n";
  return text +
         "[link1]\ntype=4\nx=10\ny=10\nwidth=60\nheight=40\nurl=http://127.0.0.1/login.html\n"
         "[link2]\ntype=1\nx=70\ny=10\nurl=http://127.0.0.1/site.html\n" +
         Sprites() + "[gamebutton1]\ntype=5\nimage=9\nx=-14\ny=2\n";
}

std::vector<SkinFile> CleanSkin() {
  RgbaImage button(20, 20, kButtonNormal);
  button.At(0, 0) = {0, 255, 0, 255};  // the companion's see-through green
  return {
      {"config/cg.txt", CleanConfig()},      {"config/main1.png", SolidPng(100, 80, kBackground)},
      {"config/2_n.png", EncodePng(button)}, {"config/2_d.png", SolidPng(20, 20, kButtonPressed)},
      {"config/style.png", SpriteSheet()},   {"config/logo.png", SolidPng(8, 8, kLogo)},
  };
}

std::vector<SkinFile> SkinWithConfig(const std::string& config) { return SkinWithMember("config/cg.txt", config); }

std::vector<SkinFile> SkinWithMember(const std::string& name, const std::string& content) {
  std::vector<SkinFile> files;
  for (SkinFile& file : CleanSkin()) {
    if (file.name != name)
      files.push_back(std::move(file));
    else if (!content.empty())
      files.push_back({name, content});
  }
  return files;
}

TempDir::TempDir() {
  // Runs of the tests side by side never share a folder.
  static const unsigned run = std::random_device()();
  static std::atomic<int> counter{0};
  path_ = fs::temp_directory_path() / ("launcher-pack-test-" + std::to_string(run) + "-" + std::to_string(counter++));
  fs::remove_all(path_);
  fs::create_directories(path_);
}

TempDir::~TempDir() {
  std::error_code ignored;
  fs::remove_all(path_, ignored);
}

void WriteFile(const fs::path& path, const std::string& content) {
  fs::create_directories(path.parent_path());
  std::ofstream(path, std::ios::binary) << content;
}

std::string ReadFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

void WriteSkin(const fs::path& folder, const std::vector<SkinFile>& files) {
  for (const SkinFile& file : files) WriteFile(folder / file.name, file.content);
}

std::string LauncherImage(std::uint32_t size) {
  const testkit::Bytes image = testkit::MakePeImage(size);
  return std::string(image.begin(), image.end());
}

RunResult Run(const std::vector<std::string>& args) {
  std::ostringstream out, err;
  RunResult result;
  result.status = RunLauncherPack(args, out, err);
  result.out = out.str();
  result.err = err.str();
  return result;
}

}  // namespace packtest
