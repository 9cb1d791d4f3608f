// The packed launcher on the system's display scale: a skin with
// dpiScaling=1 shows both windows at the system's DPI / 96, with its @2x
// pictures from 150 % on; a skin without the key keeps physical pixels. Run
// at the prefix's DPI, and again in a prefix of 144 DPI (e2e_tests.dpi_144).
// Then [global] browserMode, registered for the name the program runs as.
#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "browser/browser_mode.h"
#include "common/display_scale.h"
#include "game_driver.h"
#include "png_writer.h"

using namespace testkit;

namespace {

constexpr int kWidth = 200, kHeight = 120;
constexpr COLORREF kBackground = RGB(200, 100, 50), kDoubleSizeBackground = RGB(50, 100, 200);
constexpr COLORREF kButton = RGB(255, 0, 0), kDoubleSizeButton = RGB(0, 0, 192);
constexpr int kButtonX = 20, kButtonTop = 70, kButtonWidth1x = 40, kButtonHeight1x = 20;
constexpr Rect kArea{110, 10, 170, 50};

std::uint32_t Argb(COLORREF c) { return 0xFF000000u | GetRValue(c) << 16 | GetGValue(c) << 8 | GetBValue(c); }

std::string Png(int width, int height, COLORREF colour) {
  const Bytes png = RgbaPng(width, height, [colour](int, int) { return Argb(colour); });
  return std::string(png.begin(), png.end());
}

// The background of `width` (its height in proportion): opaque `colour` on
// the left half, fully transparent on the right.
std::string HalfOpaque(int width, COLORREF colour) {
  const Bytes png = RgbaPng(width, width * kHeight / kWidth,
                            [width, colour](int x, int) { return x < width / 2 ? Argb(colour) : 0u; });
  return std::string(png.begin(), png.end());
}

// A login skin with a button and a browser area, and the @2x forms of its
// pictures in colours of their own.
Bytes LoginSkin(const std::string& extraGlobal) {
  const std::string config =
      "[global]\r\ntitle=Scale Test\r\nserver=127.0.0.1\r\nport=9\r\nversionUrl=/version.txt\r\n"
      "gameheader=client://loadgame|\r\nlinkCount=2\r\n" +
      extraGlobal + "[link1]\r\ntype=1\r\nx=" + std::to_string(kButtonX) + "\r\ny=" + std::to_string(kButtonTop) +
      "\r\nurl=\r\n[link2]\r\ntype=4\r\nx=110\r\ny=10\r\nwidth=60\r\nheight=40\r\nurl=about:blank\r\n";
  ZipBuilder zip;
  zip.Add("config/cg.txt", config)
      .Add("config/main1.png", HalfOpaque(kWidth, kBackground))
      .Add("config/main1@2x.png", HalfOpaque(2 * kWidth, kDoubleSizeBackground))
      .Add("config/1_n.png", Png(kButtonWidth1x, kButtonHeight1x, kButton))
      .Add("config/1_d.png", Png(kButtonWidth1x, kButtonHeight1x, kButton))
      .Add("config/1_n@2x.png", Png(2 * kButtonWidth1x, 2 * kButtonHeight1x, kDoubleSizeButton))
      .Add("config/1_d@2x.png", Png(2 * kButtonWidth1x, 2 * kButtonHeight1x, kDoubleSizeButton));
  return zip.Build();
}

struct LoginPair {
  HWND background = nullptr;
  HWND companion = nullptr;
};

// The pair once its login area is made and the launcher is idle.
LoginPair FindPair(LauncherProcess& launcher) {
  LoginPair pair;
  pair.background = launcher.WaitForWindow(
      [](HWND w) { return WindowText(w) == "Scale Test" && GetWindow(w, GW_OWNER) == nullptr; });
  if (pair.background == nullptr) return pair;
  pair.companion = launcher.WaitForWindow([&](HWND w) {
    return GetWindow(w, GW_OWNER) == pair.background && GetDlgItem(w, 150) != nullptr;
  });
  if (pair.companion != nullptr && !launcher.WaitUntilIdle(pair.companion)) pair.companion = nullptr;
  return pair;
}

RECT Sized(int x, int y, int width, int height) { return {x, y, x + width, y + height}; }
POINT At(const RECT& r, int x, int y) { return {r.left + x, r.top + y}; }

// The login pair as a skin at `s` shows it, its @2x pictures if `doubled`.
void ExpectLoginPair(const std::string& extraGlobal, const DisplayScale& s, bool doubled) {
  const RECT expected = CentredPairRect(s.Length(kWidth), s.Length(kHeight));
  // What the transparent half of the picture lets through.
  constexpr COLORREF kBeneath = RGB(255, 255, 0);
  const Backdrop backdrop(kBeneath);
  LauncherProcess launcher(LoginSkin(extraGlobal));
  const LoginPair pair = FindPair(launcher);
  ASSERT_NE(pair.companion, nullptr) << launcher.Describe();
  EXPECT_EQ(WindowRect(pair.background), expected);
  POINT origin{0, 0};
  ClientToScreen(pair.companion, &origin);
  const Point button = s.Position({kButtonX, kButtonTop});
  EXPECT_EQ(WindowRect(GetDlgItem(pair.companion, 201)),
            Sized(origin.x + button.x, origin.y + button.y, s.Length(kButtonWidth1x), s.Length(kButtonHeight1x)));
  const Rect area = s.Area(kArea);
  EXPECT_EQ(WindowRect(GetDlgItem(pair.companion, 150)),
            (RECT{origin.x + area.left, origin.y + area.top, origin.x + area.right, origin.y + area.bottom}));

  // The picture's edge is where its pictures have it, in the colour of the
  // one shown, and the transparent half lets the screen through.
  const COLORREF background = doubled ? kDoubleSizeBackground : kBackground;
  const int edge = s.Length(kWidth / 2);
  EXPECT_TRUE(ScreenShows(At(expected, s.Length(70), s.Length(40)), background));
  EXPECT_TRUE(ScreenShows(At(expected, edge - 2, s.Length(80)), background));
  EXPECT_TRUE(ScreenShows(At(expected, edge + 1, s.Length(80)), kBeneath));
  EXPECT_TRUE(ScreenShows(At(expected, s.Length(190), s.Length(100)), kBeneath));
  const RECT face = WindowRect(GetDlgItem(pair.companion, 201));
  const COLORREF buttonColour = doubled ? kDoubleSizeButton : kButton;
  EXPECT_TRUE(ScreenShows({face.left + 1, face.top + 1}, buttonColour));
  EXPECT_TRUE(ScreenShows({face.right - 2, face.bottom - 2}, buttonColour));
}

// The game window as a skin at `s` shows it, its @2x pictures if `doubled`:
// maximised, then restored.
void ExpectGameWindow(const std::string& extraGlobal, const DisplayScale& s, bool doubled) {
  GameLauncher game({.extraGlobal = extraGlobal, .withDoubleSize = true});
  ASSERT_NE(game.window, nullptr) << game.launcher.Describe();
  const COLORREF(&pieces)[8] = doubled ? kDoubleSizePieceColours : kPieceColours;
  const RECT work = WorkArea();
  EXPECT_EQ(WindowRect(game.window), work);
  const int width = work.right - work.left, height = work.bottom - work.top;
  for (const SkinButton& b : kSkinButtons)
    EXPECT_EQ(game.ChildRect(180 + b.kind), Sized(width + s.Length(b.x), s.Length(kButtonY), s.Length(kButtonWidth),
                                                  s.Length(kButtonHeight)))
        << b.kind;
  const int h2 = s.Length(kTitleBarHeight);
  EXPECT_EQ(game.ChildRect(170), (RECT{0, h2, width, height}));
  EXPECT_EQ(game.ChildRect(300), Sized(s.Length(kLogoX), s.Length(kLogoY), s.Length(kLogoWidth), s.Length(kLogoHeight)));
  EXPECT_TRUE(ScreenShows({work.left + 1, work.top + 1}, pieces[1]));
  EXPECT_TRUE(ScreenShows({work.right - 2, work.top + h2 - 2}, pieces[1]));
  const RECT logo = WindowRect(game.Child(300));
  EXPECT_TRUE(ScreenShows({logo.right - 2, logo.bottom - 2}, doubled ? kDoubleSizeLogoColour : kLogoColour));
  const RECT close = WindowRect(game.Child(185));
  EXPECT_TRUE(ScreenShows({close.right - 2, close.bottom - 2}, (doubled ? kDoubleSizeButtonFaces : kButtonFaces)[0]));

  game.Click(190);
  const RECT restored = Sized((width - s.Length(kGameWidth)) / 2, (height - s.Length(kGameHeight)) / 2,
                              s.Length(kGameWidth), s.Length(kGameHeight));
  ASSERT_TRUE(Eventually([&] { return WindowRect(game.window) == restored; })) << WindowRect(game.window);
  game.Idle();
  const int w4 = s.Length(kPieceWidths[3]), w5 = s.Length(kPieceWidths[4]), h7 = s.Length(kPieceHeights[6]);
  const int middle = (restored.top + restored.bottom) / 2;
  struct Spot {
    int piece;
    POINT at;
  } spots[] = {
      {1, {restored.left + 1, restored.top + 1}},       {2, {restored.left + s.Length(300), restored.top + 1}},
      {3, {restored.right - 2, restored.top + 1}},      {4, {restored.left + w4 - 1, middle}},
      {5, {restored.right - w5, middle}},               {7, {restored.left + s.Length(300), restored.bottom - h7}},
      {8, {restored.right - 2, restored.bottom - 2}},   {6, {restored.left + 1, restored.bottom - 2}},
  };
  for (const Spot& spot : spots) EXPECT_TRUE(ScreenShows(spot.at, pieces[spot.piece - 1])) << "piece " << spot.piece;
  // Sizing by the frame follows its pieces as they are shown.
  auto hit = [&](int x) { return SendMessageA(game.window, WM_NCHITTEST, 0, MAKELPARAM(x, middle)); };
  EXPECT_EQ(hit(restored.left + w4), HTLEFT);
  EXPECT_EQ(hit(restored.left + w4 + 1), HTCLIENT);
  EXPECT_EQ(hit(restored.right - w5), HTRIGHT);
  EXPECT_EQ(hit(restored.right - w5 - 1), HTCLIENT);
}

}  // namespace

