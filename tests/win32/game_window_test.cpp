// The game window's frame in the test's own process: hit-testing, cursors,
// the minimum size, moving by the title bar, its buttons, and an
// initialisation that stops half-way.
#include "game_fixture.h"
// After windows.h, which the fixture brings.
#include <commctrl.h>

#include "launcher_driver.h"
#include "tray_probe.h"
#include "update_test_server.h"

using namespace testkit;

namespace {

LRESULT HitTest(HWND window, int x, int y) { return SendMessageA(window, WM_NCHITTEST, 0, MAKELPARAM(x, y)); }

struct TooltipCount {
  HWND owner;
  int tips;
};

BOOL CALLBACK CountTooltip(HWND w, LPARAM found) {
  auto* count = reinterpret_cast<TooltipCount*>(found);
  count->tips += ClassName(w) == TOOLTIPS_CLASSA && GetWindow(w, GW_OWNER) == count->owner;
  return TRUE;
}

int TooltipsOwnedBy(HWND owner) {
  TooltipCount count{owner, 0};
  EnumThreadWindows(GetCurrentThreadId(), CountTooltip, reinterpret_cast<LPARAM>(&count));
  return count.tips;
}

RECT Centred() {
  const RECT work = WorkArea();
  const int x = (work.right - work.left - kGameWidth) / 2, y = (work.bottom - work.top - kGameHeight) / 2;
  return {x, y, x + kGameWidth, y + kGameHeight};
}

}  // namespace

// Where the pointer is on the frame: sizing edges and corners with their
// cursors, the title bar that moves the window and toggles its size.
TEST_F(GameWindowTest, TheFrameAnswersThePointer) {
  LoadSkin();
  CGameDialog game(TestSkin());
  RunGameWindow(game, [&] {
    // The title bar of a maximised window does not move it.
    auto move = [&](WPARAM keys, int x, int y) { SendMessageA(game.Handle(), WM_MOUSEMOVE, keys, MAKELPARAM(x, y)); };
    move(0, 300, 10);
    move(MK_LBUTTON, 320, 15);
    EXPECT_EQ(WindowRect(game.Handle()), WorkArea());

    game.RestoreWindow();
    const RECT r = WindowRect(game.Handle());
    ASSERT_EQ(r, Centred());
    struct Case {
      int x, y;
      LRESULT hit;
      LPCSTR cursor;
    } cases[] = {
        {r.left + 12, r.top + 30, HTTOPLEFT, IDC_SIZENWSE},
        {r.left + 13, r.top + 5, HTCLIENT, IDC_ARROW},  // the top edge moves the window
        {r.right - 16, r.top + 26, HTTOPRIGHT, IDC_SIZENESW},
        {r.left + 9, r.bottom - 14, HTBOTTOMLEFT, IDC_SIZENESW},
        {r.right - 11, r.bottom - 10, HTBOTTOMRIGHT, IDC_SIZENWSE},
        {r.left + 5, r.top + 300, HTLEFT, IDC_SIZEWE},
        {r.right - 7, r.top + 300, HTRIGHT, IDC_SIZEWE},
        {r.left + 400, r.bottom - 6, HTBOTTOM, IDC_SIZENS},
        {r.left + 400, r.bottom - 7, HTCLIENT, IDC_ARROW},
    };
    for (const Case& c : cases) {
      EXPECT_EQ(HitTest(game.Handle(), c.x, c.y), c.hit) << c.x - r.left << "," << c.y - r.top;
      SetCursor(nullptr);
      EXPECT_TRUE(SendMessageA(game.Handle(), WM_SETCURSOR, reinterpret_cast<WPARAM>(game.Handle()),
                               MAKELPARAM(c.hit, WM_MOUSEMOVE)));
      EXPECT_EQ(GetCursor(), LoadCursorA(nullptr, c.cursor)) << c.hit;
    }

    // Dragging the title bar of the restored window moves it along.
    move(0, 300, 10);
    move(MK_LBUTTON, 340, 35);  // below the title bar: no move
    EXPECT_EQ(WindowRect(game.Handle()), r);
    move(0, 300, 10);
    move(MK_LBUTTON, 340, 12);
    RECT moved = r;
    OffsetRect(&moved, 40, 2);
    EXPECT_EQ(WindowRect(game.Handle()), moved);
    move(MK_LBUTTON | MK_SHIFT, 350, 12);  // other keys held: no move
    EXPECT_EQ(WindowRect(game.Handle()), moved);

    // Maximised and in full screen the whole window is client area.
    for (bool fullScreen : {false, true}) {
      game.MaximizeWindow();
      if (fullScreen) game.ToggleFullScreen();
      const RECT m = WindowRect(game.Handle());
      EXPECT_EQ(HitTest(game.Handle(), m.left + 1, m.top + 1), HTCLIENT);
      EXPECT_EQ(HitTest(game.Handle(), m.right - 1, m.bottom - 1), HTCLIENT);
      EXPECT_EQ(HitTest(game.Handle(), m.left + 1, (m.top + m.bottom) / 2), HTCLIENT);
      if (fullScreen) game.ToggleFullScreen();
    }

    // A double-click across the title bar toggles the size state, through
    // the window's message filter.
    const HWND button = GetDlgItem(game.Handle(), 185);
    PostMessageA(game.Handle(), WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(300, 10));
    Then([&, button, moved] {
      EXPECT_FALSE(game.SizeState().maximised);
      EXPECT_EQ(WindowRect(game.Handle()), moved);  // back where it was
      // On a button of the bar too, now at the restored window's place.
      PostMessageA(button, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(2, 2));
      Then([&] {
        EXPECT_TRUE(game.SizeState().maximised);
        // On the bar's top and bottom lines nothing toggles.
        PostMessageA(game.Handle(), WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(300, kTitleBarHeight));
        PostMessageA(game.Handle(), WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(300, 0));
        Then([&] {
          EXPECT_TRUE(game.SizeState().maximised);
          game.ToggleFullScreen();
          PostMessageA(game.Handle(), WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(300, 10));
          Then([&] {
            EXPECT_TRUE(game.SizeState().fullScreen);  // full screen has no title bar to click
            EXPECT_TRUE(game.SizeState().maximised);
            EndSoon(game);
          });
        });
      });
    });
  });
}

