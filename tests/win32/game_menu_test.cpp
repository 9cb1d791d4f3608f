// The game window's menus and tray icon in the test's own process: the
// settings menu's items and place, the commands of its items, the tray
// icon's exit menu and the ways back of a hidden window.
#include "game_fixture.h"
#include "launcher_driver.h"
#include "tray_probe.h"

using namespace testkit;

namespace {

using Items = std::vector<std::pair<UINT, std::string>>;

}  // namespace

TEST_F(GameWindowTest, SettingsMenuListsTheItemsInFileOrderBelowItsButton) {
  LoadSkin();
  CGameDialog game(TestSkin());
  RunGameWindow(game, [&] {
    const ShownMenu menu = ReadMenuWhileShown([&] { game.ShowSettingsMenu(); });
    EXPECT_EQ(menu.items,
              (Items{{2035, kMenuLabels[0]}, {2036, kMenuLabels[1]}, {2037, kMenuLabels[2]}, {2038, kMenuLabels[3]}}));
    const RECT button = WindowRect(GetDlgItem(game.Handle(), 191));
    EXPECT_EQ(menu.rect.left, button.left);
    EXPECT_EQ(menu.rect.top, button.bottom + 1);

    // The version item and identifiers of other types do nothing; full
    // screen does what it says.
    for (UINT id : {2038u, 2039u, 2034u}) SendMessageA(game.Handle(), WM_COMMAND, id, 0);
    EXPECT_TRUE(game.IsRunningModal());
    EXPECT_EQ(game.SizeState().fullScreen, false);
    EXPECT_TRUE(IsWindowVisible(game.Handle()));
    SendMessageA(game.Handle(), WM_COMMAND, 2037, 0);
    EXPECT_TRUE(game.SizeState().fullScreen);
    SendMessageA(game.Handle(), WM_COMMAND, 2037, 0);
    EXPECT_FALSE(game.SizeState().fullScreen);
    EndSoon(game);
  });
}

TEST_F(GameWindowTest, ASettingsShortcutWithoutItsButtonOpensTheMenuAtThePointer) {
  LoadSkin({.buttons = "gameButtonCount=1\r\n[gamebutton1]\r\ntype=11\r\nx=-30\r\nimage=0\r\nshortCut=7\r\n",
            .menus = "menuCount=2\r\n[menu1]\r\ntitle=Full\r\ntype=3\r\n[menu2]\r\ntitle=v\r\ntype=4\r\n"});
  CGameDialog game(TestSkin());
  RunGameWindow(game, [&] {
    SetCursorPos(200, 300);
    const ShownMenu menu = ReadMenuWhileShown([&] {
      MSG f7{game.Handle(), WM_KEYDOWN, VK_F7, 0, 0, {}};
      EXPECT_TRUE(game.PreTranslateMessage(&f7));
    });
    EXPECT_EQ(menu.items, (Items{{2037, "Full"}, {2038, "v1.2.3"}}));
    EXPECT_EQ(menu.rect.left, 200);
    EXPECT_EQ(menu.rect.top, 300);
    EndSoon(game);
  });
}

