#include "game_skin.h"

#include "png_writer.h"

namespace testkit {
namespace {

constexpr int kButtonSpriteY = 40, kButtonInterval = 2;
constexpr int kSheetWidth = 96, kSheetHeight = kButtonSpriteY + 3 * kButtonHeight + 2 * kButtonInterval;

// The pieces lie side by side along the top of the sheet.
int PieceX(int index) {
  int x = 0;
  for (int i = 0; i < index; ++i) x += kPieceWidths[i];
  return x;
}

std::uint32_t Argb(COLORREF c) { return 0xFF000000u | (GetRValue(c) << 16) | (GetGValue(c) << 8) | GetBValue(c); }

// The sheet's pixel (x, y) in the 1x layout, in the colours given.
std::uint32_t SheetPixel(int x, int y, const COLORREF (&pieces)[8], const COLORREF (&faces)[3]) {
  for (int i = 0; i < 8; ++i)
    if (x >= PieceX(i) && x < PieceX(i) + kPieceWidths[i] && y < kPieceHeights[i]) return Argb(pieces[i]);
  if (x < kButtonWidth && y >= kButtonSpriteY) {
    const int face = (y - kButtonSpriteY) / (kButtonHeight + kButtonInterval);
    const int inFace = (y - kButtonSpriteY) % (kButtonHeight + kButtonInterval);
    if (face < 3 && inFace < kButtonHeight) return Argb(faces[face]);
  }
  return 0xFFFFFFFF;
}

std::string AsText(const Bytes& bytes) { return std::string(bytes.begin(), bytes.end()); }

std::string StandardButtons() {
  std::string text = "gameButtonCount=" + std::to_string(std::size(kSkinButtons)) + "\r\n";
  int n = 0;
  for (const SkinButton& b : kSkinButtons) {
    text += "[gamebutton" + std::to_string(++n) + "]\r\ntype=" + std::to_string(b.kind) +
            "\r\nx=" + std::to_string(b.x) + "\r\ny=" + std::to_string(kButtonY) +
            "\r\nimage=9\r\nshortCut=" + std::to_string(b.shortCut) + "\r\n";
    if (b.kind == 12) text += "url=http://127.0.0.1:9/start\r\n";
  }
  return text;
}

std::string StandardMenus() {
  return "menuCount=4\r\n"
         "[menu1]\r\ntitle=Relogin\r\ntype=1\r\nshortCut=5\r\n"
         "[menu2]\r\ntitle=Clear cache\r\ntype=2\r\n"
         "[menu3]\r\ntitle=Full screen\r\ntype=3\r\nshortCut=11\r\n"
         "[menu4]\r\ntitle=Version\r\ntype=4\r\n";
}

// A list's count goes to [global]; its records follow as sections.
std::pair<std::string, std::string> SplitCount(const std::string& list) {
  const std::size_t end = list.find("\r\n");
  return {list.substr(0, end + 2), list.substr(end + 2)};
}

}  // namespace

std::string GameConfig(const GameSkinOptions& o) {
  const auto [buttonCount, buttonRecords] = SplitCount(o.buttons.empty() ? StandardButtons() : o.buttons);
  const auto [menuCount, menuRecords] = SplitCount(o.menus.empty() ? StandardMenus() : o.menus);
  std::string text = "[global]\r\nlinkCount=" + std::string(o.secondLoginUrl.empty() ? "1" : "2") +
                     "\r\ngameheader=" + o.gameheader +
                     "\r\ntitle=Game Test\r\ncloseMsg=Quit?\r\n"
                     "firstUrl=" +
                     o.firstUrl +
                     "\r\n"
                     "notityTitle=Game tray tip\r\nnotifyCloseTitle=Exit game\r\n"
                     "clearFlashTitle=Clear cache\r\nclearFlashMsg=Clear it?\r\nversion=1.2.3\r\n"
                     "server=127.0.0.1\r\nport=9\r\nversionUrl=/version.txt\r\n"
                     "minGameWidth=" +
                     std::to_string(kGameWidth) + "\r\nminGameHeight=" + std::to_string(kGameHeight) +
                     "\r\n"
                     "titlex=" +
                     std::to_string(kTitleX) + "\r\ntitley=" + std::to_string(kTitleY) +
                     "\r\ntitleWidth=200\r\ntitleHeight=20\r\ntitleColor=16777215\r\n"
                     "logx=" +
                     std::to_string(kLogoX) + "\r\nlogy=" + std::to_string(kLogoY) +
                     "\r\n"
                     "picCount=9\r\n" +
                     buttonCount + menuCount;
  for (int n = 1; n <= 8; ++n) text += "edgeImage" + std::to_string(n) + "=" + std::to_string(n) + "\r\n";
  text += o.extraGlobal;
  text += "[link1]\r\ntype=4\r\nwidth=100\r\nheight=100\r\nurl=" + o.loginUrl + "\r\n";
  if (!o.secondLoginUrl.empty())
    text += "[link2]\r\ntype=4\r\nx=110\r\nwidth=80\r\nheight=100\r\nurl=" + o.secondLoginUrl + "\r\n";
  for (int i = 0; i < 8; ++i)
    text += "[gamePic" + std::to_string(i + 1) + "]\r\nx=" + std::to_string(PieceX(i)) +
            "\r\ny=0\r\nwidth=" + std::to_string(kPieceWidths[i]) + "\r\nheight=" + std::to_string(kPieceHeights[i]) +
            "\r\n";
  text += "[gamePic9]\r\nx=0\r\ny=" + std::to_string(kButtonSpriteY) + "\r\nwidth=" + std::to_string(kButtonWidth) +
          "\r\nheight=" + std::to_string(kButtonHeight) + "\r\ninterval=" + std::to_string(kButtonInterval) + "\r\n";
  return text + buttonRecords + menuRecords;
}

Bytes GameSkin(const GameSkinOptions& options) {
  ZipBuilder zip;
  zip.Add("config/cg.txt", GameConfig(options));
  zip.Add("config/main1.png", AsText(RgbaPng(200, 150, [](int, int) { return 0xFF808080u; })));
  if (options.withStyle)
    zip.Add("config/style.png", AsText(RgbaPng(kSheetWidth, kSheetHeight, [](int x, int y) {
              return SheetPixel(x, y, kPieceColours, kButtonFaces);
            })));
  if (options.withLogo)
    zip.Add("config/logo.png", AsText(RgbaPng(kLogoWidth, kLogoHeight, [](int, int) { return Argb(kLogoColour); })));
  if (options.withDoubleSize) {
    zip.Add("config/style@2x.png", AsText(RgbaPng(2 * kSheetWidth, 2 * kSheetHeight, [](int x, int y) {
              return SheetPixel(x / 2, y / 2, kDoubleSizePieceColours, kDoubleSizeButtonFaces);
            })));
    zip.Add("config/logo@2x.png", AsText(RgbaPng(2 * kLogoWidth, 2 * kLogoHeight,
                                                 [](int, int) { return Argb(kDoubleSizeLogoColour); })));
  }
  return zip.Build();
}

}  // namespace testkit