TEST(DisplayScale, AScalingSkinShowsTheLoginPairAtTheSystemsScale) {
  const DisplayScale system(ScreenDpi());
  ExpectLoginPair("dpiScaling=1\r\n", system, system.Dpi() >= 144);
}

TEST(DisplayScale, AScalingSkinShowsTheGameWindowAtTheSystemsScale) {
  const DisplayScale system(ScreenDpi());
  ExpectGameWindow("dpiScaling=1\r\n", system, system.Dpi() >= 144);
}

TEST(DisplayScale, ALoginPairWithoutTheKeyKeepsPhysicalPixels) {
  ScreenDpi();  // only to see that it is the prefix's
  ExpectLoginPair("", DisplayScale(), false);
}

TEST(DisplayScale, AGameWindowWithoutTheKeyKeepsPhysicalPixels) {
  ScreenDpi();
  ExpectGameWindow("", DisplayScale(), false);
}

namespace {

std::wstring Wide(std::u16string_view text) { return std::wstring(text.begin(), text.end()); }

std::optional<DWORD> RegisteredMode(const std::wstring& name) {
  DWORD type = 0, value = 0, size = sizeof value;
  if (RegGetValueW(HKEY_CURRENT_USER, Wide(kBrowserEmulationKey).c_str(), name.c_str(), RRF_RT_ANY, &type, &value,
                   &size) != ERROR_SUCCESS ||
      type != REG_DWORD)
    return std::nullopt;
  return value;
}

void Unregister(const std::wstring& name) {
  RegDeleteKeyValueW(HKEY_CURRENT_USER, Wide(kBrowserEmulationKey).c_str(), name.c_str());
}

}  // namespace

