// The game window of a packed launcher, driven from outside: its frame and
// size states, its title bar, its keys and its close question.
#include <gtest/gtest.h>

#include "game_driver.h"

using namespace testkit;

namespace {

RECT Offset(RECT r, int dx, int dy) {
  OffsetRect(&r, dx, dy);
  return r;
}

// The colour of each frame piece where the restored window `r` shows it.
void ExpectRestoredFrame(const RECT& r) {
  struct Spot {
    int piece;
    POINT at;
  } spots[] = {
      {1, {r.left + 1, r.top + 1}},      {2, {r.left + 300, r.top + 1}},   {3, {r.right - 2, r.top + 1}},
      {4, {r.left + 1, r.top + 300}},    {5, {r.right - 2, r.top + 300}},  {6, {r.left + 1, r.bottom - 2}},
      {7, {r.left + 300, r.bottom - 2}}, {8, {r.right - 2, r.bottom - 2}},
  };
  for (const Spot& s : spots) EXPECT_TRUE(ScreenShows(s.at, kPieceColours[s.piece - 1])) << "piece " << s.piece;
}

}  // namespace

TEST(GameWindow, StartsOverTheWholeWorkAreaWithTheRestoreButtonShown) {
  GameLauncher game;
  ASSERT_NE(game.window, nullptr) << game.launcher.Describe();
  const RECT work = WorkArea();
  EXPECT_EQ(WindowRect(game.window), work);
  EXPECT_EQ(WindowText(game.window), "Game Test");
  EXPECT_TRUE(GetWindowLongA(game.window, GWL_EXSTYLE) & WS_EX_APPWINDOW);
  EXPECT_FALSE(GetWindowLongA(game.window, GWL_STYLE) & (WS_CAPTION | WS_THICKFRAME));
  EXPECT_TRUE(IsWindowVisible(game.Child(190)));   // restore
  EXPECT_FALSE(IsWindowVisible(game.Child(186)));  // maximise, at the same place
  const int width = work.right - work.left, height = work.bottom - work.top;
  for (const SkinButton& b : kSkinButtons)
    EXPECT_EQ(game.ChildRect(180 + b.kind),
              (RECT{width + b.x, kButtonY, width + b.x + kButtonWidth, kButtonY + kButtonHeight}))
        << b.kind;
  EXPECT_EQ(game.ChildRect(170), (RECT{0, kTitleBarHeight, width, height}));
  EXPECT_EQ(game.ChildRect(300), (RECT{kLogoX, kLogoY, kLogoX + kLogoWidth, kLogoY + kLogoHeight}));
  // Only the top edge is drawn, across the whole width; the buttons, the
  // logo and the title lie on it.
  EXPECT_TRUE(ScreenShows({work.left + 1, work.top + 1}, kPieceColours[1]));
  EXPECT_TRUE(ScreenShows({work.right - 2, work.top + 1}, kPieceColours[1]));
  EXPECT_TRUE(ScreenShows({work.left + kLogoX + 2, work.top + kLogoY + 2}, kLogoColour));
  const RECT close = WindowRect(game.Child(185));
  EXPECT_TRUE(ScreenShows({close.left + 2, close.top + 2}, kButtonFaces[0]));
}

TEST(GameWindow, RestoreCentresTheGameSizeAndMaximiseComesBackToTheLastRectangle) {
  GameLauncher game;
  ASSERT_NE(game.window, nullptr) << game.launcher.Describe();
  game.Click(190);
  ASSERT_TRUE(Eventually([&] { return WindowRect(game.window) == CentredGameRect(); }));
  game.Idle();
  const RECT r = CentredGameRect();
  EXPECT_TRUE(IsWindowVisible(game.Child(186)));
  EXPECT_FALSE(IsWindowVisible(game.Child(190)));
  // The buttons keep off the right edge piece; logo and title stay.
  const int w5 = kPieceWidths[4];
  for (const SkinButton& b : kSkinButtons)
    EXPECT_EQ(game.ChildRect(180 + b.kind).left, kGameWidth + b.x - w5) << b.kind;
  EXPECT_EQ(game.ChildRect(300).left, kLogoX);
  EXPECT_EQ(game.ChildRect(170),
            (RECT{kPieceWidths[3], kTitleBarHeight, kGameWidth - w5, kGameHeight - kPieceHeights[6]}));
  ExpectRestoredFrame(r);

  // The player moves the window by its title bar (the pointer keeps its
  // place on the bar while the window follows), then maximises and restores.
  const POINT grab{r.left + 300, r.top + 10};
  game.Drag(grab, {{grab.x + 20, grab.y + 10}, {grab.x + 40, grab.y + 20}});
  const RECT moved = Offset(r, 40, 20);
  EXPECT_TRUE(Eventually([&] { return WindowRect(game.window) == moved; })) << WindowRect(game.window);
  game.Click(186);
  ASSERT_TRUE(Eventually([&] { return WindowRect(game.window) == WorkArea(); }));
  game.Idle();
  game.Click(190);
  EXPECT_TRUE(Eventually([&] { return WindowRect(game.window) == moved; }));

  // A drag on a maximised window's title bar does nothing.
  game.Click(186);
  ASSERT_TRUE(Eventually([&] { return WindowRect(game.window) == WorkArea(); }));
  game.Idle();
  game.Drag({300, 10}, {{320, 20}, {340, 25}});
  EXPECT_EQ(WindowRect(game.window), WorkArea());
}

