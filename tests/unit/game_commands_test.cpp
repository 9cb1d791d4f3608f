#include "game/game_commands.h"

#include <gtest/gtest.h>

#include "game/title_bar.h"

namespace {

GameButtonSpec Button(int type, int shortCut) {
  GameButtonSpec b;
  b.type = type;
  b.shortCut = shortCut;
  return b;
}

MenuItemSpec Item(int type, int shortCut, std::string title = "") {
  MenuItemSpec m;
  m.type = type;
  m.shortCut = shortCut;
  m.title = std::move(title);
  return m;
}

using A = GameAction;

}  // namespace

TEST(ShortcutTable, LaterPassesWinAndRecordsOfOtherKindsBindNothing) {
  LauncherConfig config;
  config.gameButtons = {Button(8, 9),  Button(5, 3),  Button(10, 3), Button(1, 4),  Button(6, 13),
                        Button(7, 0),  Button(11, 2), Button(12, 6), Button(7, 12), Button(5, 1)};
  config.menuItems = {Item(3, 2), Item(1, 5), Item(2, 5), Item(4, 7), Item(1, -1)};
  const ShortcutTable table = BuildShortcutTable(config);
  EXPECT_EQ(ShortcutAction(table, 9), A::kHideToTray);
  EXPECT_EQ(ShortcutAction(table, 3), A::kRestore);            // kind 10 comes after kind 5
  EXPECT_EQ(ShortcutAction(table, 2), A::kToggleFullScreen);   // menus after buttons
  EXPECT_EQ(ShortcutAction(table, 5), A::kRelogin);            // menu type 1 after type 2
  EXPECT_EQ(ShortcutAction(table, 12), A::kMinimise);
  EXPECT_EQ(ShortcutAction(table, 1), A::kConfirmClose);
  for (int key : {4, 6, 7, 8, 10, 11}) EXPECT_EQ(ShortcutAction(table, key), A::kNone) << key;
  EXPECT_EQ(ShortcutAction(table, 0), A::kNone);
  EXPECT_EQ(ShortcutAction(table, 13), A::kNone);
}

TEST(GameCommands, ButtonAndMenuIdentifiersMapToTheirActions) {
  struct Case {
    unsigned id;
    A action;
  } buttons[] = {{181, A::kNone}, {185, A::kConfirmClose}, {186, A::kMaximise}, {187, A::kMinimise},
                 {188, A::kHideToTray}, {189, A::kNone}, {190, A::kRestore}, {191, A::kShowSettingsMenu},
                 {192, A::kNone}, {180, A::kNone}, {5, A::kNone}};
  for (const Case& c : buttons) EXPECT_EQ(ButtonCommandAction(c.id), c.action) << c.id;
  Case menus[] = {{2035, A::kRelogin}, {2036, A::kConfirmClearCache}, {2037, A::kToggleFullScreen},
                  {2038, A::kNone},    {2039, A::kNone},              {2034, A::kNone}};
  for (const Case& c : menus) EXPECT_EQ(MenuCommandAction(c.id), c.action) << c.id;
}

TEST(GameCommands, FunctionKeysAreF1ToF12Only) {
  struct Case {
    unsigned key;
    int number;
  } cases[] = {{0x70, 1}, {0x79, 10}, {0x7B, 12}, {0x6F, 0}, {0x7C, 0}, {0x0D, 0}, {0x1B, 0}, {0, 0}};
  for (const Case& c : cases) EXPECT_EQ(FunctionKeyNumber(c.key), c.number) << c.key;
}

TEST(GameCommands, SettingsMenuLabelsAreNeverCut) {
  LauncherConfig config;
  config.version = std::string(64, 'v');
  config.menuItems = {Item(4, 0, std::string(31, 't'))};
  EXPECT_EQ(SettingsMenuEntries(config).at(0).label, std::string(31, 't') + std::string(64, 'v'));
}

