#include <exdisp.h>

#include <string>
#include <utility>
#include <vector>

#include "browser/browser_event_sink_win.h"
#include "browser/control_site_win.h"
#include "browser/web_browser_win.h"
#include "browser_fixture.h"
#include "win/com_ptr.h"

namespace {

class BrowserHost : public BrowserFixture {};

class RecordingListener : public IBrowserEventListener {
 public:
  std::vector<std::wstring> beforeNavigate;
  void OnBeforeNavigate2(IDispatch*, std::wstring_view url) override { beforeNavigate.emplace_back(url); }
};

// The window the control made for itself inside the host.
HWND ControlWindow(HWND host) { return GetWindow(host, GW_CHILD); }

// The count an object holds now, read without changing it.
std::pair<LONG, LONG> ClientSize(HWND window) {
  RECT rect{};
  GetClientRect(window, &rect);
  return {rect.right, rect.bottom};
}

// An address the control starts to load and fails at once: nothing listens
// on port 1.
constexpr char kUnreachable[] = "http://127.0.0.1:1/\xD3\xCE\xCF\xB7";  // .../游戏 in GBK
constexpr wchar_t kUnreachableWide[] = L"http://127.0.0.1:1/\u6E38\u620F";

}  // namespace

TEST_F(BrowserHost, CreatesTheControlInPlaceAsAChildOfTheOwner) {
  struct Case {
    const char* owner;
    DWORD style;
    UINT id;
    bool visible;
  } cases[] = {
      {"game window", WS_CHILD | WS_VISIBLE | 0x1000, 170, true},
      {"login window", WS_CHILD, 150, false},
  };
  for (const Case& c : cases) {
    CWebBrowser browser;
    const RECT rect{10, 20, 330, 260};
    ASSERT_TRUE(browser.Create("", c.style, rect, Parent(), c.id)) << c.owner;
    const HWND host = browser.Handle();
    EXPECT_EQ(GetParent(host), Parent()) << c.owner;
    EXPECT_EQ(GetDlgCtrlID(host), static_cast<int>(c.id)) << c.owner;
    EXPECT_EQ(static_cast<DWORD>(GetWindowLongA(host, GWL_STYLE)) & c.style, c.style) << c.owner;
    EXPECT_EQ(IsWindowVisible(host) != FALSE, c.visible) << c.owner;
    RECT placed{};
    GetWindowRect(host, &placed);
    MapWindowPoints(nullptr, Parent(), reinterpret_cast<POINT*>(&placed), 2);
    EXPECT_TRUE(EqualRect(&placed, &rect)) << c.owner;

    const HWND control = ControlWindow(host);
    ASSERT_NE(control, nullptr) << c.owner;
    EXPECT_EQ(ClientSize(control), ClientSize(host)) << c.owner;
    EXPECT_TRUE(win::QueryInterfaceOf<IWebBrowser2>(browser.GetControlUnknown())) << c.owner;
    // A hidden area shows its page once the owner shows it.
    ShowWindow(host, SW_SHOW);
    EXPECT_TRUE(IsWindowVisible(control)) << c.owner;
  }
}

TEST_F(BrowserHost, TheControlFollowsTheHostsSize) {
  CWebBrowser browser;
  ASSERT_TRUE(browser.Create("", WS_CHILD | WS_VISIBLE, RECT{0, 0, 100, 80}, Parent(), 170));
  MoveWindow(browser.Handle(), 5, 5, 300, 200, TRUE);
  EXPECT_EQ(ClientSize(ControlWindow(browser.Handle())), (std::pair<LONG, LONG>{300, 200}));
}

TEST_F(BrowserHost, FailedCreationLeavesNothingAndEveryCallFails) {
  CWebBrowser browser;
  // A child window needs a parent: the host window cannot be made.
  EXPECT_FALSE(browser.Create("", WS_CHILD, RECT{0, 0, 10, 10}, nullptr, 170));
  EXPECT_EQ(browser.Handle(), nullptr);
  EXPECT_EQ(browser.GetControlUnknown(), nullptr);
  EXPECT_FALSE(browser.Navigate("about:blank"));
  EXPECT_FALSE(browser.SetSilent(true));
  EXPECT_FALSE(browser.GetDocument());
}

TEST_F(BrowserHost, IsCreatedOnce) {
  CWebBrowser browser;
  ASSERT_TRUE(browser.Create("", WS_CHILD, RECT{0, 0, 10, 10}, Parent(), 150));
  const HWND first = browser.Handle();
  EXPECT_FALSE(browser.Create("", WS_CHILD, RECT{0, 0, 10, 10}, Parent(), 151));
  EXPECT_EQ(browser.Handle(), first);
  EXPECT_EQ(GetDlgCtrlID(first), 150);
}

TEST_F(BrowserHost, NavigateHandsTheAnsiAddressToTheControlAsUtf16) {
  CWebBrowser browser;
  ASSERT_TRUE(browser.Create("", WS_CHILD | WS_VISIBLE, RECT{0, 0, 200, 100}, Parent(), 170));
  RecordingListener listener;
  BrowserEventSink sink(listener);
  ASSERT_TRUE(sink.Connect(browser));
  // The control asks its listeners before it starts, inside the call.
  EXPECT_TRUE(browser.Navigate(kUnreachable));
  EXPECT_EQ(listener.beforeNavigate, std::vector<std::wstring>{kUnreachableWide});

  sink.Disconnect();
  EXPECT_TRUE(browser.Navigate(kUnreachable));
  EXPECT_EQ(listener.beforeNavigate.size(), 1u);
}

