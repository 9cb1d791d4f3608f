// The login window of a packed launcher, driven from outside: its pair of
// windows, its links, its question, its keys, and the hand-over of the game.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>

#include "common/texts.h"
#include "launcher_driver.h"
#include "png_writer.h"

using testkit::Bytes;
using testkit::LauncherProcess;

namespace {

constexpr int kWidth = 400, kHeight = 300;

std::string Png(int width, int height, std::uint32_t argb) {
  const Bytes png = testkit::RgbaPng(width, height, [argb](int, int) { return argb; });
  return std::string(png.begin(), png.end());
}

const std::string kGreyBackground = Png(kWidth, kHeight, 0xFF808080);

// A skin: `background` (an opaque grey one unless the test gives another;
// one whose size cannot be read gives a pair of 0 x 0), buttons of 40 x 20
// (normal red, pressed blue) for links 1, 2 and 4, and whatever links the
// test writes. The game header is one that no test page starts with unless
// it says so.
Bytes LoginSkin(const std::string& links, const std::string& header = "client://loadgame|",
                const std::string& background = kGreyBackground) {
  // The update check goes to a closed port on this machine and ends at once.
  const std::string config = "[global]\r\ntitle=Login Test\r\ncloseMsg=Quit?\r\nloginCenterColor=255\r\n"
                             "server=127.0.0.1\r\nport=9\r\nversionUrl=/version.txt\r\n"
                             "gameheader=" + header + "\r\n" + links;
  testkit::ZipBuilder zip;
  zip.Add("config/cg.txt", config).Add("config/main1.png", background);
  for (int n : {1, 2, 4}) {
    zip.Add("config/" + std::to_string(n) + "_n.png", Png(40, 20, 0xFFFF0000));
    zip.Add("config/" + std::to_string(n) + "_d.png", Png(40, 20, 0xFF0000FF));
  }
  return zip.Build();
}

const std::string kThreeLinks =
    "linkCount=4\r\n"
    "[link1]\r\ntype=3\r\nx=350\r\ny=10\r\n"                                   // close
    "[link2]\r\ntype=2\r\nx=300\r\ny=10\r\n"                                   // minimise
    "[link3]\r\ntype=4\r\nx=20\r\ny=60\r\nwidth=200\r\nheight=150\r\nurl=about:blank\r\n"
    "[link4]\r\ntype=1\r\nx=20\r\ny=250\r\nurl=about:blank\r\n";               // pictures 4_n, 4_d

struct LoginPair {
  HWND background = nullptr;
  HWND companion = nullptr;
};

LoginPair FindPair(LauncherProcess& launcher) {
  LoginPair pair;
  pair.background = launcher.WaitForWindow([](HWND w) { return testkit::WindowText(w) == "Login Test" &&
                                                                GetWindow(w, GW_OWNER) == nullptr; });
  if (pair.background == nullptr) return pair;
  pair.companion = launcher.WaitForWindow([&](HWND w) {
    return GetWindow(w, GW_OWNER) == pair.background && !testkit::ReadMessageBox(w).has_value();
  });
  if (pair.companion != nullptr && !launcher.WaitUntilIdle(pair.companion)) pair.companion = nullptr;
  return pair;
}

// True when the pair is still shown once the launcher has handled what
// was posted to it so far (the close button marks the end of it).
bool Survives(const LoginPair& pair) {
  return testkit::HandledWhatWasPosted(GetDlgItem(pair.companion, 203)) && IsWindowVisible(pair.background) &&
         IsWindowVisible(pair.companion);
}

}  // namespace

TEST(LoginWindow, PairIsCentredAndCarriesTheLinksAtTheirPlaces) {
  LauncherProcess launcher(LoginSkin(kThreeLinks));
  const LoginPair pair = FindPair(launcher);
  ASSERT_NE(pair.companion, nullptr) << launcher.Describe();
  EXPECT_EQ(testkit::WindowRect(pair.background), testkit::CentredPairRect(kWidth, kHeight));
  EXPECT_EQ(testkit::WindowText(pair.companion), "Login Test");

  POINT origin{0, 0};
  ClientToScreen(pair.companion, &origin);
  struct Expected {
    int id, x, y;
  } buttons[] = {{203, 350, 10}, {202, 300, 10}, {201, 20, 250}};
  for (const Expected& b : buttons) {
    HWND button = GetDlgItem(pair.companion, b.id);
    ASSERT_NE(button, nullptr) << b.id;
    EXPECT_EQ(testkit::WindowRect(button), (RECT{origin.x + b.x, origin.y + b.y, origin.x + b.x + 40, origin.y + b.y + 20})) << b.id;
  }
  HWND area = GetDlgItem(pair.companion, 150);
  ASSERT_NE(area, nullptr);
  EXPECT_FALSE(IsWindowVisible(area));  // until the page has loaded
}

