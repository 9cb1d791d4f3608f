// init: a small starting skin that check passes and the launcher runs, each
// key commented, its pictures drawn here, so that an operator changes a
// working skin instead of writing one from nothing.
#include <cstdlib>
#include <filesystem>
#include <string>
#include <system_error>
#include <utility>
#include <vector>

#include "commands/commands.h"
#include "formats/file_io.h"
#include "formats/gbk_text.h"
#include "formats/png_codec.h"
#include "package/picture_scale.h"

namespace fs = std::filesystem;

namespace {

// Written here in UTF-8 and saved in GBK, which is what the launcher reads.
constexpr const char* kConfig =
    "; 登录器配置 (GBK). launcher-pack keys lists every key; launcher-pack check tells what is wrong.\r\n"
    "; A comment takes a line of its own: after a value, \";\" and what follows belong to the value.\r\n"
    "[global]\r\n"
    "; title of both windows and of the game window's title bar\r\n"
    "title=我的游戏\r\n"
    "; the login page hands the game over by going to this prefix followed by the game's address\r\n"
    "gameheader=game://\r\n"
    "; one [linkN] section for each link, N from 1\r\n"
    "linkCount=2\r\n"
    "picCount=2\r\n"
    "gameButtonCount=1\r\n"
    "menuCount=1\r\n"
    "closeMsg=确定要退出吗?\r\n"
    "; colours are red + 256 × green + 65536 × blue\r\n"
    "loginCenterColor=16777215\r\n"
    "titleColor=16777215\r\n"
    "titlex=24\r\n"
    "titley=2\r\n"
    "titleWidth=300\r\n"
    "titleHeight=14\r\n"
    "logx=4\r\n"
    "logy=0\r\n"
    "minGameWidth=800\r\n"
    "minGameHeight=600\r\n"
    "version=1.00\r\n"
    "; 1: both windows take the display's scale (125 %, 150 %, 200 %), every size here counted at 100 %;\r\n"
    "; NAME@2x.png beside a picture, drawn at twice its size, is shown from 150 % on. 0: physical pixels\r\n"
    "dpiScaling=1\r\n"
    "; the pages' document mode: 11001 is the newest (Internet Explorer 11); 0 registers none\r\n"
    "browserMode=11001\r\n"
    "; the frame's eight pieces (corners and edges), each a [gamePicN] sprite of config/style.png\r\n"
    "edgeImage1=1\r\nedgeImage2=1\r\nedgeImage3=1\r\nedgeImage4=1\r\n"
    "edgeImage5=1\r\nedgeImage6=1\r\nedgeImage7=1\r\nedgeImage8=1\r\n"
    "; for updates add server, port, versionUrl, exeUrl and updateKey (launcher-pack keygen)\r\n"
    "\r\n"
    "; the browser area that shows the login page (type 4)\r\n"
    "[link1]\r\n"
    "type=4\r\n"
    "x=20\r\ny=40\r\nwidth=360\r\nheight=220\r\n"
    "url=http://127.0.0.1/login.html\r\n"
    "\r\n"
    "; the close button (type 3), pictures config/2_n.png and config/2_d.png\r\n"
    "[link2]\r\n"
    "type=3\r\n"
    "x=380\r\ny=4\r\n"
    "\r\n"
    "; a sprite of config/style.png: the frame's piece\r\n"
    "[gamePic1]\r\n"
    "x=0\r\ny=0\r\nwidth=16\r\nheight=16\r\n"
    "\r\n"
    "; a button's sprite: normal, pressed and hover pictures one under the other, interval apart\r\n"
    "[gamePic2]\r\n"
    "x=16\r\ny=0\r\nwidth=16\r\nheight=16\r\ninterval=0\r\n"
    "\r\n"
    "; the title bar's close button (type 5), F4 for it\r\n"
    "[gamebutton1]\r\n"
    "type=5\r\n"
    "image=2\r\n"
    "x=-20\r\ny=0\r\n"
    "tips=关闭\r\n"
    "shortCut=4\r\n"
    "\r\n"
    "; an item of the menu that a type 11 game button opens; type 4 shows the version\r\n"
    "[menu1]\r\n"
    "type=4\r\n"
    "title=版本\r\n";

// The pictures are drawn for a display scale: `factor` 1 gives the 1x
// pictures, 2 their @2x forms, each pixel of the one a square of four in
// the other, so that nothing is blurred by enlarging.
RgbaImage Solid(int width, int height, Rgba colour, int factor) {
  return RgbaImage(width * factor, height * factor, colour);
}

// Fills the rectangle given in 1x pixels.
void Paint(RgbaImage& image, int factor, int left, int top, int right, int bottom, Rgba colour) {
  for (int y = top * factor; y < bottom * factor; ++y)
    for (int x = left * factor; x < right * factor; ++x) image.At(x, y) = colour;
}

// A close mark, "×", three pixels thick, in the square of `size` at
// (left, top), inset by a quarter of it.
void CloseMark(RgbaImage& image, int factor, int left, int top, int size, Rgba colour) {
  const int inset = size / 4;
  for (int y = inset; y < size - inset; ++y)
    for (int x = inset; x < size - inset; ++x)
      if (std::abs(x - y) <= 1 || std::abs(x + y - (size - 1)) <= 1)
        Paint(image, factor, left + x, top + y, left + x + 1, top + y + 1, colour);
}

// A close button: its face with a white mark, so that it shows what it does.
RgbaImage CloseButton(Rgba face, int factor) {
  RgbaImage image = Solid(16, 16, face, factor);
  CloseMark(image, factor, 0, 0, 16, {255, 255, 255, 255});
  return image;
}

// The logo: a gold tile with a play mark pointing right.
RgbaImage Logo(int factor) {
  RgbaImage image = Solid(16, 16, {230, 180, 40, 255}, factor);
  for (int x = 5; x <= 11; ++x)
    for (int y = 4; y <= 11; ++y)
      if (2 * std::abs(2 * y - 15) <= 2 * (12 - x) + 1) Paint(image, factor, x, y, x + 1, y + 1, {90, 50, 10, 255});
  return image;
}

// The login background with a darker band where the title would go.
RgbaImage Background(int factor) {
  RgbaImage image = Solid(400, 300, {40, 70, 120, 255}, factor);
  Paint(image, factor, 0, 0, 400, 30, {25, 45, 80, 255});
  return image;
}

// Sprite 1, the frame's piece, in the frame's colour; sprite 2, the close
// button's three faces (normal, pressed, hover) beside it, each lighter
// than the frame and marked, so that the title bar shows it at rest too.
RgbaImage SpriteSheet(int factor) {
  RgbaImage image = Solid(32, 48, {60, 60, 70, 255}, factor);
  const Rgba faces[] = {{105, 105, 120, 255}, {150, 40, 40, 255}, {210, 60, 60, 255}};
  for (int face = 0; face < 3; ++face) {
    Paint(image, factor, 16, 16 * face, 32, 16 * face + 16, faces[face]);
    CloseMark(image, factor, 16, 16 * face, 16, {255, 255, 255, 255});
  }
  return image;
}

// The pictures, each under its name and, drawn at twice the size, its
// @2x name.
std::vector<std::pair<std::string, std::string>> Pictures() {
  std::vector<std::pair<std::string, std::string>> files;
  for (const int factor : {1, 2}) {
    const auto name = [factor](const std::string& single) { return factor == 1 ? single : DoubleSizeName(single); };
    files.emplace_back(name("config/main1.png"), EncodePng(Background(factor)));
    files.emplace_back(name("config/2_n.png"), EncodePng(CloseButton({200, 60, 60, 255}, factor)));
    files.emplace_back(name("config/2_d.png"), EncodePng(CloseButton({150, 40, 40, 255}, factor)));
    files.emplace_back(name("config/style.png"), EncodePng(SpriteSheet(factor)));
    files.emplace_back(name("config/logo.png"), EncodePng(Logo(factor)));
  }
  return files;
}

}  // namespace