TEST_F(BrowserHost, SilentModeAndDocumentAreTheControlsOwn) {
  CWebBrowser browser;
  ASSERT_TRUE(browser.Create("", WS_CHILD, RECT{0, 0, 200, 100}, Parent(), 170));
  const auto control = win::QueryInterfaceOf<IWebBrowser2>(browser.GetControlUnknown());
  ASSERT_TRUE(control);
  for (bool silent : {true, false, true}) {
    EXPECT_TRUE(browser.SetSilent(silent));
    VARIANT_BOOL actual = silent ? VARIANT_FALSE : VARIANT_TRUE;
    ASSERT_TRUE(SUCCEEDED(control->get_Silent(&actual)));
    EXPECT_EQ(actual, silent ? VARIANT_TRUE : VARIANT_FALSE);
  }
  win::ComPtr<IDispatch> document;
  ASSERT_TRUE(SUCCEEDED(control->get_Document(document.Put())));
  EXPECT_EQ(browser.GetDocument().Get(), document.Get());
}

TEST_F(BrowserHost, TheControlGoesWithTheHostWindow) {
  HWND host = nullptr;
  HWND control = nullptr;
  {
    CWebBrowser browser;
    ASSERT_TRUE(browser.Create("", WS_CHILD | WS_VISIBLE, RECT{0, 0, 200, 100}, Parent(), 170));
    host = browser.Handle();
    control = ControlWindow(host);
  }
  EXPECT_FALSE(IsWindow(host));
  EXPECT_FALSE(IsWindow(control));
  EXPECT_TRUE(IsWindow(Parent()));
}

TEST_F(BrowserHost, AnOwnerDestroyedFirstTakesTheControlWithIt) {
  CWebBrowser browser;
  ASSERT_TRUE(browser.Create("", WS_CHILD | WS_VISIBLE, RECT{0, 0, 200, 100}, Parent(), 170));
  const HWND control = ControlWindow(browser.Handle());
  DestroyWindow(Parent());
  EXPECT_EQ(browser.Handle(), nullptr);
  EXPECT_FALSE(IsWindow(control));
  EXPECT_EQ(browser.GetControlUnknown(), nullptr);
  EXPECT_FALSE(browser.Navigate("about:blank"));
}

// What the control and its connection points ask of the host's own objects:
// each interface through the face that implements it, whichever face is
// asked, one count more for what was handed out; any other interface
// refused with the pointer cleared; no place for the answer refused before
// anything is written.
TEST_F(BrowserHost, SiteFrameAndSinkAnswerForTheirOwnInterfacesOnly) {
  ControlSite site(Parent());
  win::ComPtr<IOleInPlaceFrame> frame;
  win::ComPtr<IOleInPlaceUIWindow> document;
  RECT position{};
  RECT clip{};
  OLEINPLACEFRAMEINFO frameInfo{};
  frameInfo.cb = sizeof frameInfo;
  ASSERT_EQ(site.GetWindowContext(frame.Put(), document.Put(), &position, &clip, &frameInfo), S_OK);
  ASSERT_TRUE(frame);
  RecordingListener listener;
  BrowserEventSink sink(listener);

  IOleClientSite* const clientSite = &site;
  IOleInPlaceSite* const inPlaceSite = &site;
  IDispatch* const events = &sink;
  const std::vector<IUnknown*> siteFaces{clientSite, inPlaceSite};
  const std::vector<IUnknown*> frameFaces{frame.Get()};
  const std::vector<IUnknown*> sinkFaces{events};
  struct Case {
    const char* name;
    const std::vector<IUnknown*>& asked;
    const IID& iid;
    void* face;
  } cases[] = {
      {"site IUnknown", siteFaces, IID_IUnknown, clientSite},
      {"site IOleClientSite", siteFaces, IID_IOleClientSite, clientSite},
      {"site IOleWindow", siteFaces, IID_IOleWindow, inPlaceSite},
      {"site IOleInPlaceSite", siteFaces, IID_IOleInPlaceSite, inPlaceSite},
      {"site IOleInPlaceFrame", siteFaces, IID_IOleInPlaceFrame, nullptr},
      {"site IDispatch", siteFaces, IID_IDispatch, nullptr},
      {"frame IUnknown", frameFaces, IID_IUnknown, frame.Get()},
      {"frame IOleWindow", frameFaces, IID_IOleWindow, frame.Get()},
      {"frame IOleInPlaceUIWindow", frameFaces, IID_IOleInPlaceUIWindow, frame.Get()},
      {"frame IOleInPlaceFrame", frameFaces, IID_IOleInPlaceFrame, frame.Get()},
      {"frame IOleInPlaceSite", frameFaces, IID_IOleInPlaceSite, nullptr},
      {"sink IUnknown", sinkFaces, IID_IUnknown, events},
      {"sink IDispatch", sinkFaces, IID_IDispatch, events},
      {"sink DWebBrowserEvents2", sinkFaces, DIID_DWebBrowserEvents2, events},
      {"sink IOleClientSite", sinkFaces, IID_IOleClientSite, nullptr},
  };
  for (const Case& c : cases) {
    for (IUnknown* asked : c.asked) {
      void* object = reinterpret_cast<void*>(0x1234);
      const ULONG before = CountOf(asked);
      EXPECT_EQ(asked->QueryInterface(c.iid, &object), c.face != nullptr ? S_OK : E_NOINTERFACE) << c.name;
      EXPECT_EQ(object, c.face) << c.name;
      EXPECT_EQ(CountOf(asked), before + (c.face != nullptr ? 1 : 0)) << c.name;
      if (c.face != nullptr) asked->Release();
      EXPECT_EQ(asked->QueryInterface(c.iid, nullptr), E_POINTER) << c.name;
      EXPECT_EQ(CountOf(asked), before) << c.name;
    }
  }
}
