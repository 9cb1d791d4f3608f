// The windows of a skin that takes the display's scale, built in this
// process: laid out at the DPI of their monitor from the start, and again
// when they move to a monitor of another DPI (WM_DPICHANGED, sent here as
// the system sends it); a skin without the key keeps physical pixels.
// These tests run at whatever DPI the prefix has, and once more in a prefix
// of 144 DPI (win32_tests.dpi_144).
#include <algorithm>
#include <memory>
#include <string>

#include "common/display_scale.h"
#include "game_fixture.h"
#include "login/login_window_win.h"
#include "png_writer.h"

using namespace testkit;

namespace {

RECT ChildRect(HWND parent, int id) {
  HWND child = GetDlgItem(parent, id);
  RECT r = WindowRect(child);
  MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);
  return r;
}

RECT Sized(int x, int y, int width, int height) { return {x, y, x + width, y + height}; }

// The first restore: the game size centred in the work area.
RECT CentredGameRect(int width, int height) {
  const RECT work = WorkArea();
  return Sized((work.right - work.left - width) / 2, (work.bottom - work.top - height) / 2, width, height);
}

// The game skin's frame, title bar and logo as `window` should show them at
// `s` (in its client coordinates; the window has no frame of the system's).
void ExpectGameLayout(const CGameDialog& game, const DisplayScale& s) {
  SCOPED_TRACE("at " + std::to_string(s.Dpi()) + " DPI");
  EXPECT_EQ(game.Scale(), s);
  const RECT window = WindowRect(game.Handle());
  const int width = window.right - window.left, height = window.bottom - window.top;
  const bool maximised = game.SizeState().maximised;
  const int w4 = s.Length(kPieceWidths[3]), w5 = s.Length(kPieceWidths[4]);
  const int h2 = s.Length(kPieceHeights[1]), h7 = s.Length(kPieceHeights[6]);
  for (const SkinButton& b : kSkinButtons)
    EXPECT_EQ(ChildRect(game.Handle(), 180 + b.kind),
              Sized(width + s.Length(b.x) - (maximised ? 0 : w5), s.Length(kButtonY), s.Length(kButtonWidth),
                    s.Length(kButtonHeight)))
        << b.kind;
  EXPECT_EQ(ChildRect(game.Handle(), 170),
            (maximised ? RECT{0, h2, width, height} : RECT{w4, h2, width - w5, height - h7}));
  EXPECT_EQ(ChildRect(game.Handle(), 300),
            Sized(s.Length(kLogoX), s.Length(kLogoY), s.Length(kLogoWidth), s.Length(kLogoHeight)));
}

// The title's font at `dpi`: the stock font, made for the system's DPI.
LONG TitleHeightAt(int dpi) {
  LOGFONTA stock{};
  GetObjectA(GetStockObject(DEFAULT_GUI_FONT), sizeof stock, &stock);
  return ScaleBetween(stock.lfHeight, ScreenDpi(), dpi);
}

LONG FontHeight(HFONT font) {
  LOGFONTA description{};
  GetObjectA(font, sizeof description, &description);
  return description.lfHeight;
}

LRESULT HitTest(HWND window, int x, int y) { return SendMessageA(window, WM_NCHITTEST, 0, MAKELPARAM(x, y)); }

// Whether the browser host `id` of `parent` tells its pages that it is
// DPI-aware.
bool BrowserSaysDpiAware(HWND parent, int id) {
  auto* browser = dynamic_cast<CWebBrowserEx*>(win::Window::FromHandle(GetDlgItem(parent, id)));
  if (browser == nullptr) {
    ADD_FAILURE() << "no browser " << id;
    return false;
  }
  DOCHOSTUIINFO info{};
  info.cbSize = sizeof info;
  static_cast<IDocHostUIHandler*>(&browser->UiController())->GetHostInfo(&info);
  return (info.dwFlags & DOCHOSTUIFLAG_DPI_AWARE) != 0;
}

constexpr int kNewDpi = 192;  // twice: the @2x pictures as they are, no resampling

}  // namespace