int RunInit(const CommandLine& line, std::ostream& out, std::ostream& err) {
  const fs::path folder = PathOf(line.inputs[0]);
  std::error_code code;
  if (fs::exists(folder, code) && !fs::is_empty(folder, code)) {
    err << "launcher-pack: " << line.inputs[0] << " exists and is not empty: init writes a new skin folder only\n";
    return kExitUnreadable;
  }
  const GbkConversion config = Utf8ToGbk(kConfig);
  if (!config.Converted()) {  // the template is the tool's own: this is a fault of the build's converter
    err << "launcher-pack: the starting configuration cannot be converted to GBK on this system\n";
    return kExitUnreadable;
  }
  std::vector<std::pair<std::string, std::string>> files{{"config/cg.txt", config.text}};
  for (auto& picture : Pictures()) files.push_back(std::move(picture));
  fs::create_directories(folder / "config", code);
  std::string error;
  for (const auto& [name, content] : files)
    if (code || !WriteWholeFile(folder / name, content, &error)) {
      err << "launcher-pack: " << (code ? Shown(folder) + " cannot be made: " + code.message() : error) << "\n";
      return kExitUnreadable;
    }
  out << "wrote " << Shown(folder)
      << ": config/cg.txt (GBK, commented) and its pictures, each also at twice the size "
         "(NAME@2x.png) for high display scales\n"
      << "next: edit config/cg.txt and the pictures, then launcher-pack check " << line.inputs[0] << "\n";
  return kExitClean;
}