TEST_F(GameWindowTest, SizingNeverGoesBelowTheMinimumWhicheverEdgeMoves) {
  const RECT work = WorkArea();
  struct Case {
    std::string extra;
    int minimumWidth, minimumHeight;
  } cases[] = {
      {"", kGameWidth, kGameHeight},
      {"minGameWidth=5000\r\nminGameHeight=4000\r\n", work.right - work.left, work.bottom - work.top},
  };
  for (const Case& c : cases) {
    LoadSkin({.extraGlobal = c.extra});
    CGameDialog game(TestSkin());
    RunGameWindow(game, [&] {
      // The left edge dragged far to the right: the right edge follows.
      RECT proposed{500, 100, 600, 150};
      EXPECT_TRUE(SendMessageA(game.Handle(), WM_SIZING, WMSZ_LEFT, reinterpret_cast<LPARAM>(&proposed)));
      EXPECT_EQ(proposed, (RECT{500, 100, 500 + c.minimumWidth, 100 + c.minimumHeight})) << c.extra;
      RECT large{10, 20, 10 + c.minimumWidth + 1, 20 + c.minimumHeight + 1};
      const RECT asked = large;
      SendMessageA(game.Handle(), WM_SIZING, WMSZ_BOTTOMRIGHT, reinterpret_cast<LPARAM>(&large));
      EXPECT_EQ(large, asked);
      EndSoon(game);
    });
  }
}