TEST_F(GameWindowTest, AScalingGameWindowLaysItselfOutAtItsDpiAndAgainAtANewOne) {
  LoadSkin({.extraGlobal = "dpiScaling=1\r\n", .withDoubleSize = true});
  CGameDialog game(TestSkin());
  const DisplayScale start(ScreenDpi());
  RunGameWindow(game, [&] {
    ExpectGameLayout(game, start);
    EXPECT_TRUE(BrowserSaysDpiAware(game.Handle(), 170));
    game.RestoreWindow();
    EXPECT_EQ(WindowRect(game.Handle()), CentredGameRect(start.Length(kGameWidth), start.Length(kGameHeight)));
    ExpectGameLayout(game, start);
    // Sizing stops at the configured smallest size, scaled.
    RECT sizing{0, 0, 10, 10};
    SendMessageA(game.Handle(), WM_SIZING, WMSZ_BOTTOMRIGHT, reinterpret_cast<LPARAM>(&sizing));
    EXPECT_EQ(sizing, (RECT{0, 0, start.Length(kGameWidth), start.Length(kGameHeight)}));
    EXPECT_EQ(FontHeight(game.TitleFont()), TitleHeightAt(start.Dpi()));

    // Moved to a monitor of 200 %: the suggested place, everything twice
    // the configured size, the @2x pictures.
    RECT suggested{30, 20, 1030, 720};
    SendMessageA(game.Handle(), WM_DPICHANGED, MAKEWPARAM(kNewDpi, kNewDpi), reinterpret_cast<LPARAM>(&suggested));
    EXPECT_EQ(WindowRect(game.Handle()), suggested);
    const DisplayScale now(kNewDpi);
    ExpectGameLayout(game, now);
    EXPECT_EQ(FontHeight(game.TitleFont()), TitleHeightAt(kNewDpi));
    const RECT work = WorkArea();
    sizing = {0, 0, 10, 10};
    SendMessageA(game.Handle(), WM_SIZING, WMSZ_BOTTOMRIGHT, reinterpret_cast<LPARAM>(&sizing));
    EXPECT_EQ(sizing, (RECT{0, 0, std::min<LONG>(now.Length(kGameWidth), work.right - work.left),
                            std::min<LONG>(now.Length(kGameHeight), work.bottom - work.top)}));
    UpdateWindow(game.Handle());
    HWND close = GetDlgItem(game.Handle(), 185);
    UpdateWindow(close);
    EXPECT_EQ(WindowPixel(close, 1, 1), kDoubleSizeButtonFaces[0]);
    EXPECT_EQ(WindowPixel(close, now.Length(kButtonWidth) - 2, now.Length(kButtonHeight) - 2),
              kDoubleSizeButtonFaces[0]);
    EXPECT_EQ(WindowPixel(game.Handle(), 1, 1), kDoubleSizePieceColours[0]);
    EXPECT_EQ(WindowPixel(game.Handle(), 1, 300), kDoubleSizePieceColours[3]);
    EXPECT_EQ(WindowPixel(GetDlgItem(game.Handle(), 300), 2, 2), kDoubleSizeLogoColour);
    // The frame's borders are the scaled pieces' widths.
    const int middle = (suggested.top + suggested.bottom) / 2;
    const int w4 = now.Length(kPieceWidths[3]), w5 = now.Length(kPieceWidths[4]);
    EXPECT_EQ(HitTest(game.Handle(), suggested.left + w4, middle), HTLEFT);
    EXPECT_EQ(HitTest(game.Handle(), suggested.left + w4 + 1, middle), HTCLIENT);
    EXPECT_EQ(HitTest(game.Handle(), suggested.right - w5, middle), HTRIGHT);
    EXPECT_EQ(HitTest(game.Handle(), suggested.right - w5 - 1, middle), HTCLIENT);
    EndSoon(game);
  });
}

TEST_F(GameWindowTest, AGameWindowWithoutTheKeyKeepsPhysicalPixelsAtAnyDpi) {
  LoadSkin({.withDoubleSize = true});
  CGameDialog game(TestSkin());
  RunGameWindow(game, [&] {
    ExpectGameLayout(game, DisplayScale());
    EXPECT_FALSE(BrowserSaysDpiAware(game.Handle(), 170));
    game.RestoreWindow();
    const RECT restored = WindowRect(game.Handle());
    EXPECT_EQ(restored, CentredGameRect(kGameWidth, kGameHeight));
    const LONG titleHeight = FontHeight(game.TitleFont());

    RECT suggested{30, 20, 1030, 720};
    SendMessageA(game.Handle(), WM_DPICHANGED, MAKEWPARAM(kNewDpi, kNewDpi), reinterpret_cast<LPARAM>(&suggested));
    EXPECT_EQ(WindowRect(game.Handle()), restored);
    ExpectGameLayout(game, DisplayScale());
    EXPECT_EQ(FontHeight(game.TitleFont()), titleHeight);
    UpdateWindow(game.Handle());
    HWND close = GetDlgItem(game.Handle(), 185);
    UpdateWindow(close);
    EXPECT_EQ(WindowPixel(close, 1, 1), kButtonFaces[0]);  // never the @2x pictures
    EXPECT_EQ(WindowPixel(game.Handle(), 1, 1), kPieceColours[0]);
    EXPECT_EQ(WindowPixel(GetDlgItem(game.Handle(), 300), 2, 2), kLogoColour);
    EndSoon(game);
  });
}

