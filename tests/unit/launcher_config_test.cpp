#include "package/launcher_config.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>

#include "package/ini_document.h"

namespace {

// Builds the model from a file's text; `built` tells whether it was accepted.
LauncherConfig Build(const std::string& file, bool* built = nullptr) {
  IniDocument document;
  EXPECT_TRUE(document.Load(file.data(), file.size()));
  LauncherConfig config;
  const bool ok = BuildConfig(document, &config);
  if (built != nullptr) *built = ok;
  return config;
}

}  // namespace

TEST(LauncherConfig, DefaultsOfAnAlmostEmptyFile) {
  bool built = false;
  const LauncherConfig c = Build("[global]\nlinkCount=1\n", &built);
  ASSERT_TRUE(built);
  EXPECT_EQ(c.gameheader, "");
  EXPECT_EQ(c.title, "");
  EXPECT_EQ(c.port, 80);
  EXPECT_EQ(c.minGameWidth, 800);
  EXPECT_EQ(c.minGameHeight, 600);
  EXPECT_EQ(c.titleColor, 16777215u);
  EXPECT_EQ(c.loginCenterColor, 16777215u);
  EXPECT_EQ(c.edgeImages, (std::array<int, 8>{9, 9, 9, 9, 9, 9, 9, 9}));
  ASSERT_EQ(c.links.size(), 1u);
  EXPECT_EQ(c.links[0].url, "_blank");
  EXPECT_EQ(c.links[0].type, 0);
  EXPECT_TRUE(c.sprites.empty());
  EXPECT_TRUE(c.gameButtons.empty());
  EXPECT_TRUE(c.menuItems.empty());
}

TEST(LauncherConfig, LinkCountBelowOneRejectsTheConfiguration) {
  const std::string everythingElse =
      "title=t\nfirstUrl=http://game/\nmenuCount=1\npicCount=1\ngameButtonCount=1\n[link1]\ntype=4\n";
  for (const char* linkCount : {"", "linkCount=0\n", "linkCount=-3\n", "linkCount=\n", "linkCount=none\n"}) {
    bool built = true;
    const LauncherConfig c = Build(std::string("[global]\n") + linkCount + everythingElse, &built);
    EXPECT_FALSE(built) << linkCount;
    EXPECT_TRUE(c.links.empty() && c.menuItems.empty() && c.sprites.empty() && c.gameButtons.empty());
  }
}