TEST_F(GameWindowTest, TheWindowCarriesItsIconAndAButtonForEachRecordWithASprite) {
  LoadSkin({.buttons = "gameButtonCount=7\r\n"
                       "[gamebutton1]\r\ntype=1\r\nx=-30\r\nimage=9\r\nurl=http://a/?x=1;y=2\r\ntitle=A\r\n"
                       "[gamebutton2]\r\ntype=1\r\nx=-60\r\nimage=9\r\nurl=http://b/\r\ntips=Tip\r\n"
                       "[gamebutton3]\r\ntype=9\r\nx=-90\r\nimage=9\r\n"
                       "[gamebutton4]\r\ntype=2\r\nx=-120\r\nimage=9\r\n"
                       "[gamebutton5]\r\ntype=8\r\nx=-150\r\nimage=99\r\nshortCut=9\r\n"
                       "[gamebutton6]\r\ntype=3\r\nx=-180\r\nimage=0\r\n"
                       "[gamebutton7]\r\ntype=4\r\nx=-210\r\nimage=9\r\n"});
  CGameDialog game(TestSkin());
  RunGameWindow(game, [&] {
    const HICON icon = LoadIconA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(128));
    EXPECT_EQ(reinterpret_cast<HICON>(SendMessageA(game.Handle(), WM_GETICON, ICON_BIG, 0)), icon);
    EXPECT_EQ(reinterpret_cast<HICON>(SendMessageA(game.Handle(), WM_GETICON, ICON_SMALL, 0)), icon);
    EXPECT_EQ(reinterpret_cast<HICON>(SendMessageA(game.Handle(), WM_QUERYDRAGICON, 0, 0)), icon);
    // One tooltip: only the second record has tips.
    EXPECT_EQ(TooltipsOwnedBy(game.Handle()), 1);
    // Two links, both 181, each with its own address; no button for the
    // records whose image names no sprite.
    std::vector<HWND> links;
    for (HWND child = GetWindow(game.Handle(), GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT))
      if (GetDlgCtrlID(child) == 181) links.push_back(child);
    ASSERT_EQ(links.size(), 2u);
    EXPECT_EQ(WindowText(links[0]), "A");
    EXPECT_EQ(game.FindButtonByKind(1)->Link(), "http://a/?x=1&y=2");
    EXPECT_EQ(game.FindButtonByKind(1)->GetRecordIndex(), 0);
    EXPECT_EQ(game.FindButtonByKind(9)->GetRecordIndex(), 2);
    EXPECT_EQ(GetDlgItem(game.Handle(), 188), nullptr);
    EXPECT_EQ(GetDlgItem(game.Handle(), 183), nullptr);
    EXPECT_TRUE(game.FindButtonByKind(9)->Link().empty());
    // Kinds without an action of the window do nothing when clicked.
    for (int id : {189, 182, 184}) SendMessageA(GetDlgItem(game.Handle(), id), BM_CLICK, 0, 0);
    EXPECT_TRUE(game.IsRunningModal());
    EXPECT_TRUE(IsWindowVisible(game.Handle()));
    EXPECT_EQ(WindowRect(game.Handle()), WorkArea());
    // The record without a button still binds its key: F9 hides to the tray.
    PostMessageA(GetDlgItem(game.Handle(), 170), WM_KEYDOWN, VK_F9, 0);
    Then([&] {
      EXPECT_FALSE(IsWindowVisible(game.Handle()));
      EXPECT_TRUE(game.TrayIconPresent());
      EXPECT_TRUE(IconPresent(game.Handle()));
      RemoveIcon(game.Handle());
      EndSoon(game);
    });
  });
}

