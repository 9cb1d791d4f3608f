#include <gtest/gtest.h>
#include <ocidl.h>

#include <atomic>
#include <thread>
#include <vector>

#include "browser/client_call_win.h"
#include "browser/page_call_win.h"
#include "browser_fixture.h"
#include "script_page.h"
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

std::vector<std::uint16_t> TypesOf(const PageCallBlock& block) {
  std::vector<std::uint16_t> types;
  for (const PageArgument& argument : block) types.push_back(argument.type);
  return types;
}

}  // namespace

TEST_F(ScriptBridge, PageCallsReachTheGameWindowInBlockOrderAndBecomeCommands) {
  using Types = std::vector<std::uint16_t>;
  struct Case {
    const wchar_t* script;
    Types types;  // last argument first
    PageAction action;
    std::u16string text;  // for a title, the page's part after "Game-"
  } cases[] = {
      {L"external.JsCallClient('1')", {VT_BSTR}, PageAction::kClose, u""},
      {L"external.JsCallClient(1)", {VT_I4}, PageAction::kNone, u""},
      {L"external.JsCallClient()", {}, PageAction::kNone, u""},
      {L"external.JsCallClient('2')", {VT_BSTR}, PageAction::kRestartAndClose, u""},
      {L"external.JsCallClient('4')", {VT_BSTR}, PageAction::kNone, u""},
      {L"external.JsCallClient('4', 5)", {VT_I4, VT_BSTR}, PageAction::kNone, u""},
      {L"external.JsCallClient('4', 'http://g/?a=1;b=2')",
       {VT_BSTR, VT_BSTR},
       PageAction::kSetButtonLink,
       u"http://g/?a=1;b=2"},
      {L"external.JsCallClient('6', '')", {VT_BSTR, VT_BSTR}, PageAction::kSetTitle, u""},
      {L"external.JsCallClient('6', '\u533A\uAC00')", {VT_BSTR, VT_BSTR}, PageAction::kSetTitle, u"\u533A\uAC00"},
      {L"external.JsCallClient('12')", {VT_BSTR}, PageAction::kNone, u""},
      {L"external.JsCallClient('6', 'a', 'b')", {VT_BSTR, VT_BSTR, VT_BSTR}, PageAction::kSetTitle, u"a"},
  };
  for (const Case& c : cases) {
    window.calls.clear();
    ScriptPage page(&bridge);
    ASSERT_TRUE(page.IsReady());
    EXPECT_TRUE(page.Run(c.script)) << c.script;
    ASSERT_EQ(window.calls.size(), 1u) << c.script;
    EXPECT_EQ(TypesOf(window.calls[0].block), c.types) << c.script;
    EXPECT_EQ(window.calls[0].command.action, c.action) << c.script;
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
