#include <exdisp.h>
#include <ocidl.h>

#include "browser/client_call_win.h"
#include "browser/web_browser_ex_win.h"
#include "browser/web_ui_controller_win.h"
#include "browser_fixture.h"
#include "fake_browser_objects.h"
#include "win/com_ptr.h"

namespace {

class UiController : public BrowserFixture {};

// The count an object holds now, read without changing it.
IDispatch* EventFace(CWebUIController& controller) { return static_cast<IDispatch*>(&controller); }
IDocHostUIHandler* UiFace(CWebUIController& controller) { return static_cast<IDocHostUIHandler*>(&controller); }

// A NavigateComplete2 as the control fires it: the window object and the
// address by reference, listed last to first.
class NavigateComplete {
 public:
  explicit NavigateComplete(IDispatch* window) {
    VariantInit(&url_);
    args_[0].vt = VT_BYREF | VT_VARIANT;
    args_[0].pvarVal = &url_;
    args_[1].vt = VT_DISPATCH;
    args_[1].pdispVal = window;
  }
  DISPPARAMS* Params() { return &params_; }
  HRESULT SendTo(CWebUIController& controller) {
    return EventFace(controller)
        ->Invoke(CWebUIController::kNavigateComplete2, IID_NULL, 0, DISPATCH_METHOD, &params_, nullptr, nullptr,
                 nullptr);
  }

 private:
  VARIANT url_;
  VARIANT args_[2]{};
  DISPPARAMS params_{args_, nullptr, 2, 0};
};

// A page window object showing a document that takes a UI handler.
struct FakePage {
  explicit FakePage(bool customisable = true)
      : document(win::ComPtr<IDispatch>::Adopt(CreateFakeDocument(nullptr, customisable))),
        window(win::ComPtr<IDispatch>::Adopt(CreateFakeWindow(document.Get()))) {}
  IUnknown* Handler() const { return FakeDocumentUiHandler(document.Get()); }
  win::ComPtr<IDispatch> document;
  win::ComPtr<IDispatch> window;
};

IDispatch* const kGarbage = reinterpret_cast<IDispatch*>(0x1234);

}  // namespace

TEST(UiControllerFaces, QueryInterfaceHandsOutTheFaceOfEachInterface) {
  CWebUIController controller;
  struct Case {
    const char* name;
    const IID& iid;
    void* face;
  } cases[] = {
      {"DWebBrowserEvents2", DIID_DWebBrowserEvents2, EventFace(controller)},
      {"IDispatch", IID_IDispatch, EventFace(controller)},
      {"IDocHostUIHandler", __uuidof(IDocHostUIHandler), UiFace(controller)},
      {"IUnknown", IID_IUnknown, UiFace(controller)},
      {"IOleClientSite", IID_IOleClientSite, nullptr},
      {"IDocHostUIHandler2", __uuidof(IDocHostUIHandler2), nullptr},
  };
  for (const Case& c : cases) {
    for (IUnknown* asked :
         {static_cast<IUnknown*>(EventFace(controller)), static_cast<IUnknown*>(UiFace(controller))}) {
      void* object = kGarbage;
      const ULONG before = CountOf(asked);
      EXPECT_EQ(asked->QueryInterface(c.iid, &object), c.face != nullptr ? S_OK : E_NOINTERFACE) << c.name;
      EXPECT_EQ(object, c.face) << c.name;
      EXPECT_EQ(CountOf(asked), before + (c.face != nullptr ? 1 : 0)) << c.name;
      if (object != nullptr) static_cast<IUnknown*>(object)->Release();
    }
  }
}

TEST(UiControllerFaces, CountingNeverFreesAndStopsAtZero) {
  CWebUIController controller;
  EXPECT_EQ(EventFace(controller)->AddRef(), 1u);
  EXPECT_EQ(UiFace(controller)->AddRef(), 2u);  // one count for both faces
  EXPECT_EQ(EventFace(controller)->Release(), 1u);
  EXPECT_EQ(UiFace(controller)->Release(), 0u);
  EXPECT_EQ(UiFace(controller)->Release(), 0u);
  EXPECT_EQ(UiFace(controller)->ShowContextMenu(0, nullptr, nullptr, nullptr), S_OK);  // still there
}

