// The game window and its page: commands the page sends through
// window.external of the window's own browser, and the filter between the
// player's input and the page.
#include "game_fixture.h"
// After windows.h, which the fixture brings.
#include <commctrl.h>
#include <exdisp.h>

#include <algorithm>

#include "append_line.h"
#include "browser/web_browser_ex_win.h"
#include "launcher_driver.h"
#include "script_page.h"
#include "update_process_tree.h"
#include "win/process.h"
#include "win/text.h"

using namespace testkit;

namespace {

// What the page gets as window.external: asked of the game window's own
// browser, as the browser's documents ask.
win::ComPtr<IDispatch> ExternalOf(const CGameDialog& game) {
  auto* host = dynamic_cast<CWebBrowserEx*>(win::Window::FromHandle(GetDlgItem(game.Handle(), 170)));
  if (host == nullptr) return {};
  win::ComPtr<IDispatch> external;
  if (FAILED(host->UiController().GetExternal(external.Put()))) return {};
  return external;
}

// Runs `script` as the game page, with the game window's external object.
bool RunPage(const CGameDialog& game, const wchar_t* script) {
  const win::ComPtr<IDispatch> external = ExternalOf(game);
  if (!external) return false;
  ScriptPage page(external.Get());
  return page.IsReady() && page.Run(script);
}

// Pixels of `colour` in the title bar's band of the window's client area.
int TitlePixels(HWND window, COLORREF colour) {
  HDC dc = GetDC(window);
  int count = 0;
  for (int y = kTitleY; y < kTitleY + 16; ++y)
    for (int x = kTitleX; x < kTitleX + 400; ++x) count += GetPixel(dc, x, y) == colour;
  ReleaseDC(window, dc);
  return count;
}

// Sets an environment variable for the scope: a restarted launcher inherits it.
class ScopedEnvironment {
 public:
  ScopedEnvironment(const char* name, const std::string& value) : name_(name) {
    SetEnvironmentVariableA(name, value.c_str());
  }
  ~ScopedEnvironment() { SetEnvironmentVariableA(name_, nullptr); }

 private:
  const char* name_;
};

// A launcher started anew by a window under test is this test program: when
// it finds kRestartMarks in its environment it only appends a line to the
// file named there, as the marker program does, and ends before any test
// runs.
constexpr char kRestartMarks[] = "LAUNCHER_TEST_RESTART_MARKS";
const bool restartMarked = [] {
  char path[MAX_PATH] = {};
  const DWORD length = GetEnvironmentVariableA(kRestartMarks, path, sizeof path);
  if (length == 0 || length >= sizeof path) return false;
  ExitProcess(AppendLineAlone(path, "started", 7) ? 0 : 1);
}();

// Records what the window tells its page instead of calling the page.
class WatchedGame : public CGameDialog {
 public:
  using CGameDialog::CGameDialog;
  struct Event {
    int code, x, y;
    bool operator==(const Event&) const = default;
  };
  std::vector<Event> events;
  void NotifyPage(int code, int x, int y) override { events.push_back({code, x, y}); }
};

// Records which of a few messages a window of the game receives.
std::vector<UINT>* received = nullptr;
LRESULT CALLBACK Recording(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR) {
  if (message == WM_RBUTTONDOWN || message == WM_RBUTTONUP || message == WM_KEYDOWN) received->push_back(message);
  return DefSubclassProc(hwnd, message, wParam, lParam);
}

}  // namespace

