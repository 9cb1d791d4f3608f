#include <gtest/gtest.h>
#include <ocidl.h>

#include <atomic>
#include <optional>
#include <thread>
#include <vector>

#include "browser/client_call_win.h"
#include "browser/page_call_win.h"
#include "browser_fixture.h"
#include "script_page.h"
#include "win/com_object.h"
#include "win/variant.h"

namespace {

// Stands in for the game window: records each page command it is handed,
// as it arrives and as the launcher reads it.
class GameWindowDouble : public IPageCommandTarget {
 public:
  struct Received {
    PageCallBlock block;
    PageCommand command;
  };
  std::vector<Received> calls;

  void RunPageCommand(const DISPPARAMS* params) override {
    calls.push_back({ReadPageCallBlock(params), ReadPageCommand(params, "Game")});
  }
};

GameWindowDouble* runningWindow = nullptr;
IPageCommandTarget* RunningWindow() { return runningWindow; }

class ScriptBridge : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(SUCCEEDED(CoInitialize(nullptr)));
    runningWindow = &window;
  }
  void TearDown() override {
    runningWindow = nullptr;
    CoUninitialize();
  }

  GameWindowDouble window;
  GameDialogCallback bridge{&RunningWindow};
};

// Stands between the page and the bridge, where a browser puts nothing, to
// see each Invoke as the script engine sends it and what the bridge answers.
class InvokeWatch final : public win::DispatchObject<> {
 public:
  struct Seen {
    WORD flags;
    bool resultWanted;
    std::vector<VARTYPE> types;  // last argument first
    HRESULT answer;
  };
  std::vector<Seen> seen;

  explicit InvokeWatch(IDispatch* bridge) : DispatchObject(kAnswers), bridge_(bridge) {}

  STDMETHODIMP GetIDsOfNames(REFIID iid, LPOLESTR* names, UINT count, LCID locale, DISPID* ids) override {
    return bridge_->GetIDsOfNames(iid, names, count, locale, ids);
  }
  STDMETHODIMP Invoke(DISPID id, REFIID iid, LCID locale, WORD flags, DISPPARAMS* params, VARIANT* result,
                      EXCEPINFO* exception, UINT* argumentError) override {
    Seen call{flags, result != nullptr, {}, S_OK};
    for (UINT i = 0; params != nullptr && i < params->cArgs; ++i) call.types.push_back(params->rgvarg[i].vt);
    call.answer = bridge_->Invoke(id, iid, locale, flags, params, result, exception, argumentError);
    seen.push_back(call);
    return call.answer;
  }

 private:
  static constexpr win::ComAnswer kAnswers[] = {Answer<IDispatch>(IID_IUnknown), Answer<IDispatch>(IID_IDispatch)};

  IDispatch* bridge_;
};

}  // namespace

