// The login pair built in this process on a test skin.
#include <memory>
#include <optional>
#include <string>

#include "app/launcher_app.h"
#include "browser/browser_event_sink_win.h"
#include "browser/web_browser_win.h"
#include "game_fixture.h"
#include "login/login_rules.h"
#include "login/login_window_win.h"
#include "package/package_file_win.h"
#include "png_writer.h"
#include "update_test_server.h"
#include "win/text.h"
// After windows.h, which the fixture brings.
#include <exdisp.h>

#include <algorithm>
#include <functional>
#include <vector>

namespace {

// A working directory of more than 260 bytes for the scope: the update's
// paths cannot be built in it. Windows and Wine accept such a directory
// through the wide functions; the ANSI ones cannot report it.
class LongWorkingDirectory {
 public:
  explicit LongWorkingDirectory(const testkit::TempDir& base) {
    GetCurrentDirectoryW(MAX_PATH, previous_);
    std::wstring path(base.Path().begin(), base.Path().end());
    for (int i = 0; i < 6; ++i) {
      path += L"\\a-directory-name-of-fifty-characters-0123456789abc";
      CreateDirectoryW(path.c_str(), nullptr);
      made_.push_back(path);
    }
    entered_ = SetCurrentDirectoryW(path.c_str()) != FALSE;
  }
  ~LongWorkingDirectory() {
    SetCurrentDirectoryW(previous_);
    for (auto it = made_.rbegin(); it != made_.rend(); ++it) RemoveDirectoryW(it->c_str());
  }
  bool Entered() const { return entered_; }

 private:
  wchar_t previous_[MAX_PATH] = {};
  std::vector<std::wstring> made_;
  bool entered_ = false;
};

}  // namespace

TEST_F(GameWindowTest, AWorkingDirectoryTooLongForTheUpdateStillGivesTheWholeLoginWindow) {
  LoadSkin({.firstUrl = ""});
  testkit::TempDir base;
  LongWorkingDirectory directory(base);
  ASSERT_TRUE(directory.Entered());
  char ansi[MAX_PATH] = {};
  ASSERT_EQ(GetCurrentDirectoryA(sizeof ansi, ansi), 0u) << "the directory must be too long for the update";

  std::unique_ptr<PackagePicture> background;
  ASSERT_EQ(LoadPackagePicture(TestSkin().Package(), "config/main1.png", &background), LoadOutcome::kLoaded);
  CLauncherTranslucentDlg login(TestSkin(), std::move(background), nullptr);
  bool loginAreaMade = false;
  // The areas' browsers are made once the pair is on the screen.
  RunWhenReady(
      login,
      [&] {
        return login.Handle() != nullptr && IsWindowVisible(login.Handle()) && login.Companion() != nullptr &&
               GetDlgItem(login.Companion()->Handle(), kFirstHtmlAreaId) != nullptr;
      },
      [&] {
        loginAreaMade = login.Companion() != nullptr &&
                        GetDlgItem(login.Companion()->Handle(), kFirstHtmlAreaId) != nullptr;
        login.EndModal(IDOK);
      });
  login.DoModal();
  EXPECT_TRUE(loginAreaMade);
}

namespace {

// Hears the navigations of one browser as its owning window does, beside the
// window's own ear: once it has heard one, so has the window.
class NavigationEar : private IBrowserEventListener {
 public:
  explicit NavigationEar(const CWebBrowser& browser) : connected_(sink_.Connect(browser)) {}
  ~NavigationEar() { sink_.Disconnect(); }
  NavigationEar(const NavigationEar&) = delete;
  NavigationEar& operator=(const NavigationEar&) = delete;

  bool Connected() const { return connected_; }
  // Waits until a navigation to `url` has been reported.
  bool Heard(const std::string& url) {
    return testkit::PumpUntil([&] { return std::find(heard_.begin(), heard_.end(), url) != heard_.end(); });
  }