TEST(LoginWindow, CloseQuestionAsksAndOnlyOkCloses) {
  LauncherProcess launcher(LoginSkin(kThreeLinks));
  const LoginPair pair = FindPair(launcher);
  ASSERT_NE(pair.companion, nullptr) << launcher.Describe();
  for (int answer : {IDCANCEL, IDOK}) {
    testkit::ClickCentre(GetDlgItem(pair.companion, 203));
    const auto box = launcher.WaitForMessageBox();
    ASSERT_TRUE(box.has_value()) << launcher.Describe();
    EXPECT_TRUE(testkit::IsQuestion(*box, "Quit?", "Launcher", pair.companion));
    box->Press(answer);
    if (answer == IDCANCEL) {
      ASSERT_TRUE(testkit::PumpUntil([&] { return !IsWindow(box->hwnd); }, 10000));
      EXPECT_TRUE(Survives(pair));
    }
  }
  EXPECT_EQ(launcher.WaitForExit(), 0u);
}

TEST(LoginWindow, EnterAndEscapeNeverCloseButAltF4Does) {
  LauncherProcess launcher(LoginSkin(kThreeLinks));
  const LoginPair pair = FindPair(launcher);
  ASSERT_NE(pair.companion, nullptr) << launcher.Describe();
  for (HWND target : {pair.companion, pair.background, GetDlgItem(pair.companion, 201)})
    for (WPARAM key : {VK_ESCAPE, VK_RETURN}) PostMessageA(target, WM_KEYDOWN, key, 0);
  EXPECT_TRUE(Survives(pair));
  PostMessageA(pair.background, WM_SYSKEYDOWN, VK_F4, 1 << 29);  // Alt held
  // Looked for until the launcher ends: a question would keep it open.
  EXPECT_FALSE(launcher.WaitForMessageBox().has_value()) << "Alt+F4 asked";
  EXPECT_EQ(launcher.WaitForExit(), 0u);
}

TEST(LoginWindow, MinimiseButtonMinimisesBothWindows) {
  LauncherProcess launcher(LoginSkin(kThreeLinks));
  const LoginPair pair = FindPair(launcher);
  ASSERT_NE(pair.companion, nullptr) << launcher.Describe();
  testkit::ClickCentre(GetDlgItem(pair.companion, 202));
  EXPECT_TRUE(testkit::PumpUntil([&] { return IsIconic(pair.background) && IsIconic(pair.companion); }));
}

TEST(LoginWindow, FillColourShowsWhereThePageWillBeAndSecondAreaIs151) {
  const std::string links =
      "linkCount=2\r\n"
      "[link1]\r\ntype=4\r\nx=10\r\ny=10\r\nwidth=100\r\nheight=100\r\nurl=about:blank\r\n"
      "[link2]\r\ntype=4\r\nx=200\r\ny=100\r\nwidth=150\r\nheight=120\r\nurl=about:blank\r\n";
  LauncherProcess launcher(LoginSkin(links));
  const LoginPair pair = FindPair(launcher);
  ASSERT_NE(pair.companion, nullptr) << launcher.Describe();
  EXPECT_NE(GetDlgItem(pair.companion, 150), nullptr);
  EXPECT_NE(GetDlgItem(pair.companion, 151), nullptr);
  POINT inSecond{275, 160}, inFirst{60, 60};  // the fill is the last area's rectangle
  ClientToScreen(pair.companion, &inSecond);
  ClientToScreen(pair.companion, &inFirst);
  EXPECT_TRUE(testkit::ScreenShows(inSecond, RGB(255, 0, 0)));
  EXPECT_TRUE(testkit::ScreenShows(inFirst, RGB(128, 128, 128)));  // the background picture
}