namespace {

constexpr int kBackgroundWidth = 200, kBackgroundHeight = 120;
constexpr std::uint32_t kBackground = 0xFFC86432, kDoubleSizeBackground = 0xFF3264C8;
constexpr std::uint32_t kButton = 0xFFFF0000, kDoubleSizeButton = 0xFF0000C0;
constexpr int kButtonX = 20, kButtonY2 = 70, kLoginButtonWidth = 40, kLoginButtonHeight = 20;
constexpr RECT kArea{110, 10, 170, 50};

std::string Png(int width, int height, std::uint32_t argb) {
  const Bytes png = RgbaPng(width, height, [argb](int, int) { return argb; });
  return std::string(png.begin(), png.end());
}

// A login skin: the background opaque on its left half and transparent on
// its right, a button, a browser area in the transparent half, and the @2x
// forms of the pictures in colours of their own.
Bytes LoginSkin(const std::string& extraGlobal) {
  const std::string config = "[global]\r\ntitle=Scale Test\r\nserver=127.0.0.1\r\nport=9\r\nversionUrl=/v.txt\r\n"
                             "gameheader=client://loadgame|\r\nlinkCount=2\r\n" +
                             extraGlobal + "[link1]\r\ntype=1\r\nx=" + std::to_string(kButtonX) +
                             "\r\ny=" + std::to_string(kButtonY2) + "\r\nurl=\r\n[link2]\r\ntype=4\r\nx=110\r\ny=10\r\n"
                             "width=60\r\nheight=40\r\nurl=about:blank\r\n";
  auto halfOpaque = [](int width, std::uint32_t colour) {
    const Bytes png = RgbaPng(width, width * kBackgroundHeight / kBackgroundWidth,
                              [width, colour](int x, int) { return x < width / 2 ? colour : 0x00000000u; });
    return std::string(png.begin(), png.end());
  };
  ZipBuilder zip;
  zip.Add("config/cg.txt", config)
      .Add("config/main1.png", halfOpaque(kBackgroundWidth, kBackground))
      .Add("config/main1@2x.png", halfOpaque(2 * kBackgroundWidth, kDoubleSizeBackground))
      .Add("config/1_n.png", Png(kLoginButtonWidth, kLoginButtonHeight, kButton))
      .Add("config/1_d.png", Png(kLoginButtonWidth, kLoginButtonHeight, kButton))
      .Add("config/1_n@2x.png", Png(2 * kLoginButtonWidth, 2 * kLoginButtonHeight, kDoubleSizeButton))
      .Add("config/1_d@2x.png", Png(2 * kLoginButtonWidth, 2 * kLoginButtonHeight, kDoubleSizeButton));
  return zip.Build();
}

COLORREF Rgb(std::uint32_t argb) { return RGB(argb >> 16 & 0xFF, argb >> 8 & 0xFF, argb & 0xFF); }

// The pair and its links as they should be at `s`, with the background's
// top-left corner at `at`.
void ExpectLoginLayout(const CLauncherTranslucentDlg& login, const DisplayScale& s, POINT at) {
  SCOPED_TRACE("at " + std::to_string(s.Dpi()) + " DPI");
  EXPECT_EQ(login.Scale(), s);
  EXPECT_EQ(WindowRect(login.Handle()),
            Sized(at.x, at.y, s.Length(kBackgroundWidth), s.Length(kBackgroundHeight)));
  HWND companion = login.Companion()->Handle();
  EXPECT_EQ(WindowRect(companion), ClientRectOnScreen(login.Handle()));
  EXPECT_EQ(ChildRect(companion, 201),
            Sized(s.Length(kButtonX), s.Length(kButtonY2), s.Length(kLoginButtonWidth), s.Length(kLoginButtonHeight)));
  const Rect area = s.Area({kArea.left, kArea.top, kArea.right, kArea.bottom});
  EXPECT_EQ(ChildRect(companion, 150), (RECT{area.left, area.top, area.right, area.bottom}));
}

// Runs `login` until its first browser area is made, then `steps`, and
// ends it.
void RunLogin(CLauncherTranslucentDlg& login, const std::function<void()>& steps) {
  RunWhenReady(
      login,
      [&] {
        return login.Handle() != nullptr && IsWindowVisible(login.Handle()) && login.Companion() != nullptr &&
               GetDlgItem(login.Companion()->Handle(), 150) != nullptr;
      },
      [&] {
        steps();
        login.EndModal(IDOK);
      });
  login.DoModal();
}

}  // namespace