 private:
  void OnBeforeNavigate2(IDispatch*, std::wstring_view url) override { heard_.push_back(win::GbkFromWide(url)); }

  BrowserEventSink sink_{*this};
  bool connected_;
  std::vector<std::string> heard_;
};

}  // namespace

// The login page's navigation to the game header followed by a web address
// hands that address over and closes the window; the first navigation of
// the configured page already does. (Wine may report a navigation twice;
// each report hands over the same address.)
TEST_F(GameWindowTest, TheLoginPageHandsOverTheWebAddressAfterTheHeader) {
  const std::string header = testkit::GameSkinOptions{}.gameheader;
  const std::pair<std::string, std::string> cases[] = {
      {header + "http://game.example/s1?a=1&b=2", "http://game.example/s1?a=1&b=2"},
      {header + "HTTPS://game.example/", "HTTPS://game.example/"},
  };
  for (const auto& [url, address] : cases) {
    testkit::GameSkinOptions options;
    options.firstUrl = "";
    options.loginUrl = url;
    LoadSkin(options);
    std::unique_ptr<PackagePicture> background;
    ASSERT_EQ(LoadPackagePicture(TestSkin().Package(), "config/main1.png", &background), LoadOutcome::kLoaded);
    std::vector<std::string> handed;
    CLauncherTranslucentDlg login(TestSkin(), std::move(background),
                                  [&](const char* address) { handed.emplace_back(address); });
    const testkit::EndsWithin bound(login, 30000);
    login.DoModal();
    EXPECT_FALSE(handed.empty()) << url;
    for (const std::string& one : handed) EXPECT_EQ(one, address) << url;
  }
}

// Navigations that are no hand-over, heard by the window (a second ear on
// the same browser hears them too), leave it open with nothing handed over:
// what follows the header is no web page, the header is elsewhere or in
// other letters, nothing follows it, or the page is the second area's (151,
// which is not listened to). The first area's navigation to the header and a
// web page, last, hands over as ever.
TEST_F(GameWindowTest, NavigationsThatAreNoHandOverLeaveTheLoginWindowOpen) {
  const std::string header = testkit::GameSkinOptions{}.gameheader;
  testkit::GameSkinOptions options;
  options.firstUrl = "";
  options.secondLoginUrl = "about:blank";
  LoadSkin(options);
  std::unique_ptr<PackagePicture> background;
  ASSERT_EQ(LoadPackagePicture(TestSkin().Package(), "config/main1.png", &background), LoadOutcome::kLoaded);
  std::vector<std::string> handed;
  CLauncherTranslucentDlg login(TestSkin(), std::move(background),
                                [&](const char* address) { handed.emplace_back(address); });
  const auto browser = [&](int id) {
    return login.Companion() != nullptr
               ? dynamic_cast<CWebBrowser*>(win::Window::FromHandle(GetDlgItem(login.Companion()->Handle(), id)))
               : nullptr;
  };
  RunWhenReady(
      login, [&] { return browser(kFirstHtmlAreaId) != nullptr && browser(kFirstHtmlAreaId + 1) != nullptr; },
      [&] {
        NavigationEar first(*browser(kFirstHtmlAreaId)), second(*browser(kFirstHtmlAreaId + 1));
        ASSERT_TRUE(first.Connected() && second.Connected());
        const struct {
          std::string url;
          int area;
        } stays[] = {
            {header + "javascript:alert(1)", kFirstHtmlAreaId},
            {header + "file:///C:/windows/win.ini", kFirstHtmlAreaId},
            {"http://game.example/" + header + "http://x/", kFirstHtmlAreaId},
            {"TEST-GAME-HEADER|http://game.example/", kFirstHtmlAreaId},
            {header, kFirstHtmlAreaId},
            {header + "http://game.example/s2", kFirstHtmlAreaId + 1},
        };
        for (const auto& c : stays) {
          ASSERT_TRUE(browser(c.area)->Navigate(c.url.c_str())) << c.url;
          EXPECT_TRUE((c.area == kFirstHtmlAreaId ? first : second).Heard(c.url)) << c.url;
          EXPECT_TRUE(handed.empty()) << c.url;
          EXPECT_TRUE(login.IsRunningModal()) << c.url;
        }
        const std::string game = header + "http://game.example/s1";
        ASSERT_TRUE(browser(kFirstHtmlAreaId)->Navigate(game.c_str()));
        EXPECT_TRUE(first.Heard(game));
        EXPECT_FALSE(login.IsRunningModal()) << "the hand-over did not close the window";
      });
  login.DoModal();
  EXPECT_FALSE(handed.empty());
  for (const std::string& address : handed) EXPECT_EQ(address, "http://game.example/s1");
}