// The background's own alpha, pixel by pixel, as a player sees it over a
// window of a known colour: blended over it where a compositing manager
// runs, as on every desktop since Windows Vista. Without one (Wine on a bare
// X display), a pixel shows its premultiplied colour as if over black, and
// only a fully transparent one lets the window behind through.
TEST(LoginWindow, TheBackgroundsAlphaBlendsOverWhatLiesBehindThePair) {
  // A close button in the top left corner, away from where the stripes are read.
  const std::string closeButtonOnly = "linkCount=1\r\n[link1]\r\ntype=3\r\nx=0\r\ny=0\r\n";
  constexpr COLORREF kBehind = RGB(255, 255, 0);
  constexpr int kR = 40, kG = 120, kB = 255;
  constexpr int kAlphas[] = {255, 192, 128, 64, 0};
  constexpr int kStripe = kWidth / 5;
  const testkit::Backdrop backdrop(kBehind);
  const Bytes picture = testkit::RgbaPng(
      kWidth, kHeight, [&](int x, int) { return std::uint32_t(kAlphas[x / kStripe]) << 24 | kR << 16 | kG << 8 | kB; });
  LauncherProcess launcher(
      LoginSkin(closeButtonOnly, "client://loadgame|", std::string(picture.begin(), picture.end())));
  const LoginPair pair = FindPair(launcher);
  ASSERT_NE(pair.companion, nullptr) << launcher.Describe();
  const char* composited = std::getenv("LAUNCHER_WINE_COMPOSITED");
  const bool blended = composited != nullptr && std::string(composited) == "1";
  // The picture covers the whole window, from its top left corner.
  const RECT shownAt = testkit::WindowRect(pair.background);
  for (int stripe = 0; stripe < 5; ++stripe) {
    const int a = kAlphas[stripe];
    // One channel of the picture over one of the window behind.
    const auto shown = [&](int picture, int behind) {
      return blended ? (picture * a + behind * (255 - a) + 127) / 255 : a == 0 ? behind : (picture * a + 127) / 255;
    };
    const COLORREF expected =
        RGB(shown(kR, GetRValue(kBehind)), shown(kG, GetGValue(kBehind)), shown(kB, GetBValue(kBehind)));
    const POINT at{shownAt.left + stripe * kStripe + kStripe / 2, shownAt.top + kHeight / 2};
    EXPECT_TRUE(testkit::ScreenShows(at, expected, 2)) << "alpha " << a << (blended ? ", composited" : "");
  }
}

// After a hand-over the login window is gone and the game window is made
// over the work area. This skin has no sprite sheet, so the game window's
// set-up stops at its picture, with the image message, and the window stays.
static bool GameWindowFollows(LauncherProcess& launcher) {
  const auto box = launcher.WaitForMessageBox();
  if (!box.has_value() || box->text != texts::kReadImageFailed) return false;
  box->Press(IDOK);
  const RECT work = testkit::WorkArea();
  auto isGame = [&](HWND w) { return testkit::WindowText(w) == "Login Test" && testkit::WindowRect(w) == work; };
  if (launcher.WaitForWindow(isGame) == nullptr) return false;
  const auto windows = launcher.Windows();
  return std::all_of(windows.begin(), windows.end(), isGame);
}

// One html area, at `url`, and a close button whose handling marks what the
// window has done.
static std::string LinkTo(const std::string& url) {
  return "linkCount=2\r\n[link1]\r\ntype=4\r\nx=10\r\ny=10\r\nwidth=100\r\nheight=100\r\nurl=" + url +
         "\r\n[link2]\r\ntype=3\r\nx=350\r\ny=10\r\n";
}

TEST(LoginWindow, NavigationToTheGameHeaderHandsOverAWebPageAndCloses) {
  LauncherProcess launcher(LoginSkin(LinkTo("client://loadgame|http://127.0.0.1:9/game.html")));
  EXPECT_TRUE(GameWindowFollows(launcher)) << launcher.Describe();

  // The same page under another header, and addresses after the header
  // that are not web pages, leave the login window where it is: no game
  // window (whose set-up would show the image message) comes.
  const std::pair<std::string, std::string> stay[] = {
      {"client://loadgame|http://127.0.0.1:9/game.html", "client://loadgame/"},
      {"client://loadgame|javascript:alert(1)", "client://loadgame|"},
      {"client://loadgame|file:///C:/windows/win.ini", "client://loadgame|"},
  };
  // The page's browser navigates to its address as it is made, and the
  // window acts on the navigation then: once the browser is there and what
  // was posted after it is handled, a hand-over would have closed the pair.
  for (const auto& [url, header] : stay) {
    LauncherProcess stays(LoginSkin(LinkTo(url), header));
    const LoginPair pair = FindPair(stays);
    ASSERT_NE(pair.companion, nullptr) << url;
    EXPECT_TRUE(testkit::PumpUntil([&] { return GetDlgItem(pair.companion, 150) != nullptr; }, 30000)) << url;
    EXPECT_TRUE(Survives(pair)) << url << stays.Describe();
    EXPECT_FALSE(stays.WaitForMessageBox(0).has_value()) << url << stays.Describe();
  }

  // An empty header hands over the first web page, never about:blank.
  for (int run = 0; run < 3; ++run) {
    LauncherProcess empty(LoginSkin(LinkTo("http://127.0.0.1:9/game.html"), ""));
    EXPECT_TRUE(GameWindowFollows(empty)) << run << empty.Describe();
  }
}

// A pair of 0 x 0 is never painted: its login page is loaded all the same,
// and hands the game over.
TEST(LoginWindow, APairOfNoSizeLoadsItsPageAndHandsTheGameOver) {
  const std::string header = "client://loadgame|";
  LauncherProcess launcher(LoginSkin(LinkTo(header + "http://127.0.0.1:9/game.html"), header, "not a picture"));
  EXPECT_TRUE(GameWindowFollows(launcher)) << launcher.Describe();
}