TEST(GameWindow, EdgesAndCornersSizeARestoredWindowAboveTheMinimum) {
  GameLauncher game;
  ASSERT_NE(game.window, nullptr) << game.launcher.Describe();
  game.Key(VK_F3);  // restore
  const RECT r = CentredGameRect();
  ASSERT_EQ(WindowRect(game.window), r);
  // The bottom-left corner piece sizes from that corner.
  game.Drag({r.left + 2, r.bottom - 2}, {{r.left - 8, r.bottom + 13}, {r.left - 18, r.bottom + 28}});
  const RECT grown{r.left - 20, r.top, r.right, r.bottom + 30};
  EXPECT_TRUE(Eventually([&] { return WindowRect(game.window) == grown; })) << WindowRect(game.window);
  game.Idle();
  ExpectRestoredFrame(grown);
  // The left edge dragged past the minimum width: the right edge goes along.
  const int y = (grown.top + grown.bottom) / 2;
  game.Drag({grown.left + 2, y}, {{grown.left + 152, y}, {grown.left + 302, y}});
  const RECT narrowest{grown.left + 300, grown.top, grown.left + 300 + kGameWidth, grown.bottom};
  EXPECT_TRUE(Eventually([&] { return WindowRect(game.window) == narrowest; })) << WindowRect(game.window);
}

TEST(GameWindow, FunctionKeysRunTheirBindingsAndSystemKeysNever) {
  GameLauncher game;
  ASSERT_NE(game.window, nullptr) << game.launcher.Describe();
  game.Key(VK_F1);  // bound to nothing
  EXPECT_EQ(WindowRect(game.window), WorkArea());
  game.Key(VK_F3);  // restore
  EXPECT_EQ(WindowRect(game.window), CentredGameRect());
  // F10 comes as a system key, and so does any F-key with Alt: neither is
  // a shortcut, although maximise is bound to F10 and restore to F3.
  game.Key(VK_F10, true);
  game.Key(VK_F10, true, true);
  EXPECT_EQ(WindowRect(game.window), CentredGameRect());
  game.Key(VK_F10);
  EXPECT_EQ(WindowRect(game.window), WorkArea());
  game.Key(VK_F12);  // minimise
  EXPECT_TRUE(IsIconic(game.window));
  PostMessageA(game.window, WM_SYSCOMMAND, SC_RESTORE, 0);
  game.Settle();
  EXPECT_FALSE(IsIconic(game.window));
  EXPECT_EQ(WindowRect(game.window), WorkArea());  // the size state stayed

  // F5, bound to the settings item that logs in again, asks first.
  PostMessageA(game.window, WM_KEYDOWN, VK_F5, 1);
  const auto question = game.launcher.WaitForMessageBox();
  ASSERT_TRUE(question.has_value());
  EXPECT_EQ(question->text, "Quit?");
  question->Press(IDCANCEL);
  ASSERT_TRUE(Eventually([&] { return !IsWindow(question->hwnd); }));
  // F9 hides the window to the tray.
  game.Key(VK_F9);
  EXPECT_FALSE(IsWindowVisible(game.window));
  EXPECT_TRUE(IconPresent(game.window));
  game.Notify(128, WM_LBUTTONUP);
  EXPECT_TRUE(IsWindowVisible(game.window));
  RemoveIcon(game.window);
}