// The application keeps at most 255 bytes of the address, and never half
// of a GBK double-byte character.
TEST(LauncherApp, KeepsTheFirst255BytesOfTheGameAddressWithoutSplittingACharacter) {
  const std::string zhong = "\xD6\xD0";  // 中
  const struct {
    std::string address, stored;
  } cases[] = {
      {std::string(255, 'a'), std::string(255, 'a')},
      {std::string(256, 'a'), std::string(255, 'a')},
      {"", ""},
      {std::string(254, 'a') + zhong, std::string(254, 'a')},
      {std::string(253, 'a') + zhong + "b", std::string(253, 'a') + zhong},
  };
  for (const auto& c : cases) {
    App().SetGameAddress(c.address.c_str());
    EXPECT_EQ(App().GameAddress(), c.stored) << c.address.size();
  }
  App().SetGameAddress("");
}

namespace {

// A login skin of the test's own: a grey 400 x 300 background, the close
// button (link 1) and an address button (link 3) of 40 x 20 in red, and
// between them an html area (link 2) whose place is filled blue.
constexpr COLORREF kGrey = RGB(128, 128, 128), kRed = RGB(255, 0, 0), kBlue = RGB(0, 0, 255);
constexpr POINT kCloseAt{370, 20}, kAddressAt{40, 260}, kAreaAt{120, 135};
const std::string kLinks =
    "linkCount=3\r\n"
    "[link1]\r\ntype=3\r\nx=350\r\ny=10\r\n"
    "[link2]\r\ntype=4\r\nx=20\r\ny=60\r\nwidth=200\r\nheight=150\r\nurl=about:blank\r\n"
    "[link3]\r\ntype=1\r\nx=20\r\ny=250\r\nurl=about:blank\r\n";

// That skin with other `links` (every link up to the fifth has its red
// pictures), and with a background that does not decode, which gives a pair
// of 0 x 0, unless `readableBackground`.
class LoginSkinHoldings {
 public:
  explicit LoginSkinHoldings(const std::string& links = kLinks, bool readableBackground = true) {
    const std::string config =
        "[global]\r\ntitle=Order Test\r\nloginCenterColor=16711680\r\ngameheader=test-game-header|\r\n"
        "server=127.0.0.1\r\nport=9\r\nversionUrl=/version.txt\r\n" +
        links;
    auto png = [](int width, int height, std::uint32_t argb) {
      const testkit::Bytes bytes = testkit::RgbaPng(width, height, [argb](int, int) { return argb; });
      return std::string(bytes.begin(), bytes.end());
    };
    testkit::ZipBuilder zip;
    zip.Add("config/cg.txt", config)
        .Add("config/main1.png", readableBackground ? png(400, 300, 0xFF808080) : std::string("not a picture"));
    for (int n = 1; n <= 5; ++n) {
      zip.Add("config/" + std::to_string(n) + "_n.png", png(40, 20, 0xFFFF0000));
      zip.Add("config/" + std::to_string(n) + "_d.png", png(40, 20, 0xFF0000FF));
    }
    file_ = testkit::Concat({testkit::MakePeImage(), zip.Build()});
    loaded_ = package_.Open(file_) == PackageOpenResult::kOpened;
    IniDocument document;
    loaded_ = loaded_ && ReadConfigFile(&package_, &document, "config/cg.txt") == LoadOutcome::kLoaded &&
              BuildConfig(document, &config_);
  }
  bool Loaded() const { return loaded_; }
  Skin Get() { return Skin{&config_, &package_}; }