TEST(LauncherConfig, ReadsEveryKeyOfAFullFile) {
  const LauncherConfig c = Build(
      "[GLOBAL]\n"
      "gameheader=http://game/?\nlinkCount=2\ntitle=\xD3\xCE\xCF\xB7\nfirstUrl=abc\ncloseMsg=bye?\n"
      "notityTitle=tray\nnotifyCloseTitle=quit\nclearFlashTitle=ct\nclearFlashMsg=cm\n"
      "versionUrl=/v.txt\nexeUrl=/l.exe\nport=8080\nserver=127.0.0.1\nversion=1.01\n"
      "titleColor=12492\nloginCenterColor=0\nlogx=1\nlogy=2\ntitlex=3\ntitley=4\ntitleWidth=5\ntitleHeight=6\n"
      "minGameWidth=1000 ;\xD7\xEE\xD0\xA1\nminGameHeight=\n"
      "edgeImage1=1\nedgeImage2=2\nedgeImage3=3\nedgeImage4=4\nedgeImage6=6\nedgeImage7=7\nedgeImage8=8\n"
      "menuCount=2\npicCount=1\ngameButtonCount=3\n"
      "[link1]\nurl=http://a/\nx=10\ny=20\nwidth=30\nheight=40\ntype=4\n"
      "[link2]\nurl=\ntype=1\n"
      "[gamePic1]\nx=1\ny=2\nwidth=3\nheight=4\ninterval=5\n"
      "[gamebutton1]\nx=-28\ny=3\ntype=5\nimage=1\ncolor=255\nshortCut=12\ntitle=X\nurl=u\ntips=close\n"
      "[gamebutton3]\ntype=10\ntips=\xBB\xB9\xD4\xAD\n"  // 还原
      "[menu1]\ntitle=m\ntype=1\nshortCut=2\n"
      "[menu2]\ntitle=\xB0\xE6\xB1\xBE\xBA\xC5\ntype=4\n");  // 版本号
  EXPECT_EQ(c.gameheader, "http://game/?");
  EXPECT_EQ(c.title, "\xD3\xCE\xCF\xB7");
  EXPECT_EQ(c.firstUrl, "abc");
  EXPECT_EQ(c.closeMsg, "bye?");
  EXPECT_EQ(c.notityTitle, "tray");
  EXPECT_EQ(c.notifyCloseTitle, "quit");
  EXPECT_EQ(c.clearFlashTitle, "ct");
  EXPECT_EQ(c.clearFlashMsg, "cm");
  EXPECT_EQ(c.versionUrl, "/v.txt");
  EXPECT_EQ(c.exeUrl, "/l.exe");
  EXPECT_EQ(c.port, 8080);
  EXPECT_EQ(c.server, "127.0.0.1");
  EXPECT_EQ(c.version, "1.01");
  EXPECT_EQ(c.titleColor, 12492u);
  EXPECT_EQ(c.loginCenterColor, 0u);
  EXPECT_EQ((std::array<int, 6>{c.logx, c.logy, c.titlex, c.titley, c.titleWidth, c.titleHeight}),
            (std::array<int, 6>{1, 2, 3, 4, 5, 6}));
  EXPECT_EQ(c.minGameWidth, 1000);
  EXPECT_EQ(c.minGameHeight, 0);  // present but empty: 0, not the default
  EXPECT_EQ(c.edgeImages, (std::array<int, 8>{1, 2, 3, 4, 9, 6, 7, 8}));

  ASSERT_EQ(c.links.size(), 2u);
  EXPECT_EQ(c.links[0].url, "http://a/");
  EXPECT_EQ((std::array<int, 5>{c.links[0].x, c.links[0].y, c.links[0].width, c.links[0].height, c.links[0].type}),
            (std::array<int, 5>{10, 20, 30, 40, 4}));
  EXPECT_EQ(c.links[1].url, "");  // present and empty: not "_blank"

  ASSERT_EQ(c.sprites.size(), 1u);
  EXPECT_EQ(c.sprites[0].interval, 5);
  EXPECT_EQ(c.sprites[0].height, 4);

  ASSERT_EQ(c.gameButtons.size(), 3u);
  const GameButtonSpec& b = c.gameButtons[0];
  EXPECT_EQ(b.x, -28);
  EXPECT_EQ(b.type, 5);
  EXPECT_EQ(b.image, 1);
  EXPECT_EQ(b.color, 255u);
  EXPECT_EQ(b.shortCut, 12);
  EXPECT_EQ(b.title, "X");
  EXPECT_EQ(b.url, "u");
  EXPECT_EQ(b.tips, "close");
  EXPECT_EQ(c.gameButtons[1].color, 16777215u);  // [gamebutton2] missing: defaults
  EXPECT_EQ(c.gameButtons[1].type, 0);
  EXPECT_EQ(c.gameButtons[2].type, 10);
  EXPECT_EQ(c.gameButtons[2].tips, "\xBB\xB9\xD4\xAD");

  ASSERT_EQ(c.menuItems.size(), 2u);
  EXPECT_EQ(c.menuItems[0].shortCut, 2);
  EXPECT_EQ(c.menuItems[1].type, 4);
  EXPECT_EQ(c.menuItems[1].title, "\xB0\xE6\xB1\xBE\xBA\xC5");
}