// Every way a page's script engine reaches JsCallClient, as Wine's JScript
// and VBScript send it: what Invoke receives, what the bridge answers and
// what the game window is asked to do (nothing, when it is not asked at all).
TEST_F(ScriptBridge, WhatScriptEnginesSendAndWhatTheLauncherDoes) {
  using Types = std::vector<VARTYPE>;
  using enum PageAction;
  constexpr auto kJs = ScriptLanguage::kJScript;
  constexpr auto kVbs = ScriptLanguage::kVBScript;
  constexpr WORD kCall = DISPATCH_METHOD;
  constexpr WORD kCallForResult = DISPATCH_METHOD | DISPATCH_PROPERTYGET;
  constexpr WORD kRead = DISPATCH_PROPERTYGET;
  constexpr WORD kAssign = DISPATCH_PROPERTYPUT;
  constexpr VARTYPE kText = VT_BSTR;
  constexpr VARTYPE kByRef = VT_BYREF | VT_VARIANT;
  constexpr HRESULT kRefused = DISP_E_MEMBERNOTFOUND;
  const std::optional<PageAction> kNotAsked;
  struct Case {
    ScriptLanguage language;
    const wchar_t* script;
    WORD flags;
    Types types;  // as Invoke receives them, last argument first
    HRESULT answer;
    std::optional<PageAction> action;
    std::u16string text = u"";  // for a title, the page's part after "Game-"
  } cases[] = {
      {kJs, L"external.JsCallClient('1')", kCall, {kText}, S_OK, kClose},
      {kJs, L"var r = external.JsCallClient('1')", kCallForResult, {kText}, S_OK, kClose},
      {kJs, L"external.JsCallClient()", kCall, {}, S_OK, kNone},
      {kJs, L"external.JsCallClient('2')", kCall, {kText}, S_OK, kRestartAndClose},
      {kJs, L"external.JsCallClient('4')", kCall, {kText}, S_OK, kNone},
      {kJs, L"external.JsCallClient('4', 5)", kCall, {VT_I4, kText}, S_OK, kNone},
      {kJs, L"external.JsCallClient('4', 'http://g/;')", kCall, {kText, kText}, S_OK, kSetButtonLink, u"http://g/;"},
      {kJs, L"external.JsCallClient('6', '')", kCall, {kText, kText}, S_OK, kSetTitle, u""},
      {kJs, L"external.JsCallClient('6', '\u533A\uAC00')", kCall, {kText, kText}, S_OK, kSetTitle, u"\u533A\uAC00"},
      {kJs, L"external.JsCallClient('6', 'a', 'b')", kCall, {kText, kText, kText}, S_OK, kSetTitle, u"a"},
      {kJs, L"external.JsCallClient('12')", kCall, {kText}, S_OK, kNone},
      // Script numbers are no codes.
      {kJs, L"external.JsCallClient(1)", kCall, {VT_I4}, S_OK, kNone},
      {kJs, L"external.JsCallClient(2.5)", kCall, {VT_R8}, S_OK, kNone},
      {kVbs, L"external.JsCallClient 1", kCall, {VT_I2}, S_OK, kNone},
      {kVbs, L"external.JsCallClient 40000", kCall, {VT_I4}, S_OK, kNone},
      // Reading the member runs nothing; assigning to it is refused.
      {kJs, L"var kind = typeof external.JsCallClient", kRead, {}, S_OK, kNotAsked},
      {kJs, L"if (external.JsCallClient) {}", kRead, {}, S_OK, kNotAsked},
      {kJs, L"external.JsCallClient = '1'", kAssign, {kText}, kRefused, kNotAsked},
      {kVbs, L"external.JsCallClient = \"1\"", kAssign, {kText}, kRefused, kNotAsked},
      // VBScript passes a variable by reference, a literal or a value in
      // parentheses by value: both give the same command.
      {kVbs, L"v = \"6\" : t = \"x\" : external.JsCallClient v, t", kCall, {kByRef, kByRef}, S_OK, kSetTitle, u"x"},
      {kVbs, L"external.JsCallClient \"6\", \"x\"", kCall, {kText, kText}, S_OK, kSetTitle, u"x"},
      {kVbs, L"v = \"1\" : Call external.JsCallClient(v)", kCall, {kByRef}, S_OK, kClose},
      {kVbs, L"v = \"1\" : external.JsCallClient (v)", kCall, {kText}, S_OK, kClose},
      {kVbs, L"r = external.JsCallClient(\"1\")", kCallForResult, {kText}, S_OK, kClose},
      {kVbs, L"v = 1 : external.JsCallClient v", kCall, {kByRef}, S_OK, kNone},
  };
  for (const Case& c : cases) {
    window.calls.clear();
    InvokeWatch watch(&bridge);
    ScriptPage page(&watch, c.language);
    ASSERT_TRUE(page.IsReady());
    // A refused assignment is the page's own error, raised by its engine.
    EXPECT_EQ(page.Run(c.script), SUCCEEDED(c.answer)) << c.script;
    ASSERT_EQ(watch.seen.size(), 1u) << c.script;
    const InvokeWatch::Seen& seen = watch.seen[0];
    EXPECT_EQ(seen.flags, c.flags) << c.script;
    // The engines ask for a result exactly when they read one.
    EXPECT_EQ(seen.resultWanted, (c.flags & DISPATCH_PROPERTYGET) != 0) << c.script;
    EXPECT_EQ(seen.types, c.types) << c.script;
    EXPECT_EQ(seen.answer, c.answer) << c.script;
    if (!c.action) {
      EXPECT_TRUE(window.calls.empty()) << c.script;
      continue;
    }
    ASSERT_EQ(window.calls.size(), 1u) << c.script;
    EXPECT_EQ(window.calls[0].command.action, *c.action) << c.script;
    EXPECT_TRUE(window.calls[0].command.text == c.text) << c.script;
  }
}

TEST_F(ScriptBridge, OtherMethodsFailInThePageAndNeverReachTheWindow) {
  for (const wchar_t* script : {L"external.Foo()", L"external.jscallclient('1')", L"external.JsCallClientX('1')"}) {
    ScriptPage page(&bridge);
    EXPECT_FALSE(page.Run(script)) << script;
    EXPECT_EQ(page.Errors().size(), 1u) << script;
  }
  EXPECT_TRUE(window.calls.empty());
}

TEST_F(ScriptBridge, JsCallClientReturnsNothingToThePage) {
  ScriptPage page(&bridge);
  ASSERT_TRUE(page.Run(L"var kind = typeof external.JsCallClient('6', 'x');"));
  EXPECT_EQ(page.GlobalText(L"kind"), L"undefined");
}

TEST_F(ScriptBridge, WithoutAGameWindowTheCallIsDroppedQuietly) {
  runningWindow = nullptr;
  ScriptPage page(&bridge);
  EXPECT_TRUE(page.Run(L"external.JsCallClient('1')"));
  EXPECT_TRUE(page.Errors().empty());
  EXPECT_TRUE(window.calls.empty());
}