TEST(GameCommands, SettingsMenuListsItemsInFileOrderWithTheVersionJoined) {
  LauncherConfig config;
  config.version = "1.01";
  config.menuItems = {Item(1, 0, "relogin"), Item(4, 0, "\xB0\xE6\xB1\xBE\xBA\xC5"), Item(9, 0, "odd")};
  EXPECT_EQ(SettingsMenuEntries(config),
            (std::vector<MenuEntry>{{2035, "relogin"}, {2038, "\xB0\xE6\xB1\xBE\xBA\xC5" "1.01"}, {2043, "odd"}}));
}

TEST(GameCommands, TrayNotificationsByIconAndMouseMessage) {
  struct Case {
    std::uintptr_t icon;
    unsigned message;
    TrayResponse response;
  } cases[] = {
      {127, 0x0202, TrayResponse::kNotOurs},  {128, 0x0200, TrayResponse::kNothing},
      {128, 0x0201, TrayResponse::kNothing},  {128, 0x0202, TrayResponse::kShowWindow},
      {128, 0x0203, TrayResponse::kShowWindow}, {128, 0x0204, TrayResponse::kNothing},
      {128, 0x0205, TrayResponse::kExitMenu}, {128, 0x0206, TrayResponse::kNothing},
  };
  for (const Case& c : cases) EXPECT_EQ(OnTrayNotification(c.icon, c.message), c.response) << c.message;
}

TEST(GameCommands, AHiddenWindowIsNeverLeftWithoutAWayBack) {
  struct Case {
    bool hidden, closing, present;
    bool show, addAgain;
  } cases[] = {
      {true, false, false, true, true},   {true, true, false, false, true},
      {false, false, false, false, false}, {false, false, true, false, true},
      {true, false, true, true, true},    {false, true, false, false, false},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ShowAfterTrayMenu(c.hidden, c.closing), c.show) << c.hidden << c.closing;
    EXPECT_EQ(AddIconAgain(c.present, c.hidden), c.addAgain) << c.present << c.hidden;
  }
}

TEST(TitleBar, PagesMaySetWebAddressesOnly) {
  struct Case {
    const char* link;
    bool taken;
  } cases[] = {
      {"http://game.example/pay?a=1;b=2", true}, {"https://game.example/", true}, {"HTTP://GAME/", true},
      {"hTtPs://x", true},                       {"http://", true},              {"file:///c:/windows/calc.exe", false},
      {"C:\\Windows\\calc.exe", false},      {"calc", false},                {"", false},
      {" http://game/", false},                  {"http:/game", false},          {"https:game", false},
      {"mailto:a@b", false},                     {"javascript:alert(1)", false}, {"\\\\server\\share", false},
  };
  for (const Case& c : cases) EXPECT_EQ(PageMayLink(c.link), c.taken) << c.link;
}

TEST(TitleBar, ButtonSpritesAndFrames) {
  GameButtonSpec b;
  for (auto [image, index] : {std::pair{0, -1}, {1, 0}, {3, 2}, {4, -1}, {-5, -1}, {2147483647, -1}}) {
    b.image = image;
    EXPECT_EQ(ButtonSpriteIndex(b, 3), index) << image;
  }
  const SpriteSpec sprite{10, 20, 30, 15, 2};
  const ButtonFrames frames = ButtonFramesOf(sprite);
  EXPECT_EQ(frames.normal, (Rect{10, 20, 40, 35}));
  EXPECT_EQ(frames.pressed, (Rect{10, 37, 40, 52}));
  EXPECT_EQ(frames.hover, (Rect{10, 54, 40, 69}));
  const ButtonFrames huge = ButtonFramesOf(SpriteSpec{0, 2000000000, 10, 2000000000, 2000000000});
  EXPECT_EQ(huge.hover.top, 2147483647);  // not a wrapped negative number
  EXPECT_TRUE(ButtonOpensLink(1));
  EXPECT_TRUE(ButtonOpensLink(12));
  EXPECT_FALSE(ButtonOpensLink(5));
}
