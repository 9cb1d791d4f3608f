// The game window's frame in the test's own process: hit-testing, cursors,
// the minimum size, moving by the title bar, its buttons, and an
// initialisation that stops half-way.
#include "game_fixture.h"
// After windows.h, which the fixture brings.
#include <commctrl.h>

#include "launcher_driver.h"
#include "tray_probe.h"

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