TEST_F(ScriptBridge, KnowsExactlyOneNameWithIdentifierHundred) {
  struct Case {
    std::vector<const wchar_t*> names;
    HRESULT hr;
  } cases[] = {
      {{L"JsCallClient"}, S_OK},       {{L"JsCallClient", L"code"}, S_OK},
      {{L"jsCallClient"}, E_NOTIMPL},  {{L"JSCALLCLIENT"}, E_NOTIMPL},
      {{L"JsCallClient "}, E_NOTIMPL}, {{L""}, E_NOTIMPL},
      {{L"Foo"}, E_NOTIMPL},           {{}, E_NOTIMPL},
  };
  // Names after the first are not looked at, and get no identifier.
  for (const Case& c : cases) {
    std::vector<std::wstring> copies(c.names.begin(), c.names.end());
    std::vector<LPOLESTR> names;
    for (std::wstring& name : copies) names.push_back(name.data());
    DISPID ids[2] = {-5, -5};
    const UINT count = static_cast<UINT>(names.size());
    EXPECT_EQ(bridge.GetIDsOfNames(IID_NULL, names.empty() ? nullptr : names.data(), count, 0, ids), c.hr);
    EXPECT_EQ(ids[0], c.hr == S_OK ? GameDialogCallback::kJsCallClient : -5);
    EXPECT_EQ(ids[1], -5);
  }
  EXPECT_EQ(GameDialogCallback::kJsCallClient, 100);
}

TEST_F(ScriptBridge, InvokeAnswersSuccessAndNeverWritesTheResult) {
  VARIANT result;
  result.vt = VT_I4;
  result.lVal = 123;
  const win::Bstr one(L"1");
  VARIANT code;
  code.vt = VT_BSTR;
  code.bstrVal = one.Get();
  DISPPARAMS params{&code, nullptr, 1, 0};
  EXPECT_EQ(bridge.Invoke(101, IID_NULL, 0, DISPATCH_METHOD, &params, &result, nullptr, nullptr), S_OK);
  EXPECT_TRUE(window.calls.empty());
  EXPECT_EQ(bridge.Invoke(100, IID_NULL, 0, DISPATCH_METHOD, &params, &result, nullptr, nullptr), S_OK);
  EXPECT_EQ(bridge.Invoke(100, IID_NULL, 0, DISPATCH_METHOD, nullptr, &result, nullptr, nullptr), S_OK);
  ASSERT_EQ(window.calls.size(), 2u);
  EXPECT_EQ(window.calls[0].command.action, PageAction::kClose);
  EXPECT_TRUE(window.calls[1].block.empty());
  EXPECT_EQ(result.vt, VT_I4);
  EXPECT_EQ(result.lVal, 123);
}

TEST_F(ScriptBridge, IsADispatchObjectOnly) {
  struct Case {
    const IID& iid;
    bool offered;
  } cases[] = {
      {IID_IUnknown, true}, {IID_IDispatch, true}, {IID_IClassFactory, false}, {IID_IConnectionPointContainer, false}};
  for (const Case& c : cases) {
    void* object = reinterpret_cast<void*>(0x1234);
    EXPECT_EQ(bridge.QueryInterface(c.iid, &object), c.offered ? S_OK : E_NOINTERFACE);
    EXPECT_EQ(object, c.offered ? static_cast<void*>(static_cast<IDispatch*>(&bridge)) : nullptr);
    if (c.offered) bridge.Release();
  }
  UINT count = 9;
  ITypeInfo* info = reinterpret_cast<ITypeInfo*>(0x1234);
  EXPECT_EQ(bridge.GetTypeInfoCount(&count), E_NOTIMPL);
  EXPECT_EQ(bridge.GetTypeInfo(0, 0, &info), E_NOTIMPL);
  EXPECT_EQ(info, nullptr);
}

TEST_F(ScriptBridge, CountStartsAtOneAndNeverFrees) {
  GameDialogCallback fresh(&RunningWindow);
  EXPECT_EQ(fresh.AddRef(), 2u);
  EXPECT_EQ(fresh.Release(), 1u);
  EXPECT_EQ(fresh.Release(), 0u);
  EXPECT_EQ(fresh.Release(), 0u);
  EXPECT_EQ(fresh.AddRef(), 1u);
  wchar_t name[] = L"JsCallClient";
  LPOLESTR names[] = {name};
  DISPID id = 0;
  EXPECT_EQ(fresh.GetIDsOfNames(IID_NULL, names, 1, 0, &id), S_OK);  // still there
}

TEST_F(ScriptBridge, CountingIsSafeFromTwoThreads) {
  constexpr int kTimes = 1000000;
  const ULONG before = CountOf(&bridge);
  std::atomic<int> ready{0};
  auto count = [&] {
    // Both threads start together, so that their changes overlap.
    ++ready;
    while (ready.load() < 2) {
    }
    for (int i = 0; i < kTimes; ++i) bridge.AddRef();
    for (int i = 0; i < kTimes / 2; ++i) bridge.Release();
  };
  std::thread other(count);
  count();
  other.join();
  EXPECT_EQ(CountOf(&bridge), before + kTimes);
}