 private:
  testkit::Bytes file_;
  AttachedPackage package_;
  LauncherConfig config_;
  bool loaded_ = false;
};

POINT OnScreen(HWND window, POINT client) {
  ClientToScreen(window, &client);
  return client;
}

// What the login pair looked like at the moment its first browser's window
// was being made.
struct AtFirstBrowser {
  bool seen = false;
  bool backgroundVisible = false, companionVisible = false;
  bool buttonsVisible = false, nothingLeftToPaint = false;
  COLORREF closeButton = CLR_INVALID, addressButton = CLR_INVALID, area = CLR_INVALID;
};

AtFirstBrowser* watch = nullptr;

LRESULT CALLBACK WatchBrowserCreation(int code, WPARAM wParam, LPARAM lParam) {
  if (code == HCBT_CREATEWND && watch != nullptr && !watch->seen &&
      testkit::ClassName(reinterpret_cast<HWND>(wParam)) == "LauncherBrowserHost") {
    const HWND companion = reinterpret_cast<CBT_CREATEWNDA*>(lParam)->lpcs->hwndParent;
    const HWND close = GetDlgItem(companion, 203), address = GetDlgItem(companion, 201);
    watch->seen = true;
    watch->backgroundVisible = IsWindowVisible(GetWindow(companion, GW_OWNER)) != FALSE;
    watch->companionVisible = IsWindowVisible(companion) != FALSE;
    watch->buttonsVisible = close != nullptr && address != nullptr && IsWindowVisible(close) && IsWindowVisible(address);
    watch->nothingLeftToPaint = !GetUpdateRect(companion, nullptr, FALSE) && close != nullptr &&
                                !GetUpdateRect(close, nullptr, FALSE) && address != nullptr &&
                                !GetUpdateRect(address, nullptr, FALSE);
    const POINT closeAt = OnScreen(companion, kCloseAt), addressAt = OnScreen(companion, kAddressAt),
                areaAt = OnScreen(companion, kAreaAt);
    watch->closeButton = testkit::ScreenPixel(closeAt.x, closeAt.y);
    watch->addressButton = testkit::ScreenPixel(addressAt.x, addressAt.y);
    watch->area = testkit::ScreenPixel(areaAt.x, areaAt.y);
  }
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

// Runs the login pair on `skin` until `ready` holds, then `steps`, which end it.
void RunLogin(const Skin& skin, const std::function<bool(CLauncherTranslucentDlg&)>& ready,
              const std::function<void(CLauncherTranslucentDlg&)>& steps) {
  std::unique_ptr<PackagePicture> background;
  ASSERT_EQ(LoadPackagePicture(skin.Package(), "config/main1.png", &background), LoadOutcome::kLoaded);
  CLauncherTranslucentDlg login(skin, std::move(background), nullptr);
  RunWhenReady(
      login, [&] { return ready(login); },
      [&] {
        steps(login);
        if (login.IsRunningModal()) login.EndModal(IDCANCEL);
      });
  login.DoModal();
}

// Makes every WebBrowser control fail to be created in this process while
// it is in scope: the engine is missing.
class BrowserEngineMissing final : public IClassFactory {
 public:
  BrowserEngineMissing() {
    registered_ = SUCCEEDED(
        CoRegisterClassObject(CLSID_WebBrowser, this, CLSCTX_INPROC_SERVER, REGCLS_MULTIPLEUSE, &cookie_));
  }
  ~BrowserEngineMissing() {
    if (registered_) CoRevokeClassObject(cookie_);
  }
  bool Registered() const { return registered_; }
  int Requests() const { return requests_; }

  STDMETHODIMP QueryInterface(REFIID iid, void** out) override {
    if (iid != IID_IUnknown && iid != IID_IClassFactory) {
      *out = nullptr;
      return E_NOINTERFACE;
    }
    *out = static_cast<IClassFactory*>(this);
    return S_OK;
  }
  STDMETHODIMP_(ULONG) AddRef() override { return 2; }
  STDMETHODIMP_(ULONG) Release() override { return 1; }
  STDMETHODIMP CreateInstance(IUnknown*, REFIID, void** out) override {
    ++requests_;
    *out = nullptr;
    return CLASS_E_CLASSNOTAVAILABLE;
  }
  STDMETHODIMP LockServer(BOOL) override { return S_OK; }

 private:
  DWORD cookie_ = 0;
  bool registered_ = false;
  int requests_ = 0;
};

}  // namespace

// The player sees the finished login pair first: when the browser of the
// html area is being made, the pair is shown, its buttons are on the
// screen, nothing of it waits to be painted and the area's place shows the
// fill colour.
TEST_F(GameWindowTest, TheLoginPairIsOnTheScreenBeforeItsBrowserIsMade) {
  LoginSkinHoldings skin;
  ASSERT_TRUE(skin.Loaded());
  AtFirstBrowser seen;
  watch = &seen;
  const HHOOK hook = SetWindowsHookExA(WH_CBT, WatchBrowserCreation, nullptr, GetCurrentThreadId());
  ASSERT_NE(hook, nullptr);
  bool areaMade = false;
  RunLogin(
      skin.Get(),
      [&](CLauncherTranslucentDlg& login) {
        return login.Companion() != nullptr && GetDlgItem(login.Companion()->Handle(), kFirstHtmlAreaId) != nullptr;
      },
      [&](CLauncherTranslucentDlg&) { areaMade = true; });
  UnhookWindowsHookEx(hook);
  watch = nullptr;
  ASSERT_TRUE(areaMade);
  ASSERT_TRUE(seen.seen);
  EXPECT_TRUE(seen.backgroundVisible);
  EXPECT_TRUE(seen.companionVisible);
  EXPECT_TRUE(seen.buttonsVisible);
  EXPECT_TRUE(seen.nothingLeftToPaint);
  EXPECT_EQ(seen.closeButton, kRed);
  EXPECT_EQ(seen.addressButton, kRed);
  EXPECT_EQ(seen.area, kBlue);
}

// A browser that cannot be made stops the links after it, as a failed link
// always does: the address button after the area, already shown, is
// removed again; the close button before it stays, and with no area made
// nothing is filled.
TEST_F(GameWindowTest, ABrowserThatCannotBeMadeRemovesTheButtonsOfTheLinksAfterIt) {
  LoginSkinHoldings skin;
  ASSERT_TRUE(skin.Loaded());
  BrowserEngineMissing engine;
  ASSERT_TRUE(engine.Registered());
  bool looked = false;
  RunLogin(
      skin.Get(), [&](CLauncherTranslucentDlg&) { return engine.Requests() > 0; },
      [&](CLauncherTranslucentDlg& login) {
        looked = true;
        const HWND companion = login.Companion()->Handle();
        EXPECT_NE(GetDlgItem(companion, 203), nullptr);
        EXPECT_EQ(GetDlgItem(companion, 201), nullptr);
        EXPECT_EQ(GetDlgItem(companion, kFirstHtmlAreaId), nullptr);
        EXPECT_TRUE(testkit::ScreenShows(OnScreen(companion, kAreaAt), kGrey));  // the background, unfilled
        EXPECT_TRUE(testkit::ScreenShows(OnScreen(companion, kCloseAt), kRed));
      });
  EXPECT_TRUE(looked);
  EXPECT_EQ(engine.Requests(), 1);
}

namespace {

// The links' controls of the companion in their order among siblings, from
// the top: their identifiers.
std::vector<int> ChildOrder(HWND companion) {
  std::vector<int> ids;
  for (HWND child = GetWindow(companion, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT))
    ids.push_back(GetDlgCtrlID(child));
  return ids;
}

}  // namespace

// Each area's browser lies among the links' controls where link order puts
// it, although it is made after them: below the controls of the links before
// it, above those after it. Where they overlap, the upper one takes the
// clicks once the page is shown.
TEST_F(GameWindowTest, EachBrowserTakesItsPlaceAmongTheLinksInLinkOrder) {
  struct Case {
    std::string links;
    std::vector<int> order;
    std::vector<std::pair<POINT, int>> topAt;  // a point of the companion and the control on top there
  } cases[] = {
      // A close button over the area's top-left, the area, an address
      // button over its middle.
      {"linkCount=3\r\n"
       "[link1]\r\ntype=3\r\nx=30\r\ny=70\r\n"
       "[link2]\r\ntype=4\r\nx=20\r\ny=60\r\nwidth=200\r\nheight=150\r\nurl=about:blank\r\n"
       "[link3]\r\ntype=1\r\nx=100\r\ny=150\r\nurl=about:blank\r\n",
       {203, 150, 201},
       {{{35, 75}, 203}, {{105, 155}, 150}, {{25, 65}, 150}}},
      // Two overlapping areas first, then a close button over both.
      {"linkCount=3\r\n"
       "[link1]\r\ntype=4\r\nx=20\r\ny=60\r\nwidth=200\r\nheight=150\r\nurl=about:blank\r\n"
       "[link2]\r\ntype=4\r\nx=100\r\ny=100\r\nwidth=200\r\nheight=150\r\nurl=about:blank\r\n"
       "[link3]\r\ntype=3\r\nx=150\r\ny=120\r\n",
       {150, 151, 203},
       {{{155, 125}, 150}, {{250, 200}, 151}}},
  };
  for (const Case& c : cases) {
    LoginSkinHoldings skin(c.links);
    ASSERT_TRUE(skin.Loaded());
    const int lastArea = c.order[0] == 150 ? 151 : 150;
    bool looked = false;
    RunLogin(
        skin.Get(),
        [&](CLauncherTranslucentDlg& login) {
          return login.Companion() != nullptr && GetDlgItem(login.Companion()->Handle(), lastArea) != nullptr;
        },
        [&](CLauncherTranslucentDlg& login) {
          looked = true;
          const HWND companion = login.Companion()->Handle();
          EXPECT_EQ(ChildOrder(companion), c.order) << c.links;
          // The page shown, as its first completion shows every area.
          for (int id : {150, 151})
            if (const HWND area = GetDlgItem(companion, id)) ShowWindow(area, SW_SHOW);
          for (const auto& [at, id] : c.topAt)
            EXPECT_EQ(GetDlgCtrlID(ChildWindowFromPointEx(companion, at, CWP_SKIPINVISIBLE)), id)
                << at.x << "," << at.y << " " << c.links;
        });
    EXPECT_TRUE(looked);
  }
}

// A pair started minimised, or of no size (a background whose size cannot be
// read), is never painted: its areas' browsers are made and the login page
// asked for all the same.
TEST_F(GameWindowTest, TheLoginPageLoadsInAPairThatIsNeverPainted) {
  testkit::UpdateTestServer server;
  ASSERT_TRUE(server.Started());
  struct Case {
    std::string path;
    bool minimised, readableBackground;
  } cases[] = {{"/started-minimised.html", true, true}, {"/of-no-size.html", false, false}};
  for (const Case& c : cases) {
    server.Serve(c.path, testkit::Route{200, testkit::Bytes{'<', 'p', '>'}});
    LoginSkinHoldings skin("linkCount=2\r\n"
                           "[link1]\r\ntype=3\r\nx=350\r\ny=10\r\n"
                           "[link2]\r\ntype=4\r\nx=20\r\ny=60\r\nwidth=200\r\nheight=150\r\nurl=" +
                               server.Url(c.path) + "\r\n",
                           c.readableBackground);
    ASSERT_TRUE(skin.Loaded());
    std::optional<StartedMinimised> minimised;
    if (c.minimised) {
      ASSERT_TRUE(minimised.emplace().Hooked());
    }
    PaintCount paints;
    ASSERT_TRUE(paints.Hooked());
    auto asked = [&] {
      for (const auto& request : server.Requests())
        if (request.path == c.path) return true;
      return false;
    };
    bool loaded = false;
    RunLogin(
        skin.Get(), [&](CLauncherTranslucentDlg&) { return asked(); },
        [&](CLauncherTranslucentDlg& login) {
          loaded = true;
          const HWND companion = login.Companion()->Handle();
          EXPECT_NE(GetDlgItem(companion, kFirstHtmlAreaId), nullptr) << c.path;
          EXPECT_EQ(paints.Of(login.Handle()), 0) << c.path;
          EXPECT_EQ(paints.Of(companion), 0) << c.path;
          if (c.minimised) {
            EXPECT_TRUE(IsIconic(login.Handle())) << c.path;
          }
          if (!c.readableBackground) {
            const RECT r = testkit::WindowRect(login.Handle());
            EXPECT_TRUE(r.right == r.left && r.bottom == r.top) << r;
          }
        });
    EXPECT_TRUE(loaded) << c.path;
  }
}

// In a skin that declares UTF-8 the configured login page, its game header
// and the address the page hands over keep their letters from the
// configuration through the browser and back: a header that differs from
// the page's address in one letter's encoding would never match.
TEST_F(GameWindowTest, TheLoginPageOfAUtf8SkinHandsOverAddressesInTheirLetters) {
  const std::string header = win::Utf8FromWide(L"tr\u00F2-ch\u01A1i|");
  const std::string address = win::Utf8FromWide(L"http://game.example/tr\u1EADn?t\u00EAn=\u0110\u1EE9c");
  testkit::GameSkinOptions options;
  options.firstUrl = "";
  options.extraGlobal = "textEncoding=utf-8\r\n";
  options.gameheader = header;
  options.loginUrl = header + address;
  LoadSkin(options);
  std::unique_ptr<PackagePicture> background;
  ASSERT_EQ(LoadPackagePicture(TestSkin().Package(), "config/main1.png", &background), LoadOutcome::kLoaded);
  std::vector<std::string> handed;
  CLauncherTranslucentDlg login(TestSkin(), std::move(background),
                                [&](const char* given) { handed.emplace_back(given); });
  const testkit::EndsWithin bound(login, 30000);
  login.DoModal();
  ASSERT_FALSE(handed.empty());
  for (const std::string& one : handed) EXPECT_EQ(one, address);
}

// In a UTF-8 skin the application keeps at most 255 bytes of the address
// and never part of a UTF-8 sequence.
TEST_F(GameWindowTest, TheApplicationKeepsAUtf8SkinsGameAddressInWholeLetters) {
  LoadAppSkin({.extraGlobal = "textEncoding=utf-8\r\n"});
  const std::string letter = "\xE1\xBB\x87";  // ệ
  const struct {
    std::string address, stored;
  } cases[] = {
      {std::string(252, 'a') + letter, std::string(252, 'a') + letter},
      {std::string(253, 'a') + letter, std::string(253, 'a')},
      {std::string(254, 'a') + letter + "b", std::string(254, 'a')},
  };
  for (const auto& c : cases) {
    App().SetGameAddress(c.address.c_str());
    EXPECT_EQ(App().GameAddress(), c.stored) << c.address.size();
  }
  App().SetGameAddress("");
  LoadAppSkin();  // GBK again, for what runs after in this process
}