// The mode is registered for the name the program file has, whatever the
// operator or the player renamed it to; nothing without the key.
TEST(BrowserMode, ALauncherRegistersItsModeUnderTheNameItRunsAs) {
  struct Case {
    std::string exeName;  // GBK, as the file system of this system takes it
    std::wstring valueName;
    std::string extraGlobal;
    std::optional<DWORD> mode;
  } cases[] = {
      {"\xD0\xC7\xBA\xA3.exe", L"\x661F\x6D77.exe", "browserMode=11001\r\n", 11001},  // 星海.exe
      {"Launcher.exe", L"Launcher.exe", "browserMode=8000\r\n", 8000},
      {"Launcher.exe", L"Launcher.exe", "", std::nullopt},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.exeName);
    Unregister(c.valueName);
    Unregister(L"Launcher.exe");
    LauncherProcess launcher(LoginSkin(c.extraGlobal), {.exeName = c.exeName});
    ASSERT_NE(FindPair(launcher).companion, nullptr) << launcher.Describe();
    EXPECT_EQ(RegisteredMode(c.valueName), c.mode);
    if (c.valueName != L"Launcher.exe") { EXPECT_EQ(RegisteredMode(L"Launcher.exe"), std::nullopt); }
    launcher.Kill();
    Unregister(c.valueName);
  }
}