TEST(LauncherConfig, ListsFollowTheirCountsNotTheSectionsPresent) {
  std::string file = "[global]\nlinkCount=6\nmenuCount=0\npicCount=-1\ngameButtonCount=1\n";
  for (int n = 1; n <= 7; ++n) file += "[link" + std::to_string(n) + "]\ntype=1\n";
  file += "[menu1]\ntype=1\n[gamePic1]\nx=1\n[gamebutton2]\ntype=5\n[link01]\ntype=9\n";
  const LauncherConfig c = Build(file);
  ASSERT_EQ(c.links.size(), 6u);
  EXPECT_EQ(c.links[5].type, 1);
  EXPECT_TRUE(c.menuItems.empty());
  EXPECT_TRUE(c.sprites.empty());
  ASSERT_EQ(c.gameButtons.size(), 1u);
  EXPECT_EQ(c.gameButtons[0].type, 0);

  const LauncherConfig sixth = Build("[global]\nlinkCount=6\n[link1]\ntype=4\n");
  ASSERT_EQ(sixth.links.size(), 6u);
  EXPECT_EQ(sixth.links[5].url, "_blank");
  EXPECT_EQ(sixth.links[5].type, 0);
}

TEST(LauncherConfig, AMistypedHugeCountIsBounded) {
  const LauncherConfig c = Build("[global]\nlinkCount=2000000000\nmenuCount=99999999\n");
  EXPECT_EQ(c.links.size(), 1000u);
  EXPECT_EQ(c.menuItems.size(), 1000u);
}

TEST(LauncherConfig, TextsAreCutToTheirFieldWidth) {
  const std::string longText(300, 'a');
  const LauncherConfig c = Build("[global]\nlinkCount=1\ngameheader=" + longText + "\ntitle=" + longText +
                                 "\n[link1]\nurl=" + longText + "\n");
  EXPECT_EQ(c.gameheader.size(), 63u);
  EXPECT_EQ(c.title.size(), 127u);
  EXPECT_EQ(c.links[0].url.size(), 255u);
  // 31 bytes of a 32-byte field end in the middle of the sixteenth 游: it is dropped whole.
  std::string chinese;
  for (int i = 0; i < 20; ++i) chinese += "\xD3\xCE";
  const LauncherConfig d =
      Build("[global]\nlinkCount=1\ngameButtonCount=1\n[gamebutton1]\ntitle=" + chinese + "\n");
  EXPECT_EQ(d.gameButtons[0].title, chinese.substr(0, 30));
}

TEST(LauncherConfig, KeyTableNamesEveryKeyOnceWithItsDefault) {
  std::set<std::string> seen;
  for (const KeyInfo& key : ConfigKeys())
    EXPECT_TRUE(seen.insert(std::string(key.section) + "/" + key.key).second) << key.key;
  auto find = [](const char* section, const char* name) {
    for (const KeyInfo& key : ConfigKeys())
      if (std::string(key.section) == section && std::string(key.key) == name) return key;
    ADD_FAILURE() << name;
    return KeyInfo{};
  };
  EXPECT_EQ(find("link", "url").defaultText, "_blank");
  EXPECT_EQ(find("link", "url").width, 256);
  EXPECT_EQ(find("global", "port").defaultNumber, 80);
  EXPECT_EQ(find("global", "edgeImage5").defaultNumber, 9);
  EXPECT_EQ(find("gamebutton", "color").defaultNumber, 16777215);
  EXPECT_EQ(find("global", "notityTitle").width, 64);
  EXPECT_EQ(find("global", "linkCount").kind, KeyKind::kInteger);
}

TEST(LauncherConfig, UpdateKeyIsReadAsTextCutOnlyBeyond127Bytes) {
  struct Case {
    std::string line;
    std::string key;
  } cases[] = {
      {"", ""},
      {"updateKey=" + std::string(64, 'a') + "\n", std::string(64, 'a')},
      {"updateKey=  " + std::string(64, 'B') + "  \n", std::string(64, 'B')},
      // Longer than a key stays longer than a key, so it is still refused.
      {"updateKey=" + std::string(65, 'a') + "\n", std::string(65, 'a')},
      {"updateKey=" + std::string(300, 'a') + "\n", std::string(127, 'a')},
  };
  for (const Case& c : cases) EXPECT_EQ(Build("[global]\nlinkCount=1\n" + c.line).updateKey, c.key) << c.line;
}

