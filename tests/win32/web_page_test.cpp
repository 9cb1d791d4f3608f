#include <gtest/gtest.h>

#include "browser/client_call_win.h"
#include "browser/page_arguments.h"
#include "browser/web_page_win.h"
#include "browser_fixture.h"
#include "fake_browser_objects.h"
#include "script_page.h"
#include "win/variant.h"

namespace {

// Records every call of ClientCallJs as "count|type:value|...".
constexpr wchar_t kRecordingPage[] =
    L"var seen = 'none';"
    L"function ClientCallJs() {"
    L"  var s = '' + arguments.length;"
    L"  for (var i = 0; i < arguments.length; i++) s += '|' + typeof arguments[i] + ':' + arguments[i];"
    L"  seen = s;"
    L"  return 'done';"
    L"}";

class WebPage : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(SUCCEEDED(CoInitialize(nullptr))); }
  void TearDown() override { CoUninitialize(); }

  // A document whose script is `page`'s.
  static win::ComPtr<IDispatch> DocumentOf(const ScriptPage& page) {
    return win::ComPtr<IDispatch>::Adopt(CreateFakeDocument(page.Globals().Get(), TRUE));
  }
};

}  // namespace

TEST_F(WebPage, CallsThePageFunctionWithThePiecesAsStringsInWrittenOrder) {
  struct Case {
    std::string arguments;
    std::wstring seen;
  } cases[] = {
      {*PageEventText(kPageEventRightDown, 100, 200), L"3|string:2|string:100|string:200"},
      {*PageEventText(kPageEventRightUp, -5, 7), L"3|string:3|string:-5|string:7"},
      {"a,,b", L"2|string:a|string:b"},
      {"", L"0"},
      {"1,2,3,4,5,6,7,8,9", L"8|string:1|string:2|string:3|string:4|string:5|string:6|string:7|string:8"},
      {"\xD3\xCE\xCF\xB7", L"1|string:\u6E38\u620F"},  // 游戏 in GBK
  };
  for (const Case& c : cases) {
    ScriptPage script(nullptr);
    ASSERT_TRUE(script.Run(kRecordingPage));
    CWebPage page;
    ASSERT_TRUE(page.AttachDocument(DocumentOf(script).Get()));
    EXPECT_TRUE(page.CallPageFunction("ClientCallJs", nullptr, c.arguments)) << c.arguments;
    EXPECT_EQ(script.GlobalText(L"seen"), c.seen) << c.arguments;
  }
}

TEST_F(WebPage, EventsReachClientCallJsUnlessAboveThePrimaryMonitor) {
  struct Case {
    int code, x, y;
    bool sent;
    std::wstring seen;
  } cases[] = {
      {kPageEventRightDown, 100, 200, true, L"3|string:2|string:100|string:200"},
      {kPageEventRightUp, -1280, 0, true, L"3|string:3|string:-1280|string:0"},
      {kPageEventRightDown, 100, -1, false, L"none"},
  };
  for (const Case& c : cases) {
    ScriptPage script(nullptr);
    ASSERT_TRUE(script.Run(kRecordingPage));
    CWebPage page;
    ASSERT_TRUE(page.AttachDocument(DocumentOf(script).Get()));
    EXPECT_EQ(page.SendPageEvent(c.code, c.x, c.y), c.sent) << c.x << "," << c.y;
    EXPECT_EQ(script.GlobalText(L"seen"), c.seen) << c.x << "," << c.y;
  }
}

TEST_F(WebPage, HandsBackWhatTheFunctionReturned) {
  ScriptPage script(nullptr);
  ASSERT_TRUE(script.Run(kRecordingPage));
  CWebPage page;
  ASSERT_TRUE(page.AttachDocument(DocumentOf(script).Get()));
  win::Variant result;
  ASSERT_TRUE(page.CallPageFunction("ClientCallJs", result.Get(), "2,1,1"));
  ASSERT_EQ((*result).vt, VT_BSTR);
  EXPECT_STREQ((*result).bstrVal, L"done");
}

TEST_F(WebPage, FailsQuietlyWithoutTheFunctionOrWhenItThrows) {
  struct Case {
    const wchar_t* script;
  } cases[] = {
      {L"var x = 1;"},
      {L"var ClientCallJs = 5;"},
      {L"function ClientCallJs() { throw new Error('page fault'); }"},
  };
  for (const Case& c : cases) {
    ScriptPage script(nullptr);
    ASSERT_TRUE(script.Run(c.script));
    CWebPage page;
    ASSERT_TRUE(page.AttachDocument(DocumentOf(script).Get()));
    EXPECT_FALSE(page.CallPageFunction("ClientCallJs", nullptr, "2,1,1")) << c.script;
  }
}

TEST_F(WebPage, NeedsADocumentWithAScript) {
  CWebPage page;
  win::ComPtr<IDispatch> script;
  EXPECT_FALSE(page.GetScriptObject(&script));
  EXPECT_FALSE(page.CallPageFunction("ClientCallJs", nullptr, "2,1,1"));

  const auto scriptless = win::ComPtr<IDispatch>::Adopt(CreateFakeDocument(nullptr, TRUE));
  ASSERT_TRUE(page.AttachDocument(scriptless.Get()));
  EXPECT_FALSE(page.GetScriptObject(&script));
  EXPECT_FALSE(page.CallPageFunction("ClientCallJs", nullptr, "2,1,1"));
}

TEST_F(WebPage, NoDocumentKeepsTheCurrentOneAndANonDocumentDropsIt) {
  ScriptPage script(nullptr);
  ASSERT_TRUE(script.Run(kRecordingPage));
  const auto document = DocumentOf(script);
  const ULONG unattached = CountOf(document.Get());
  {
    CWebPage page;
    ASSERT_TRUE(page.AttachDocument(document.Get()));
    EXPECT_EQ(CountOf(document.Get()), unattached + 1);

    EXPECT_FALSE(page.AttachDocument(nullptr));
    EXPECT_TRUE(page.CallPageFunction("ClientCallJs", nullptr, "2,1,1"));

    GameDialogCallback notADocument(nullptr);
    EXPECT_FALSE(page.AttachDocument(&notADocument));
    EXPECT_EQ(CountOf(document.Get()), unattached);
    EXPECT_FALSE(page.CallPageFunction("ClientCallJs", nullptr, "2,1,1"));

    ASSERT_TRUE(page.AttachDocument(document.Get()));
  }
  EXPECT_EQ(CountOf(document.Get()), unattached);
}