TEST(UiControllerFaces, UiHandlerShowsNoMenuAndLeavesEverythingElseToTheControl) {
  CWebUIController controller;
  IDocHostUIHandler* handler = UiFace(controller);
  POINT point{5, 5};
  EXPECT_EQ(handler->ShowContextMenu(CONTEXT_MENU_DEFAULT, &point, nullptr, nullptr), S_OK);
  MSG key{};
  key.message = WM_KEYDOWN;
  key.wParam = VK_TAB;
  RECT border{};
  EXPECT_EQ(handler->ShowUI(0, nullptr, nullptr, nullptr, nullptr), E_NOTIMPL);
  EXPECT_EQ(handler->HideUI(), E_NOTIMPL);
  EXPECT_EQ(handler->UpdateUI(), E_NOTIMPL);
  EXPECT_EQ(handler->EnableModeless(TRUE), E_NOTIMPL);
  EXPECT_EQ(handler->OnDocWindowActivate(TRUE), E_NOTIMPL);
  EXPECT_EQ(handler->OnFrameWindowActivate(TRUE), E_NOTIMPL);
  EXPECT_EQ(handler->ResizeBorder(&border, nullptr, TRUE), E_NOTIMPL);
  EXPECT_EQ(handler->TranslateAccelerator(&key, nullptr, 0), E_NOTIMPL);

  // Declined requests hand out nothing.
  LPOLESTR keyPath = reinterpret_cast<LPOLESTR>(kGarbage);
  EXPECT_EQ(handler->GetOptionKeyPath(&keyPath, 0), E_NOTIMPL);
  EXPECT_EQ(keyPath, nullptr);
  IDropTarget* drop = reinterpret_cast<IDropTarget*>(kGarbage);
  EXPECT_EQ(handler->GetDropTarget(nullptr, &drop), E_NOTIMPL);
  EXPECT_EQ(drop, nullptr);
  LPWSTR translated = reinterpret_cast<LPWSTR>(kGarbage);
  wchar_t url[] = L"http://a/";
  EXPECT_EQ(handler->TranslateUrl(0, url, &translated), E_NOTIMPL);
  EXPECT_EQ(translated, nullptr);
  IDataObject* data = reinterpret_cast<IDataObject*>(kGarbage);
  EXPECT_EQ(handler->FilterDataObject(nullptr, &data), E_NOTIMPL);
  EXPECT_EQ(data, nullptr);
}

TEST(UiControllerFaces, HostInfoAddsOnlyTheFlagsOfWhatIsSwitchedOff) {
  struct Case {
    bool border, scrollbars;
    DWORD flags;
  } cases[] = {
      {true, true, DOCHOSTUIFLAG_DIALOG},
      {false, true, DOCHOSTUIFLAG_DIALOG | DOCHOSTUIFLAG_NO3DBORDER},
      {true, false, DOCHOSTUIFLAG_DIALOG | DOCHOSTUIFLAG_SCROLL_NO},
      {false, false, DOCHOSTUIFLAG_DIALOG | DOCHOSTUIFLAG_NO3DBORDER | DOCHOSTUIFLAG_SCROLL_NO},
  };
  for (const Case& c : cases) {
    CWebUIController controller;
    controller.SetShow3dBorder(c.border);
    controller.SetShowScrollbars(c.scrollbars);
    DOCHOSTUIINFO info{};
    info.cbSize = sizeof info;
    info.dwFlags = DOCHOSTUIFLAG_DIALOG;
    info.dwDoubleClick = DOCHOSTUIDBLCLK_SHOWCODE;
    EXPECT_EQ(UiFace(controller)->GetHostInfo(&info), S_OK);
    EXPECT_EQ(info.dwFlags, c.flags) << c.border << c.scrollbars;
    EXPECT_EQ(info.cbSize, sizeof info);
    EXPECT_EQ(info.dwDoubleClick, static_cast<DWORD>(DOCHOSTUIDBLCLK_SHOWCODE));
    EXPECT_EQ(UiFace(controller)->GetHostInfo(nullptr), S_OK);
  }
}

// A skin that takes the display's scale tells the engine so; others leave
// the flag to the engine, as they always did.
TEST(UiControllerFaces, HostInfoSaysDpiAwareOnlyForAHostThatIs) {
  for (bool aware : {false, true}) {
    CWebUIController controller;
    controller.SetShow3dBorder(false);
    controller.SetShowScrollbars(false);
    controller.SetDpiAware(aware);
    DOCHOSTUIINFO info{};
    info.cbSize = sizeof info;
    EXPECT_EQ(UiFace(controller)->GetHostInfo(&info), S_OK);
    const DWORD always = DOCHOSTUIFLAG_NO3DBORDER | DOCHOSTUIFLAG_SCROLL_NO;
    EXPECT_EQ(info.dwFlags, aware ? always | DOCHOSTUIFLAG_DPI_AWARE : always) << aware;
  }
}