TEST_F(GameWindowTest, PageCommandsChangeTheRunningWindowAndCodeOneClosesItUnasked) {
  LoadAppSkin();
  bool stillRunning = false;
  const INT_PTR result = RunAppGameWindow("about:blank", [&](CGameDialog& game) {
    // Code 4: the page button's link, web addresses only.
    struct Case {
      const wchar_t* script;
      const char* link;  // the button's link afterwards
    } cases[] = {
        {L"external.JsCallClient('4', 'https://pay.example/?a=1;b=2')", "https://pay.example/?a=1&b=2"},
        {L"external.JsCallClient('4', 'HTTP://GAME.EXAMPLE/')", "HTTP://GAME.EXAMPLE/"},
        {L"external.JsCallClient('4', 'file:///C:/windows/system32/calc.exe')", "HTTP://GAME.EXAMPLE/"},
        {L"external.JsCallClient('4', 'C:\\\\windows\\\\system32\\\\calc.exe')", "HTTP://GAME.EXAMPLE/"},
        {L"external.JsCallClient('4', 'javascript:alert(1)')", "HTTP://GAME.EXAMPLE/"},
        {L"external.JsCallClient('4', ' http://a/')", "HTTP://GAME.EXAMPLE/"},
        {L"external.JsCallClient('4')", "HTTP://GAME.EXAMPLE/"},
        {L"external.JsCallClient('4', 5)", "HTTP://GAME.EXAMPLE/"},
        // What a page supplies is kept for the shell with its spaces and
        // double quotes encoded.
        {L"external.JsCallClient('4', 'http://game.example/my page?q=\"a b\"')",
         "http://game.example/my%20page?q=%22a%20b%22"},
        {L"external.JsCallClient('4', 'http://game.example/b')", "http://game.example/b"},
    };
    for (const Case& c : cases) {
      EXPECT_TRUE(RunPage(game, c.script)) << c.script;
      EXPECT_EQ(game.FindButtonByKind(12)->Link(), c.link) << c.script;
    }

    // Code 6: the configured title extended, shown at the next paint.
    RedrawWindow(game.Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    const int before = TitlePixels(game.Handle(), RGB(255, 255, 255));
    EXPECT_GT(before, 0);
    EXPECT_TRUE(RunPage(game, L"external.JsCallClient('6', '\u533A WWWWWWWW')"));
    EXPECT_EQ(game.TitleText(), "Game Test-\xC7\xF8 WWWWWWWW");
    EXPECT_TRUE(RunPage(game, L"external.JsCallClient('6', '')"));
    EXPECT_EQ(game.TitleText(), "Game Test-");  // from the configured title, not the one shown
    // The page's characters are kept as it wrote them, those GBK lacks too.
    EXPECT_TRUE(RunPage(game, L"external.JsCallClient('6', '\uAC00\u533A')"));
    EXPECT_EQ(game.WideTitleText(), L"Game Test-\uAC00\u533A");
    EXPECT_TRUE(RunPage(game, L"external.JsCallClient('6', 'WWWWWWWWWWWWWWWW')"));
    RedrawWindow(game.Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    EXPECT_GT(TitlePixels(game.Handle(), RGB(255, 255, 255)), before);

    // Code 1 as a number, and codes without a command, do nothing.
    EXPECT_TRUE(RunPage(game, L"external.JsCallClient(1); external.JsCallClient('3'); external.JsCallClient('5')"));
    stillRunning = game.IsRunningModal() && IsWindowVisible(game.Handle());
    // As a string it closes, without a question: the run is over as soon
    // as the loop looks again.
    EXPECT_TRUE(RunPage(game, L"external.JsCallClient('1')"));
  });
  EXPECT_TRUE(stillRunning);
  EXPECT_EQ(result, IDOK);
}

TEST_F(GameWindowTest, APageLinkWithoutAPageButtonChangesNothing) {
  LoadAppSkin({.buttons = "gameButtonCount=1\r\n[gamebutton1]\r\ntype=1\r\nx=-30\r\nimage=9\r\nurl=http://first/\r\n"});
  RunAppGameWindow("about:blank", [](CGameDialog& game) {
    EXPECT_TRUE(RunPage(game, L"external.JsCallClient('4', 'http://other/')"));
    EXPECT_EQ(game.FindButtonByKind(1)->Link(), "http://first/");
    EndSoon(game);
  });
}

TEST_F(GameWindowTest, CodeTwoStartsOneLauncherHoweverOftenThePageAsksThenCloses) {
  LoadAppSkin();
  TempDir dir;
  const std::string marks = dir.File("restarts.txt");
  INT_PTR result = 0;
  {
    ScopedEnvironment restarts(kRestartMarks, marks);
    result = RunAppGameWindow("about:blank", [](CGameDialog& game) {
      // A page asking again and again, and then for a plain close: only
      // the first request counts.
      EXPECT_TRUE(RunPage(game, L"for (var i = 0; i < 20; ++i) external.JsCallClient('2'); external.JsCallClient('1')"));
    });
  }
  EXPECT_EQ(result, IDOK);
  // Every start the window asked for was made while it ran: once none of
  // them runs any more, each has left its line.
  EXPECT_TRUE(WaitUntilEnded(win::ProgramPath().value_or(""), GetCurrentProcessId()));
  const Bytes bytes = ReadFileBytes(marks);
  EXPECT_EQ(std::count(bytes.begin(), bytes.end(), '\n'), 1) << std::string(bytes.begin(), bytes.end());
}

TEST_F(GameWindowTest, RightButtonsGoToThePageAndFunctionKeysNeverDo) {
  LoadSkin();
  WatchedGame game(TestSkin());
  std::vector<UINT> seen;
  received = &seen;
  RunGameWindow(game, [&] {
    const HWND target = GetDlgItem(game.Handle(), 300);
    SetWindowSubclass(target, Recording, 1, 0);
    POINT origin{0, 0};
    ClientToScreen(target, &origin);
    PostMessageA(target, WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(5, 7));
    PostMessageA(target, WM_RBUTTONUP, 0, MAKELPARAM(6, 8));
    PostMessageA(target, WM_KEYDOWN, VK_F1, 0);      // bound to nothing
    PostMessageA(target, WM_KEYDOWN, VK_F6, 0);      // bound to nothing
    PostMessageA(target, WM_KEYDOWN, VK_ESCAPE, 0);  // goes where it was sent
    PostMessageA(target, WM_KEYDOWN, VK_RETURN, 0);
    Then([&, origin, target] {
      EXPECT_EQ(game.events,
                (std::vector<WatchedGame::Event>{{2, origin.x + 5, origin.y + 7}, {3, origin.x + 6, origin.y + 8}}));
      EXPECT_EQ(seen, (std::vector<UINT>{WM_KEYDOWN, WM_KEYDOWN}));
      EXPECT_TRUE(game.IsRunningModal());
      RemoveWindowSubclass(target, Recording, 1);
      EndSoon(game);
    });
  });
  received = nullptr;
}

// In a skin that declares UTF-8 the page's text reaches the title as the
// page sent it, with no GBK step, and counts the bytes it takes in UTF-8,
// the skin's own; an address keeps its letters for the button that opens
// it, as a configured one does.
TEST_F(GameWindowTest, PageCommandsInAUtf8SkinKeepThePagesVietnamese) {
  const std::wstring title = L"Chi\u1EBFn Th\u1EA7n";  // 14 bytes of UTF-8; 15 with "-"
  LoadAppSkin({.extraGlobal = "textEncoding=utf-8\r\ntitle=" + win::Utf8FromWide(title) + "\r\n",
               .buttons = "gameButtonCount=1\r\n[gamebutton1]\r\ntype=12\r\nx=-30\r\nimage=9\r\nurl=" +
                          win::Utf8FromWide(L"http://game.example/chi\u1EBFn") + "\r\n"});
  RunAppGameWindow("about:blank", [&](CGameDialog& game) {
    EXPECT_EQ(game.FindButtonByKind(12)->WideLink(), L"http://game.example/chi\u1EBFn");
    EXPECT_TRUE(RunPage(game, L"external.JsCallClient('4', 'https://game.example/tr\u1EADn?t\u00EAn=\u0110\u1EE9c')"));
    EXPECT_EQ(game.FindButtonByKind(12)->WideLink(), L"https://game.example/tr\u1EADn?t\u00EAn=\u0110\u1EE9c");

    EXPECT_TRUE(RunPage(game, L"external.JsCallClient('6', 'Tr\u1EADn 3: \u0110\u1EA5u tr\u01B0\u1EDDng')"));
    EXPECT_EQ(game.WideTitleText(), title + L"-Tr\u1EADn 3: \u0110\u1EA5u tr\u01B0\u1EDDng");
    // 85 letters of three bytes are the 255 a text may take: 240 bytes are
    // left after the configured part, 80 letters. 86 letters are too many
    // and change nothing (in GBK, which lacks the letter, each would count
    // one byte).
    const std::wstring letters85(85, L'\u1EA7'), letters86(86, L'\u1EA7');
    EXPECT_TRUE(RunPage(game, (L"external.JsCallClient('6', '" + letters85 + L"')").c_str()));
    EXPECT_EQ(game.WideTitleText(), title + L"-" + std::wstring(80, L'\u1EA7'));
    EXPECT_TRUE(RunPage(game, (L"external.JsCallClient('6', '" + letters86 + L"')").c_str()));
    EXPECT_EQ(game.WideTitleText(), title + L"-" + std::wstring(80, L'\u1EA7'));
    EXPECT_TRUE(RunPage(game, L"external.JsCallClient('1')"));
  });
  LoadAppSkin();  // GBK again, for what runs after in this process
}