// The window hides, and the steps after each hiding run from the window's
// loop, as the shell's notifications come: when the window has taken what
// hiding brought it.
TEST_F(GameWindowTest, AHiddenWindowAlwaysKeepsAWayBack) {
  LoadSkin();
  CGameDialog game(TestSkin());
  RunGameWindow(game, [&] {
    const HWND w = game.Handle();
    auto notify = [w](WPARAM icon, LPARAM mouse) { return SendMessageA(w, 2025, icon, mouse); };
    EXPECT_FALSE(IconPresent(w));
    game.HideToTray();
    Then([&, w, notify] {
      EXPECT_FALSE(IsWindowVisible(w));
      EXPECT_TRUE(IconPresent(w));
      // Only icon 128's releases and double-clicks of the left button show it.
      EXPECT_EQ(notify(127, WM_LBUTTONUP), 1);
      for (LPARAM ignored : {WM_MOUSEMOVE, WM_LBUTTONDOWN, WM_RBUTTONDOWN}) EXPECT_EQ(notify(128, ignored), 0);
      EXPECT_FALSE(IsWindowVisible(w));
      EXPECT_EQ(notify(128, WM_LBUTTONDBLCLK), 0);
      EXPECT_TRUE(IsWindowVisible(w));
      EXPECT_TRUE(IconPresent(w));  // the icon stays

      // The exit menu dismissed while hidden: the icon goes, the window
      // comes back.
      game.HideToTray();
      Then([&, w, notify] {
        const ShownMenu menu = ReadMenuWhileShown([&] { notify(128, WM_RBUTTONUP); });
        EXPECT_EQ(menu.items, (Items{{IDCANCEL, "Exit game"}}));
        EXPECT_FALSE(IconPresent(w));
        EXPECT_FALSE(game.TrayIconPresent());
        EXPECT_TRUE(IsWindowVisible(w));

        // A new taskbar gets the icon again only while the window is hidden
        // or had its icon.
        PostMessageA(w, RegisterWindowMessageA("TaskbarCreated"), 0, 0);
        Then([&, w, notify] {
          EXPECT_FALSE(IconPresent(w));
          game.HideToTray();
          RemoveIcon(w);  // the shell went and took the icon with it
          PostMessageA(w, RegisterWindowMessageA("TaskbarCreated"), 0, 0);
          Then([&, w, notify] {
            EXPECT_TRUE(IconPresent(w));
            EXPECT_FALSE(IsWindowVisible(w));
            // The exit chosen and not confirmed: the window comes back too.
            MessageBoxView question;
            AnswerMessageBox(IDCANCEL, &question);
            ReadMenuWhileShown([&] { notify(128, WM_RBUTTONUP); }, 0);
            EXPECT_EQ(question.text, "Quit?");
            EXPECT_TRUE(game.IsRunningModal());
            EXPECT_TRUE(IsWindowVisible(w));
            EXPECT_FALSE(IconPresent(w));
            EndSoon(game);
          });
        });
      });
    });
  });
}

TEST_F(GameWindowTest, TheExitConfirmedFromTheTrayClosesTheHiddenWindow) {
  LoadSkin();
  CGameDialog game(TestSkin());
  bool shownAgain = true;
  const INT_PTR result = RunGameWindow(game, [&] {
    game.HideToTray();
    Then([&] {
      AnswerMessageBox(IDOK);
      ReadMenuWhileShown([&] { SendMessageA(game.Handle(), 2025, 128, WM_RBUTTONUP); }, 0);
      shownAgain = IsWindowVisible(game.Handle()) != FALSE;
    });
  });
  EXPECT_EQ(result, IDOK);
  EXPECT_FALSE(shownAgain);
}

// A cancel reaching the hidden window while its icon's menu is up is about
// the focus it gave up when it was hidden: on a loaded machine Wine's X11
// driver reports that focus-out late, and sends the foreground window (which
// the menu made of it) WM_CANCELMODE then, as sent here. The menu stays for
// the player.
TEST_F(GameWindowTest, TheTrayMenuOfAHiddenWindowOutlivesALateCancel) {
  LoadSkin();
  CGameDialog game(TestSkin());
  RunGameWindow(game, [&] {
    const HWND w = game.Handle();
    game.HideToTray();
    bool cancelled = false;
    // Cancels once the menu is up; the menu is looked at after that.
    const auto cancelledOnceUp = [&] {
      if (cancelled) return true;
      if (ShownMenuWindow() == nullptr) return false;
      SendMessageA(w, WM_CANCELMODE, 0, 0);
      cancelled = true;
      return false;
    };
    const ShownMenu menu = ReadMenuWhileShown([&] { SendMessageA(w, 2025, 128, WM_RBUTTONUP); }, -1, cancelledOnceUp);
    EXPECT_TRUE(cancelled);
    EXPECT_EQ(menu.items, (Items{{IDCANCEL, "Exit game"}}));
    EndSoon(game);
  });
}
