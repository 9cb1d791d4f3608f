#include <gtest/gtest.h>

#include <set>

#include "checks/skin_check.h"
#include "game/title_bar.h"
#include "skins/folder_config.h"
#include "skins/skin_config.h"

namespace {

std::unique_ptr<FolderSkin> DemoSkin() {
  std::string error;
  auto skin = FolderSkin::Load(DEMO_SKIN, &error);
  EXPECT_NE(skin, nullptr) << error;
  if (skin != nullptr) {
    EXPECT_FALSE(ConvertConfigFromUtf8(*skin));
  }
  return skin;
}

}  // namespace

TEST(PackDemoSkin, ChecksClean) {
  auto skin = DemoSkin();
  ASSERT_NE(skin, nullptr);
  for (const Finding& finding : CheckSkin(*skin, {.convertedFromUtf8 = true})) ADD_FAILURE() << FormatFinding(finding);
}

TEST(PackDemoSkin, ShowsEveryKindOfLinkButtonAndMenuItem) {
  auto skin = DemoSkin();
  ASSERT_NE(skin, nullptr);
  const auto config = ReadSkinConfig(*skin);
  ASSERT_TRUE(config && config->accepted);
  const LauncherConfig& model = config->model;
  std::set<int> links, buttons, menu, pieces, keys;
  for (const LinkSpec& link : model.links) links.insert(link.type);
  for (const GameButtonSpec& button : model.gameButtons) {
    if (ButtonSpriteIndex(button, model.sprites.size()) >= 0) buttons.insert(button.type);
    if (button.shortCut != 0) keys.insert(button.shortCut);
  }
  for (const MenuItemSpec& item : model.menuItems) {
    menu.insert(item.type);
    if (item.shortCut != 0) keys.insert(item.shortCut);
  }
  pieces.insert(model.edgeImages.begin(), model.edgeImages.end());
  EXPECT_EQ(links, (std::set<int>{1, 2, 3, 4}));
  EXPECT_EQ(buttons, (std::set<int>{kButtonLink, kButtonClose, kButtonMaximise, kButtonMinimise, kButtonHideToTray,
                                    kButtonRestore, kButtonSettings, kButtonPageLink}));
  EXPECT_EQ(menu, (std::set<int>{1, 2, 3, 4}));
  EXPECT_EQ(pieces.size(), 8u);  // eight pieces of their own
  EXPECT_GE(keys.size(), 2u);
}