TEST_F(GameWindowTest, AScalingLoginPairTakesItsDpiAndANewOneWithTheDoubleSizePictures) {
  LoadSkinPackage(LoginSkin("dpiScaling=1\r\n"));
  std::unique_ptr<PackagePicture> background;
  ASSERT_EQ(LoadPackagePicture(TestSkin().Package(), "config/main1.png", &background), LoadOutcome::kLoaded);
  CLauncherTranslucentDlg login(TestSkin(), std::move(background), nullptr);
  const DisplayScale start(ScreenDpi());
  const Backdrop backdrop(RGB(255, 255, 0));
  RunLogin(login, [&] {
    const RECT centred = CentredPairRect(start.Length(kBackgroundWidth), start.Length(kBackgroundHeight));
    ExpectLoginLayout(login, start, {centred.left, centred.top});
    EXPECT_TRUE(BrowserSaysDpiAware(login.Companion()->Handle(), 150));

    RECT suggested{100, 80, 400, 260};
    SendMessageA(login.Handle(), WM_DPICHANGED, MAKEWPARAM(kNewDpi, kNewDpi), reinterpret_cast<LPARAM>(&suggested));
    const DisplayScale now(kNewDpi);
    ExpectLoginLayout(login, now, {suggested.left, suggested.top});
    // The pair shows its @2x pictures: the background through the
    // companion's transparent key colour, and the button.
    // The picture fills the window; the companion lies over its client
    // area, which keeps the template's frame.
    const RECT picture = WindowRect(login.Handle());
    EXPECT_TRUE(ScreenShows({picture.left + now.Length(10), picture.top + now.Length(10)}, Rgb(kDoubleSizeBackground)));
    // Each pixel keeps its own alpha: the transparent half shows what lies
    // beneath, from the picture's edge on.
    const int edge = now.Length(kBackgroundWidth / 2);
    EXPECT_TRUE(ScreenShows({picture.left + edge - 1, picture.top + now.Length(100)}, Rgb(kDoubleSizeBackground)));
    EXPECT_TRUE(ScreenShows({picture.left + edge, picture.top + now.Length(100)}, RGB(255, 255, 0)));
    EXPECT_TRUE(ScreenShows({picture.left + now.Length(190), picture.top + now.Length(100)}, RGB(255, 255, 0)));
    HWND button = GetDlgItem(login.Companion()->Handle(), 201);
    const RECT face = WindowRect(button);
    EXPECT_TRUE(ScreenShows({face.left + 2, face.top + 2}, Rgb(kDoubleSizeButton)));
    EXPECT_TRUE(ScreenShows({face.right - 3, face.bottom - 3}, Rgb(kDoubleSizeButton)));
  });
}

TEST_F(GameWindowTest, ALoginPairWithoutTheKeyKeepsPhysicalPixelsAtAnyDpi) {
  LoadSkinPackage(LoginSkin(""));
  std::unique_ptr<PackagePicture> background;
  ASSERT_EQ(LoadPackagePicture(TestSkin().Package(), "config/main1.png", &background), LoadOutcome::kLoaded);
  CLauncherTranslucentDlg login(TestSkin(), std::move(background), nullptr);
  RunLogin(login, [&] {
    const RECT centred = CentredPairRect(kBackgroundWidth, kBackgroundHeight);
    ExpectLoginLayout(login, DisplayScale(), {centred.left, centred.top});
    EXPECT_FALSE(BrowserSaysDpiAware(login.Companion()->Handle(), 150));
    RECT suggested{100, 80, 400, 260};
    SendMessageA(login.Handle(), WM_DPICHANGED, MAKEWPARAM(kNewDpi, kNewDpi), reinterpret_cast<LPARAM>(&suggested));
    ExpectLoginLayout(login, DisplayScale(), {centred.left, centred.top});
    const RECT picture = WindowRect(login.Handle());
    EXPECT_TRUE(ScreenShows({picture.left + 10, picture.top + 10}, Rgb(kBackground)));
    const RECT face = WindowRect(GetDlgItem(login.Companion()->Handle(), 201));
    EXPECT_TRUE(ScreenShows({face.left + 2, face.top + 2}, Rgb(kButton)));
  });
}