TEST(GameWindow, FullScreenCoversTheScreenWithThePageAloneAndComesBack) {
  GameLauncher game;
  ASSERT_NE(game.window, nullptr) << game.launcher.Describe();
  const RECT screen{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
  const RECT work = WorkArea();
  struct Case {
    UINT sizeKey;  // the state before full screen: maximised (F10) or restored (F3)
    RECT rect;
    int shownButton, hiddenButton;
    RECT browser;  // in the window's client area: below the title bar, inside the edges when restored
  } cases[] = {
      {VK_F3, CentredGameRect(), 186, 190,
       {kPieceWidths[3], kTitleBarHeight, kGameWidth - kPieceWidths[4], kGameHeight - kPieceHeights[6]}},
      {VK_F10, work, 190, 186, {0, kTitleBarHeight, work.right - work.left, work.bottom - work.top}},
  };
  for (const Case& c : cases) {
    game.Key(c.sizeKey);
    ASSERT_EQ(WindowRect(game.window), c.rect);
    game.Key(VK_F11);
    EXPECT_EQ(WindowRect(game.window), screen);
    EXPECT_EQ(game.ChildRect(170), screen);
    for (int id : {185, 186, 187, 188, 190, 191, 192, 300}) EXPECT_FALSE(IsWindowVisible(game.Child(id))) << id;
    // Nothing of the frame: the page covers it all, up to the corners and
    // the top row, and the corners do not size.
    const COLORREF page = ScreenPixel(screen.right / 2, screen.bottom / 2);
    EXPECT_NE(page, kPieceColours[0]);
    EXPECT_NE(page, kPieceColours[1]);
    EXPECT_TRUE(ScreenShows({1, 1}, page));
    EXPECT_TRUE(ScreenShows({screen.right / 2, 1}, page));
    DWORD_PTR hit = 0;
    SendMessageTimeoutA(game.window, WM_NCHITTEST, 0, MAKELPARAM(screen.right - 1, screen.bottom - 1), SMTO_NORMAL,
                        5000, &hit);
    EXPECT_EQ(hit, static_cast<DWORD_PTR>(HTCLIENT));
    game.Key(VK_F11);
    EXPECT_EQ(WindowRect(game.window), c.rect);
    EXPECT_EQ(game.ChildRect(170), c.browser);
    // The title bar is drawn again over the top row the page had covered.
    EXPECT_TRUE(ScreenShows({(c.rect.left + c.rect.right) / 2, c.rect.top + 1}, kPieceColours[1]));
    EXPECT_TRUE(IsWindowVisible(game.Child(c.shownButton)));
    EXPECT_FALSE(IsWindowVisible(game.Child(c.hiddenButton)));
    EXPECT_TRUE(IsWindowVisible(game.Child(300)));
    EXPECT_TRUE(IsWindowVisible(game.Child(185)));
    if (c.sizeKey == VK_F3) ExpectRestoredFrame(c.rect);
  }
}

TEST(GameWindow, OnlyTheCloseQuestionAnsweredWithOkCloses) {
  GameLauncher game;
  ASSERT_NE(game.window, nullptr) << game.launcher.Describe();
  for (HWND target : {game.window, game.Child(170), game.Child(185)})
    for (WPARAM key : {VK_ESCAPE, VK_RETURN}) PostMessageA(target, WM_KEYDOWN, key, 1);
  game.Settle();
  EXPECT_FALSE(game.launcher.WaitForMessageBox(300).has_value());
  EXPECT_TRUE(IsWindowVisible(game.window));

  // The close button and the window's own close request both ask.
  for (int answer : {IDCANCEL, IDOK}) {
    if (answer == IDCANCEL)
      game.Click(185);
    else
      PostMessageA(game.window, WM_CLOSE, 0, 0);
    const auto box = game.launcher.WaitForMessageBox();
    ASSERT_TRUE(box.has_value()) << game.launcher.Describe();
    EXPECT_TRUE(IsQuestion(*box, "Quit?", "Launcher", game.window));
    box->Press(answer);
    if (answer == IDCANCEL) {
      ASSERT_TRUE(Eventually([&] { return !IsWindow(box->hwnd); }));
      EXPECT_TRUE(IsWindowVisible(game.window));
    }
  }
  EXPECT_EQ(game.launcher.WaitForExit(), 0u);
}