TEST_F(GameWindowTest, AFailedStepStopsTheSetUpAndLeavesTheWindowOpen) {
  struct Case {
    const char* missing;
    bool withStyle, withLogo;
    bool browser, buttons;
  } cases[] = {
      {"config/style.png", false, true, false, false},
      {"config/logo.png", true, false, true, true},
  };
  for (const Case& c : cases) {
    LoadSkin({.withStyle = c.withStyle, .withLogo = c.withLogo});
    CGameDialog game(TestSkin());
    game.SetStartAddress("about:blank");
    MessageBoxView failure, question;
    AnswerMessageBox(IDOK, &failure);
    RunWhenReady(
        game, [&] { return IsWindowVisible(game.Handle()) != FALSE && !game.BrowserPending(); },
        [&] {
          EXPECT_EQ(failure.text, "\xB6\xC1\xC8\xA1\xCD\xBC\xC6\xAC\xCA\xA7\xB0\xDC") << c.missing;  // 读取图片失败
          EXPECT_EQ(WindowRect(game.Handle()), WorkArea()) << c.missing;
          EXPECT_EQ(WindowText(game.Handle()), "Game Test");
          EXPECT_EQ(GetDlgItem(game.Handle(), 170) != nullptr, c.browser) << c.missing;
          EXPECT_EQ(GetDlgItem(game.Handle(), 185) != nullptr, c.buttons) << c.missing;
          EXPECT_EQ(GetDlgItem(game.Handle(), 300), nullptr);
          EXPECT_FALSE(game.SizeState().maximised);  // never got to the end
          // The close request still asks, and OK closes.
          AnswerMessageBox(IDOK, &question);
          PostMessageA(game.Handle(), WM_CLOSE, 0, 0);
        });
    EXPECT_EQ(game.DoModal(), IDOK) << c.missing;
    EXPECT_EQ(question.text, "Quit?") << c.missing;
  }
}