// Both keys are off unless written: a skin without them gets physical
// pixels and no registered browser mode.
TEST(LauncherConfig, DpiScalingIsOnOnlyAtOneAndBrowserModeIsReadAsANumber) {
  struct Case {
    std::string lines;
    int dpiScaling;
    bool scales;
    int browserMode;
  } cases[] = {
      {"", 0, false, 0},
      {"dpiScaling=1\nbrowserMode=11001\n", 1, true, 11001},
      {"DPISCALING=1\nbrowsermode=11001 ;IE11\n", 1, true, 11001},
      {"dpiScaling=0\nbrowserMode=\n", 0, false, 0},
      {"dpiScaling=2\nbrowserMode=7000\n", 2, false, 7000},
      {"dpiScaling=-1\n", -1, false, 0},
      {"dpiScaling=yes\nbrowserMode=ie11\n", 0, false, 0},
  };
  for (const Case& c : cases) {
    const LauncherConfig config = Build("[global]\nlinkCount=1\n" + c.lines);
    EXPECT_EQ(config.dpiScaling, c.dpiScaling) << c.lines;
    EXPECT_EQ(ScalesWithDisplay(config), c.scales) << c.lines;
    EXPECT_EQ(config.browserMode, c.browserMode) << c.lines;
  }
  EXPECT_TRUE(IsValidDpiScaling(0));
  EXPECT_TRUE(IsValidDpiScaling(1));
  EXPECT_FALSE(IsValidDpiScaling(2));
  EXPECT_FALSE(IsValidDpiScaling(-1));
}

// textEncoding=utf-8 (any letter case) makes every text UTF-8, and the
// texts are cut to their fields by it, wherever in [global] the key stands;
// any other value, or none, keeps the GBK of every skin before the key.
TEST(LauncherConfig, TextEncodingDecidesHowEveryTextIsCut) {
  // "ab" and ten 전 of three bytes: 32 bytes for a field of 31.
  std::string korean = "ab";
  for (int i = 0; i < 10; ++i) korean += "\xEC\xA0\x84";
  const std::string utf8Cut = korean.substr(0, 29);  // 전 never split
  const std::string gbkCut = korean.substr(0, 30);   // GBK's pairs, as always
  struct Case {
    std::string line;
    std::string keyRead;
    TextEncoding encoding;
  } cases[] = {
      {"", "", TextEncoding::kGbk},
      {"textEncoding=utf-8\n", "utf-8", TextEncoding::kUtf8},
      {"TEXTENCODING = UTF-8 \n", "UTF-8", TextEncoding::kUtf8},
      {"textEncoding=gbk\n", "gbk", TextEncoding::kGbk},
      {"textEncoding=\n", "", TextEncoding::kGbk},
      {"textEncoding=utf8\n", "utf8", TextEncoding::kGbk},
      {"textEncoding=utf-8 ;unicode\n", "utf-8 ;unicode", TextEncoding::kGbk},
      {"textEncoding=" + std::string(20, 'x') + "\n", std::string(15, 'x'), TextEncoding::kGbk},
  };
  for (const Case& c : cases) {
    // The key after the texts it governs, and a section after [global].
    const LauncherConfig config = Build("[global]\nlinkCount=1\ngameButtonCount=1\ntitle=" + korean + "\n" + c.line +
                                        "[gamebutton1]\ntitle=" + korean + "\ntips=" + korean + "\n");
    EXPECT_EQ(config.textEncoding, c.keyRead) << c.line;
    EXPECT_EQ(SkinTextEncoding(config), c.encoding) << c.line;
    const std::string& cut = c.encoding == TextEncoding::kUtf8 ? utf8Cut : gbkCut;
    EXPECT_EQ(config.gameButtons[0].title, cut) << c.line;
    EXPECT_EQ(config.gameButtons[0].tips, cut) << c.line;
    EXPECT_EQ(config.title, korean) << c.line;  // 32 bytes fit a field of 128
  }
  const auto key = std::find_if(ConfigKeys().begin(), ConfigKeys().end(), [](const KeyInfo& k) {
    return std::string(k.section) == "global" && std::string(k.key) == "textEncoding";
  });
  ASSERT_NE(key, ConfigKeys().end());
  EXPECT_EQ(key->kind, KeyKind::kText);
  EXPECT_EQ(key->width, 16);
}