TEST(UiControllerFaces, ExternalIsTheHostsObjectOrNone) {
  CWebUIController controller;
  IDispatch* external = kGarbage;
  EXPECT_EQ(UiFace(controller)->GetExternal(&external), E_NOTIMPL);
  EXPECT_EQ(external, nullptr);

  GameDialogCallback bridge(nullptr);
  controller.SetExternalObject(&bridge);
  const ULONG before = CountOf(&bridge);
  EXPECT_EQ(UiFace(controller)->GetExternal(&external), S_OK);
  EXPECT_EQ(external, &bridge);
  // Handed out as an out parameter: the page's engine releases it.
  EXPECT_EQ(CountOf(&bridge), before + 1);
  external->Release();

  controller.SetExternalObject(nullptr);
  EXPECT_EQ(UiFace(controller)->GetExternal(&external), E_NOTIMPL);
  EXPECT_EQ(UiFace(controller)->GetExternal(nullptr), E_POINTER);
}

TEST(UiControllerFaces, EventFaceHasNoTypeInformationOrNames) {
  CWebUIController controller;
  UINT count = 7;
  ITypeInfo* info = reinterpret_cast<ITypeInfo*>(kGarbage);
  wchar_t name[] = L"NavigateComplete2";
  LPOLESTR names[] = {name};
  DISPID id = 0;
  EXPECT_EQ(EventFace(controller)->GetTypeInfoCount(&count), E_NOTIMPL);
  EXPECT_EQ(EventFace(controller)->GetTypeInfo(0, 0, &info), E_NOTIMPL);
  EXPECT_EQ(info, nullptr);
  EXPECT_EQ(EventFace(controller)->GetIDsOfNames(IID_NULL, names, 1, 0, &id), E_NOTIMPL);
}

TEST(UiControllerFaces, EventsOtherThanNavigateCompleteAreAnsweredAndIgnored) {
  CWebUIController controller;
  FakePage page;
  NavigateComplete event(page.window.Get());
  for (DISPID other : {250, 259, 271, 0}) {
    EXPECT_EQ(
        EventFace(controller)->Invoke(other, IID_NULL, 0, DISPATCH_METHOD, event.Params(), nullptr, nullptr, nullptr),
        S_OK)
        << other;
  }
  EXPECT_EQ(page.Handler(), nullptr);
  EXPECT_EQ(EventFace(controller)->Invoke(250, IID_NULL, 0, DISPATCH_METHOD, nullptr, nullptr, nullptr, nullptr),
            E_INVALIDARG);
}

TEST(UiControllerFaces, MalformedNavigateCompleteIsRefused) {
  CWebUIController controller;
  FakePage page;
  VARIANT window;
  window.vt = VT_DISPATCH;
  window.pdispVal = page.window.Get();
  VARIANT number;
  number.vt = VT_I4;
  number.lVal = 1;
  VARIANT windowFirst[2] = {window, number};  // entry 1 is not the window
  VARIANT one[1] = {window};
  struct Case {
    const char* name;
    DISPPARAMS params;
  } cases[] = {
      {"no arguments", {nullptr, nullptr, 0, 0}},
      {"one argument", {one, nullptr, 1, 0}},
      {"entry 1 not a window", {windowFirst, nullptr, 2, 0}},
      {"count without entries", {nullptr, nullptr, 2, 0}},
  };
  for (Case& c : cases) {
    EXPECT_EQ(EventFace(controller)
                  ->Invoke(CWebUIController::kNavigateComplete2, IID_NULL, 0, DISPATCH_METHOD, &c.params, nullptr,
                           nullptr, nullptr),
              E_INVALIDARG)
        << c.name;
  }
  EXPECT_EQ(EventFace(controller)
                ->Invoke(CWebUIController::kNavigateComplete2, IID_NULL, 0, DISPATCH_METHOD, nullptr, nullptr, nullptr,
                         nullptr),
            E_INVALIDARG);
  EXPECT_EQ(page.Handler(), nullptr);
}

TEST(UiControllerFaces, NavigateCompleteInstallsTheHandlerIntoThatWindowsDocument) {
  CWebUIController controller;
  controller.SetShowScrollbars(false);
  controller.SetShow3dBorder(false);
  FakePage page;
  FakePage frame;
  EXPECT_EQ(NavigateComplete(page.window.Get()).SendTo(controller), S_OK);
  EXPECT_EQ(page.Handler(), UiFace(controller));
  EXPECT_EQ(frame.Handler(), nullptr);

  // A frame's own completion reaches the frame's document.
  EXPECT_EQ(NavigateComplete(frame.window.Get()).SendTo(controller), S_OK);
  EXPECT_EQ(frame.Handler(), UiFace(controller));

  // What the frame's document now hears from its handler.
  auto handler = win::QueryInterfaceOf<IDocHostUIHandler>(frame.Handler());
  ASSERT_TRUE(handler);
  DOCHOSTUIINFO info{};
  info.cbSize = sizeof info;
  EXPECT_EQ(handler->GetHostInfo(&info), S_OK);
  EXPECT_EQ(info.dwFlags, static_cast<DWORD>(DOCHOSTUIFLAG_NO3DBORDER | DOCHOSTUIFLAG_SCROLL_NO));
}