// A work area as large as the screen (a taskbar that hides itself): the full
// screen and the maximised window have the same rectangle, so leaving full
// screen changes no size. The title bar and the browser must come back all
// the same.
TEST_F(GameWindowTest, LeavingFullScreenOverAWorkAreaAsLargeAsTheScreenLaysTheFrameOutAgain) {
  RECT work = WorkArea();
  RECT screen{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
  ASSERT_TRUE(SystemParametersInfoA(SPI_SETWORKAREA, 0, &screen, 0));
  struct Restore {
    RECT* work;
    ~Restore() { SystemParametersInfoA(SPI_SETWORKAREA, 0, work, 0); }
  } restore{&work};
  ASSERT_EQ(WorkArea(), screen);

  LoadSkin();
  CGameDialog game(TestSkin());
  RunGameWindow(game, [&] {
    const HWND browser = GetDlgItem(game.Handle(), 170);
    auto visibleButtons = [&] {
      std::vector<int> ids;
      for (int id = 181; id <= 192; ++id)
        if (const HWND b = GetDlgItem(game.Handle(), id); b != nullptr && IsWindowVisible(b)) ids.push_back(id);
      return ids;
    };
    const RECT browserBefore = WindowRect(browser);
    const std::vector<int> buttonsBefore = visibleButtons();
    ASSERT_FALSE(buttonsBefore.empty());
    ASSERT_GE(browserBefore.top, kTitleBarHeight);

    game.ToggleFullScreen();
    EXPECT_EQ(WindowRect(game.Handle()), screen);
    EXPECT_EQ(WindowRect(browser), screen);
    EXPECT_TRUE(visibleButtons().empty());
    game.ToggleFullScreen();
    EXPECT_FALSE(game.SizeState().fullScreen);
    EXPECT_EQ(WindowRect(browser), browserBefore);
    EXPECT_EQ(visibleButtons(), buttonsBefore);
    EndSoon(game);
  });
}

namespace {

// What the game window looked like at the moment its browser's window was
// being made.
struct AtGameBrowser {
  const CGameDialog* game = nullptr;
  bool seen = false;
  bool visible = false, nothingLeftToPaint = false;
  COLORREF topEdge = CLR_INVALID, logo = CLR_INVALID, closeButton = CLR_INVALID;
};

AtGameBrowser* gameWatch = nullptr;

LRESULT CALLBACK WatchGameBrowserCreation(int code, WPARAM wParam, LPARAM lParam) {
  if (code == HCBT_CREATEWND && gameWatch != nullptr && !gameWatch->seen &&
      ClassName(reinterpret_cast<HWND>(wParam)) == "LauncherBrowserHost" &&
      reinterpret_cast<CBT_CREATEWNDA*>(lParam)->lpcs->hwndParent == gameWatch->game->Handle()) {
    const HWND game = gameWatch->game->Handle(), close = GetDlgItem(game, 185), logo = GetDlgItem(game, 300);
    gameWatch->seen = true;
    gameWatch->visible = IsWindowVisible(game) != FALSE;
    gameWatch->nothingLeftToPaint = !GetUpdateRect(game, nullptr, FALSE) && close != nullptr &&
                                    !GetUpdateRect(close, nullptr, FALSE) && logo != nullptr &&
                                    !GetUpdateRect(logo, nullptr, FALSE);
    const RECT work = WorkArea();
    gameWatch->topEdge = ScreenPixel(work.left + 300, work.top + 1);
    gameWatch->logo = ScreenPixel(work.left + kLogoX + 2, work.top + kLogoY + 2);
    const RECT closeRect = WindowRect(close);
    gameWatch->closeButton = ScreenPixel(closeRect.left + 2, closeRect.top + 2);
  }
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

// A child's rectangle in its parent's client coordinates.
RECT ChildRect(HWND child) {
  RECT r = WindowRect(child);
  MapWindowPoints(nullptr, GetParent(child), reinterpret_cast<POINT*>(&r), 2);
  return r;
}

}  // namespace

// The player sees the finished window first: when the browser is being made,
// the window is shown and painted, its frame, logo and title-bar buttons on
// the screen.
TEST_F(GameWindowTest, TheFrameLogoAndButtonsAreOnTheScreenBeforeTheBrowserIsMade) {
  LoadSkin();
  CGameDialog game(TestSkin());
  AtGameBrowser seen{&game};
  gameWatch = &seen;
  const HHOOK hook = SetWindowsHookExA(WH_CBT, WatchGameBrowserCreation, nullptr, GetCurrentThreadId());
  ASSERT_NE(hook, nullptr);
  RunGameWindow(game, [&] { EndSoon(game); });
  UnhookWindowsHookEx(hook);
  gameWatch = nullptr;
  ASSERT_TRUE(seen.seen);
  EXPECT_TRUE(seen.visible);
  EXPECT_TRUE(seen.nothingLeftToPaint);
  EXPECT_EQ(seen.topEdge, kPieceColours[1]);
  EXPECT_EQ(seen.logo, kLogoColour);
  EXPECT_EQ(seen.closeButton, kButtonFaces[0]);
}

namespace {

// Changes the game window's size state when its message to make the browser
// comes, just before it is handled.
struct SizeChangeWhilePending {
  CGameDialog* game = nullptr;
  std::function<void(CGameDialog&)> change;
  bool changed = false, wasPending = false, browserThere = true;
};

SizeChangeWhilePending* sizeChange = nullptr;

LRESULT CALLBACK ChangeSizeBeforeTheBrowser(int code, WPARAM wParam, LPARAM lParam) {
  const auto* message = reinterpret_cast<const MSG*>(lParam);
  if (code == HC_ACTION && wParam == PM_REMOVE && sizeChange != nullptr && !sizeChange->changed &&
      message->message == CGameDialog::kMakeBrowserMessage && message->hwnd == sizeChange->game->Handle()) {
    sizeChange->changed = true;
    sizeChange->wasPending = sizeChange->game->BrowserPending();
    sizeChange->browserThere = GetDlgItem(message->hwnd, 170) != nullptr;
    sizeChange->change(*sizeChange->game);
  }
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

}  // namespace

// A size change between the window's showing and its browser's making (the
// restore key pressed at once, say) is the state the browser is made in.
TEST_F(GameWindowTest, ASizeChangeWhileTheBrowserIsPendingIsTheOneItIsMadeIn) {
  const RECT screen{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
  struct Case {
    const char* name;
    std::function<void(CGameDialog&)> change;
    RECT window, browser;  // the browser in the window's client coordinates
  } cases[] = {
      {"restored", [](CGameDialog& game) { game.RestoreWindow(); }, Centred(),
       {kPieceWidths[3], kTitleBarHeight, kGameWidth - kPieceWidths[4], kGameHeight - kPieceHeights[6]}},
      {"full screen", [](CGameDialog& game) { game.ToggleFullScreen(); }, screen, screen},
  };
  for (const Case& c : cases) {
    LoadSkin();
    CGameDialog game(TestSkin());
    game.SetStartAddress("about:blank");
    SizeChangeWhilePending pending{&game, c.change};
    sizeChange = &pending;
    const HHOOK hook = SetWindowsHookExA(WH_GETMESSAGE, ChangeSizeBeforeTheBrowser, nullptr, GetCurrentThreadId());
    ASSERT_NE(hook, nullptr);
    RunWhenReady(
        game, [&] { return pending.changed && !game.BrowserPending(); },
        [&] {
          EXPECT_EQ(WindowRect(game.Handle()), c.window) << c.name;
          const HWND browser = GetDlgItem(game.Handle(), 170);
          ASSERT_NE(browser, nullptr) << c.name;
          EXPECT_EQ(ChildRect(browser), c.browser) << c.name;
          EndSoon(game);
        });
    game.DoModal();
    UnhookWindowsHookEx(hook);
    sizeChange = nullptr;
    EXPECT_TRUE(pending.wasPending) << c.name;
    EXPECT_FALSE(pending.browserThere) << c.name;
  }
}

// The browser, made after the title bar's buttons and logo, still lies above
// them, as when it was made before them: where the logo or a button reaches
// into the page, the page is on top and takes the clicks.
TEST_F(GameWindowTest, TheBrowserLiesAboveTheLogoAndButtonsThatReachIntoIt) {
  GameSkinOptions options;
  options.extraGlobal = "logy=20\r\n";
  options.buttons = "gameButtonCount=1\r\n[gamebutton1]\r\ntype=5\r\nx=-30\r\ny=20\r\nimage=9\r\n";
  LoadSkin(options);
  CGameDialog game(TestSkin());
  RunGameWindow(game, [&] {
    std::vector<int> order;
    for (HWND child = GetWindow(game.Handle(), GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT))
      order.push_back(GetDlgCtrlID(child));
    EXPECT_EQ(order, (std::vector<int>{170, 185, 300}));
    const int width = WindowRect(game.Handle()).right - WindowRect(game.Handle()).left;
    const struct {
      POINT at;
      int top;
    } spots[] = {{{10, kTitleBarHeight + 4}, 170}, {{width - 25, kTitleBarHeight + 4}, 170}, {{10, 22}, 300}};
    for (const auto& s : spots)
      EXPECT_EQ(GetDlgCtrlID(ChildWindowFromPointEx(game.Handle(), s.at, CWP_SKIPINVISIBLE)), s.top)
          << s.at.x << "," << s.at.y;
    EndSoon(game);
  });
}

// A window started minimised is never painted: its browser is made and the
// game page asked for all the same.
TEST_F(GameWindowTest, TheGamePageLoadsInAWindowStartedMinimised) {
  UpdateTestServer server;
  ASSERT_TRUE(server.Started());
  server.Serve("/game.html", Route{200, Bytes{'<', 'p', '>'}});
  LoadSkin();
  CGameDialog game(TestSkin());
  game.SetStartAddress(server.Url("/game.html").c_str());
  StartedMinimised minimised;
  ASSERT_TRUE(minimised.Hooked());
  PaintCount paints;
  ASSERT_TRUE(paints.Hooked());
  bool loaded = false;
  RunWhenReady(
      game,
      [&] {
        for (const auto& request : server.Requests())
          if (request.path == "/game.html") return true;
        return false;
      },
      [&] {
        loaded = true;
        EXPECT_TRUE(IsIconic(game.Handle()));
        EXPECT_NE(GetDlgItem(game.Handle(), 170), nullptr);
        EXPECT_EQ(paints.Of(game.Handle()), 0);
        EndSoon(game);
      });
  game.DoModal();
  EXPECT_TRUE(loaded);
}