TEST(UiControllerFaces, WindowsWithoutACustomisableDocumentAreLeftAlone) {
  CWebUIController controller;
  FakePage plain(false);
  const auto empty = win::ComPtr<IDispatch>::Adopt(CreateFakeWindow(nullptr));
  GameDialogCallback notAWindow(nullptr);
  EXPECT_EQ(NavigateComplete(plain.window.Get()).SendTo(controller), S_OK);
  EXPECT_EQ(NavigateComplete(empty.Get()).SendTo(controller), S_OK);
  EXPECT_EQ(NavigateComplete(&notAWindow).SendTo(controller), S_OK);
  EXPECT_EQ(NavigateComplete(nullptr).SendTo(controller), S_OK);
  EXPECT_EQ(plain.Handler(), nullptr);
}

TEST_F(UiController, AttachConnectsToTheHostsControlEvents) {
  CWebBrowserEx browser;
  EXPECT_FALSE(browser.AttachUiController(false));  // no control yet
  ASSERT_TRUE(browser.Create("", WS_CHILD, RECT{0, 0, 200, 100}, Parent(), 170));
  CWebUIController& controller = browser.UiController();
  EXPECT_EQ(CountOf(EventFace(controller)), 0u);

  ASSERT_TRUE(browser.AttachUiController(false));
  const auto control = win::QueryInterfaceOf<IWebBrowser2>(browser.GetControlUnknown());
  EXPECT_EQ(controller.ConnectedBrowser(), control.Get());
  ASSERT_NE(controller.AdviseCookie(), 0u);
  EXPECT_EQ(CountOf(EventFace(controller)), 1u);  // held by the control's connection point

  // The cookie is the controller's live connection.
  const auto container = win::QueryInterfaceOf<IConnectionPointContainer>(browser.GetControlUnknown());
  win::ComPtr<IConnectionPoint> point;
  ASSERT_TRUE(SUCCEEDED(container->FindConnectionPoint(DIID_DWebBrowserEvents2, point.Put())));
  EXPECT_EQ(point->Unadvise(controller.AdviseCookie()), S_OK);
  EXPECT_EQ(CountOf(EventFace(controller)), 0u);
}

TEST_F(UiController, ASecondAttachFirstTakesDownTheFirstConnection) {
  CWebBrowserEx browser;
  ASSERT_TRUE(browser.Create("", WS_CHILD, RECT{0, 0, 200, 100}, Parent(), 170));
  ASSERT_TRUE(browser.AttachUiController(false));
  ASSERT_TRUE(browser.AttachUiController(false));
  EXPECT_NE(browser.UiController().AdviseCookie(), 0u);
  EXPECT_EQ(CountOf(EventFace(browser.UiController())), 1u);
}

TEST_F(UiController, AttachAlwaysDropsTheBorderAndDropsScrollbarsOnRequest) {
  struct Case {
    bool showScrollbars;
    DWORD flags;
  } cases[] = {
      {false, DOCHOSTUIFLAG_NO3DBORDER | DOCHOSTUIFLAG_SCROLL_NO},
      {true, DOCHOSTUIFLAG_NO3DBORDER},
  };
  for (const Case& c : cases) {
    CWebBrowserEx browser;
    ASSERT_TRUE(browser.Create("", WS_CHILD, RECT{0, 0, 200, 100}, Parent(), 170));
    ASSERT_TRUE(browser.AttachUiController(c.showScrollbars));
    DOCHOSTUIINFO info{};
    info.cbSize = sizeof info;
    UiFace(browser.UiController())->GetHostInfo(&info);
    EXPECT_EQ(info.dwFlags, c.flags) << c.showScrollbars;
  }
}

TEST_F(UiController, IsDisconnectedWhenTheHostWindowGoes) {
  CWebBrowserEx browser;
  ASSERT_TRUE(browser.Create("", WS_CHILD, RECT{0, 0, 200, 100}, Parent(), 170));
  ASSERT_TRUE(browser.AttachUiController(false));
  DestroyWindow(Parent());
  EXPECT_EQ(browser.UiController().ConnectedBrowser(), nullptr);
  EXPECT_EQ(browser.UiController().AdviseCookie(), 0u);
  EXPECT_EQ(CountOf(EventFace(browser.UiController())), 0u);
}
