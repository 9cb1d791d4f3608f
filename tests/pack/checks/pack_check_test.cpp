#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "checks/skin_check.h"
#include "formats/png_codec.h"
#include "pack_test_skin.h"
#include "skins/skin_source.h"

namespace {

using packtest::CleanConfig;
using packtest::SkinWithConfig;
using packtest::SkinWithMember;

std::vector<std::string> Check(const std::vector<SkinFile>& files, CheckOptions options = {}) {
  FolderSkin skin(files);
  std::vector<std::string> lines;
  for (const Finding& finding : CheckSkin(skin, options)) lines.push_back(FormatFinding(finding));
  return lines;
}

// The clean configuration with, for each edit, its first `from` replaced by `to`.
struct Edit {
  std::string from, to;
};
std::string Edited(std::initializer_list<Edit> edits) {
  std::string text = CleanConfig();
  for (const Edit& edit : edits) {
    const std::size_t at = text.find(edit.from);
    EXPECT_NE(at, std::string::npos) << edit.from;
    if (at != std::string::npos) text.replace(at, edit.from.size(), edit.to);
  }
  return text;
}
std::string Edited(const std::string& from, const std::string& to) { return Edited({{from, to}}); }

std::string Member(const std::vector<SkinFile>& files, const std::string& name) {
  for (const SkinFile& file : files)
    if (file.name == name) return file.content;
  return {};
}

std::string ButtonWith(Rgba corner) {
  RgbaImage button(20, 20, packtest::kButtonNormal);
  button.At(5, 5) = corner;
  button.At(6, 5) = corner;
  return EncodePng(button);
}

}  // namespace

TEST(PackCheck, TheCleanSkinHasNoFindings) { EXPECT_EQ(Check(packtest::CleanSkin()), std::vector<std::string>{}); }

TEST(PackCheck, EachBrokenSkinGetsItsFindings) {
  const std::string longTitle(130, 'a');
  const struct {
    const char* name;
    std::vector<SkinFile> files;
    std::vector<std::string> findings;
  } cases[] = {
      {"no linkCount",
       SkinWithConfig(Edited("linkCount=2\n", "")),
       {"config/cg.txt: error: [global] linkCount: missing: the launcher ends at once without a word"}},
      {"linkCount below 1",
       SkinWithConfig(Edited("linkCount=2", "linkCount=0")),
       {"config/cg.txt:4: error: [global] linkCount: is \"0\", below 1: the launcher ends at once without a word"}},
      {"no login background",
       SkinWithMember("config/main1.png", ""),
       {"config/main1.png: error: missing: the launcher stops at start (\"读取图片失败\")"}},
      {"login background named with a capital",
       [] {
         auto files = SkinWithMember("config/main1.png", "");
         files.push_back({"Config/main1.png", packtest::SolidPng(100, 80, packtest::kBackground)});
         return files;
       }(),
       {"config/main1.png: error: missing; there is \"Config/main1.png\", but the launcher looks names up exactly, "
        "letter case and \"/\" included: the launcher stops at start (\"读取图片失败\")"}},
      {"no sprite sheet",
       SkinWithMember("config/style.png", ""),
       {"config/style.png: error: missing: the game window stops building before its frame and its page "
        "(\"读取图片失败\")"}},
      {"no logo",
       SkinWithMember("config/logo.png", ""),
       {"config/logo.png: error: missing: the game window stops building at its logo: no title, no function keys, "
        "no task-bar button, and it is never laid out (\"读取图片失败\")"}},
      {"no pressed picture of a link button",
       SkinWithMember("config/2_d.png", ""),
       {"config/2_d.png: error: missing: the login window makes none of the links from [link2] on "
        "(\"读取图片失败\")"}},
      {"a link button's picture that is no PNG",
       SkinWithMember("config/2_n.png", "GIF89a"),
       {"config/2_n.png: error: not a PNG picture: the login window makes none of the links from [link2] on"}},
      {"an edge naming no sprite",
       SkinWithConfig(Edited("edgeImage3=3", "edgeImage3=12")),
       {"config/cg.txt:14: error: [global] edgeImage3: names sprite 12, but there are only 9 sprites ([global] "
        "picCount): the game window's top-right corner has no picture"}},
      {"an edge left to its default, and one sprite less",
       SkinWithConfig(Edited({{"picCount=9", "picCount=8"}, {"edgeImage5=5\n", ""}})),
       {"config/cg.txt: error: [global] edgeImage5: missing, so it names sprite 9 (the default), but there are "
        "only 8 sprites ([global] picCount): the game window's right edge has no picture",
        "config/cg.txt:71: warning: [gamePic9] never read: [global] picCount is \"8\"",
        "config/cg.txt:79: warning: [gamebutton1] image: names sprite 9, but there are only 8 sprites ([global] "
        "picCount): the launcher leaves this button out"}},
      {"a button naming no sprite",
       SkinWithConfig(Edited("image=9", "image=10")),
       {"config/cg.txt:80: warning: [gamebutton1] image: names sprite 10, but there are only 9 sprites ([global] "
        "picCount): the launcher leaves this button out"}},
      {"a sprite reaching outside the sheet",
       SkinWithConfig(Edited("[gamePic2]\nx=4", "[gamePic2]\nx=39")),
       {"config/cg.txt:38: error: [gamePic2] x: the picture, 2 × 6 at (39, 0), reaches outside config/style.png "
        "(40 × 40)"}},
      {"a button's hover picture reaching outside the sheet",
       SkinWithConfig(Edited("interval=1", "interval=20")),
       {"config/cg.txt:77: error: [gamePic9] interval: the hover picture, 10 × 8 at (24, 56), reaches outside "
        "config/style.png (40 × 40)"}},
      {"a text longer than its field",
       SkinWithConfig(Edited("title=Clean", "title=" + longTitle)),
       {"config/cg.txt:2: warning: [global] title: is 130 bytes long, but its field holds 127: the launcher keeps \"" +
        std::string(127, 'a') + "\""}},
      {"a UTF-8 file",
       SkinWithConfig(Edited("title=Clean", "title=\xE6\xBC\x94\xE7\xA4\xBA")),  // 演示
       {"config/cg.txt:2: error: is UTF-8, but the launcher reads GBK (code page 936), so its Chinese texts would "
        "show garbled; pack it with --from-utf8, or save it as GBK"}},
      {"a [global] header behind a byte-order mark",
       SkinWithConfig("\xEF\xBB\xBF" + CleanConfig()),
       {"config/cg.txt: error: [global] linkCount: missing, as is the whole [global] section: the launcher ends at "
        "once without a word",
        "config/cg.txt:1: error: is UTF-8 with a byte-order mark, but the launcher reads GBK (code page 936), so its "
        "Chinese texts would show garbled; pack it with --from-utf8, or save it as GBK",
        "config/cg.txt:1: error: [global] this header is hidden by the UTF-8 byte-order mark before it: the launcher "
        "takes the line for no header, so the keys below it up to the next header are never read"}},
      {"a misspelt key",
       SkinWithConfig(Edited("title=Clean\n", "title=Clean\nnotifyTitle=tip\n")),
       {"config/cg.txt:3: warning: [global] notifyTitle: unknown key, which the launcher ignores; did you mean "
        "notityTitle? (the launcher's key is spelled with \"ty\": notityTitle)"}},
      {"a misspelt section",
       SkinWithConfig(CleanConfig() + "[gamebuton2]\ntype=7\n"),
       {"config/cg.txt:83: warning: [gamebuton2] never read; did you mean [gamebutton2]?"}},
      {"a section beyond its count",
       SkinWithConfig(CleanConfig() + "[link3]\ntype=1\n"),
       {"config/cg.txt:83: warning: [link3] never read: [global] linkCount is \"2\""}},
      {"a key given twice",
       SkinWithConfig(CleanConfig() + "[global]\ntitle=Again\n"),
       {"config/cg.txt:84: warning: [global] title: given more than once (first on line 2): the launcher takes the "
        "value on this line"}},
      {"a firstUrl of two bytes",
       SkinWithConfig(Edited("title=Clean\n", "title=Clean\nfirstUrl=ab\n")),
       {"config/cg.txt:3: warning: [global] firstUrl: is 2 bytes long: only an address longer than 2 bytes opens "
        "the game window at once, so the launcher shows the login window instead"}},
      {"a number that is none",
       SkinWithConfig(Edited("logx=1", "logx=left")),
       {"config/cg.txt:8: warning: [global] logx: is \"left\", not a number: the launcher reads 0"}},
      {"a colour written in hexadecimal",
       SkinWithConfig(Edited("loginCenterColor=197121", "loginCenterColor=#FF0000")),
       {"config/cg.txt:5: warning: [global] loginCenterColor: is \"#FF0000\", but colours are decimal numbers, red "
        "+ 256 × green + 65536 × blue (white is 16777215): the launcher reads 0"}},
      {"a link of no type",
       SkinWithConfig(Edited("type=1", "type=7")),
       {"config/cg.txt:28: warning: [link2] type: is 7: the launcher makes nothing for this link (1 opens url, 2 "
        "minimises, 3 closes, 4 shows url in a browser area)"}},
      {"no browser area",
       SkinWithConfig(Edited("type=4", "type=2")),
       {"config/cg.txt:4: warning: [global] linkCount: no link is a browser area (type 4): the login window shows "
        "no login page, so it never opens the game window",
        "config/1_d.png: error: missing: the login window makes none of the links from [link1] on (\"读取图片失败\")",
        "config/1_n.png: error: missing: the login window makes none of the links from [link1] on (\"读取图片失败\")"}},
      {"an empty game header",
       SkinWithConfig(Edited("gameheader=client://go|", "gameheader=")),
       {"config/cg.txt:3: warning: [global] gameheader: is empty: every address hands over, so the login window "
        "closes at its first navigation (about:blank)"}},
      {"a title-bar button outside the window",
       SkinWithConfig(Edited("x=-14", "x=4")),
       {"config/cg.txt:81: warning: [gamebutton1] x: is 4: buttons are placed from the right edge of the window, so "
        "only a negative x is inside it"}},
      {"a function key beyond F12",
       SkinWithConfig(CleanConfig() + "shortCut=13\n"),
       {"config/cg.txt:83: warning: [gamebutton1] shortCut: is 13: only 1 to 12 (F1 to F12) give a key"}},
      {"a link button with transparent pixels",
       SkinWithMember("config/2_n.png", ButtonWith({9, 9, 9, 0})),
       {"config/2_n.png: warning: 2 pixels are not fully opaque, but the login window draws buttons without "
        "transparency, so their colour shows; paint see-through parts pure green (0, 255, 0) instead"}},
      {"a logo with a transparent pixel",
       SkinWithMember("config/logo.png",
                      [] {
                        RgbaImage logo(8, 8, packtest::kLogo);
                        logo.At(0, 0).a = 0;
                        return EncodePng(logo);
                      }()),
       {"config/logo.png: warning: 1 pixel is not fully opaque, but the game window shows its logo over its own grey "
        "face, not over the title bar; paint the title bar behind the logo into the picture"}},
      {"a frame piece with a transparent pixel",
       SkinWithMember("config/style.png",
                      [] {
                        std::string error;
                        RgbaImage sheet = DecodePng(Member(packtest::CleanSkin(), "config/style.png"), &error).value();
                        sheet.At(1, 1).a = 0;  // inside piece 1
                        return EncodePng(sheet);
                      }()),
       {"config/cg.txt:33: warning: [gamePic1] x: 1 of the sprite's pixels is not fully opaque, but the game window "
        "draws its frame and buttons without transparency, so their colour shows"}},
      {"a coordinate far beyond any screen",
       SkinWithConfig(Edited("x=70", "x=2147483647")),
       {"config/cg.txt:29: warning: [link2] x: is 2147483647, far beyond any screen: the launcher's sums with it "
        "overflow, and what it then shows is anyone's guess",
        "config/cg.txt:29: warning: [link2] x: the button, 20 × 20 at (2147483647, 10), reaches outside the login "
        "window (100 × 80): the part outside is not shown"}},
      {"a count beyond what the launcher reads",
       SkinWithConfig(Edited("gameButtonCount=1", "gameButtonCount=1001")),
       {"config/cg.txt:7: warning: [global] gameButtonCount: is 1001: the launcher reads at most 1000 sections of a "
        "kind",
        "config/cg.txt:7: warning: [gamebutton2] missing, though [global] gameButtonCount counts it: the launcher "
        "reads defaults and makes no button",
        "config/cg.txt:7: warning: [gamebutton3] missing, though [global] gameButtonCount counts it: the launcher "
        "reads defaults and makes no button",
        "config/cg.txt:7: warning: [gamebutton4] missing, though [global] gameButtonCount counts it: the launcher "
        "reads defaults and makes no button",
        "config/cg.txt:7: warning: [global] gameButtonCount: 996 more of the sections it counts are missing: the "
        "launcher reads defaults and makes no button"}},
      {"a login background larger than common screens",
       SkinWithMember("config/main1.png", packtest::SolidPng(1400, 80, packtest::kBackground)),
       {"config/main1.png: warning: is 1400 × 80, larger than common screens (1366 × 768 on many laptops): the login "
        "window, which takes its size, reaches past their edges"}},
      {"no configuration",
       SkinWithMember("config/cg.txt", ""),
       {"config/cg.txt: error: missing: the launcher stops at start (\"读取ini文件失败\")"}},
  };
  for (const auto& c : cases) EXPECT_EQ(Check(c.files), c.findings) << c.name;
}

TEST(PackCheck, AConvertedConfigurationIsNoFindingForItsEncoding) {
  const auto files = SkinWithConfig(Edited("title=Clean", "title=\xE6\xBC\x94\xE7\xA4\xBA"));
  EXPECT_EQ(Check(files, {.convertedFromUtf8 = true}), std::vector<std::string>{});
}

TEST(PackCheck, GbkTextsAreShownInUtf8) {
  const std::string gbkTitle = "\xD1\xDD\xCA\xBE";  // 演示 in GBK
  std::string title;
  for (int i = 0; i < 64; ++i) title += gbkTitle;  // 256 bytes
  const auto findings = Check(SkinWithConfig(Edited("title=Clean", "title=" + title)));
  ASSERT_EQ(findings.size(), 1u);
  std::string kept;
  for (int i = 0; i < 31; ++i) kept += "演示";
  kept += "演";  // 126 bytes: a character is never cut in half
  EXPECT_EQ(findings[0],
            "config/cg.txt:2: warning: [global] title: is 256 bytes long, but its field holds 127: the "
            "launcher keeps \"" +
                kept + "\"");
}

// Each broken line is named on its own line and comes first; where the
// launcher then reads the keys below it into another section, the findings
// that follow from that come after it (`consequences`).
TEST(PackCheck, EachLineTheLauncherIgnoresIsNamedOnItsLine) {
  const std::string utf16 = [] {
    std::string wide = "\xFF\xFE";
    for (const char c : CleanConfig()) wide += std::string{c, '\0'};
    return wide;
  }();
  const std::string ignored = ": it takes the line for neither a key=value entry nor a section header and ignores it";
  const std::string stillInLink1 =
      ": the launcher takes the value on this line; the section header on line 27 is ignored, so this key is still "
      "in this section";
  const struct {
    const char* name;
    std::string config;
    std::vector<std::string> findings;
    bool consequences = false;
  } cases[] = {
      {"a full-width equals sign",
       Edited("title=Clean",
              "title\xA3\xBD"
              "Clean"),
       {"config/cg.txt:2: warning: [global] this line uses the full-width \"＝\" of a Chinese input method where the "
        "launcher needs \"=\"" +
        ignored}},
      {"a full-width colon",
       Edited("title=Clean",
              "title\xA3\xBA"
              "Clean"),
       {"config/cg.txt:2: warning: [global] this line uses the full-width \"：\" of a Chinese input method where the "
        "launcher needs \"=\"" +
        ignored}},
      {"a header in full-width brackets",
       Edited("[link2]", "\xA1\xBElink2\xA1\xBF"),
       {"config/cg.txt:27: warning: [link1] this line uses the full-width \"【\" of a Chinese input method where the "
        "launcher needs \"[\"" +
        ignored},
       true},
      {"a header without its bracket",
       Edited("[link2]", "[link2"),
       {"config/cg.txt:27: warning: [link1] this section header has no \"]\": the launcher ignores the line, so the "
        "keys below it stay in [link1]; end it with \"]\"",
        "config/cg.txt:4: warning: [link2] missing, though [global] linkCount counts it: the launcher makes nothing "
        "for it",
        "config/cg.txt:4: warning: [global] linkCount: no link is a browser area (type 4): the login window shows no "
        "login page, so it never opens the game window",
        "config/cg.txt:28: warning: [link1] type: given more than once (first on line 21)" + stillInLink1,
        "config/cg.txt:29: warning: [link1] x: given more than once (first on line 22)" + stillInLink1,
        "config/cg.txt:30: warning: [link1] y: given more than once (first on line 23)" + stillInLink1,
        "config/cg.txt:31: warning: [link1] url: given more than once (first on line 26)" + stillInLink1,
        "config/1_d.png: error: missing: the login window makes none of the links from [link1] on (\"读取图片失败\")",
        "config/1_n.png: error: missing: the login window makes none of the links from [link1] on (\"读取图片失败\")"}},
      {"a line without an equals sign",
       Edited("title=Clean", "title Clean"),
       {"config/cg.txt:2: warning: [global] this line is neither a key=value entry nor a section header: the "
        "launcher ignores it"}},
      {"an entry without a key",
       Edited("title=Clean", "=Clean"),
       {"config/cg.txt:2: warning: [global] this line has no key before its \"=\": the launcher ignores the line"}},
      {"a comment line and a blank line", Edited("title=Clean\n", "; note\n  # another\n\ntitle=Clean\n"), {}},
      {"a key of another section",
       Edited("[link2]\n", "[link2]\ntitle=Go\n"),
       {"config/cg.txt:28: warning: [link2] title: is a key of [global], [gamebuttonN] and [menuN], not of [linkN]: "
        "the launcher ignores it here"}},
      {"a game button of no known type",
       Edited("type=5", "type=9"),
       {"config/cg.txt:79: warning: [gamebutton1] type: is 9: a button without a command (1 and 12 open url, 5 "
        "closes, 6 maximises, 7 minimises, 8 hides to the tray, 10 restores, 11 opens the menu)"}},
      {"a type 1 link without url",
       Edited("url=http://127.0.0.1/site.html\n", ""),
       {"config/cg.txt:28: warning: [link2] type: is 1, a button that opens url, but [link2] has no url: the "
        "launcher opens \"_blank\", an empty page"}},
      {"a comment after a text value",
       Edited("title=Clean", "title=Star Sea # the game's name"),
       {"config/cg.txt:2: warning: [global] title: is \"Star Sea # the game's name\": the launcher knows no comments "
        "after a value and keeps the \"#\" and what follows as part of it, not \"Star Sea\"; put the comment on a "
        "line of its own"}},
      {"a semicolon inside an address", Edited("site.html", "site.html?a=1;b=2"), {}},
      {"a comment after a number", Edited("logx=1", "logx=1 ; left"), {}},
      {"a UTF-16 file",
       utf16,
       {"config/cg.txt:1: error: is UTF-16 (\"Unicode\" in Notepad), but the launcher reads GBK and stops at the "
        "first zero byte, so it reads nothing of this file; save it as \"ANSI\" on a Chinese Windows (GBK), or as "
        "UTF-8 and pack it with --from-utf8"}},
      {"a UTF-8 file with a title too long in UTF-8 but not in GBK",
       Edited("title=Clean", "title=\xE6\xBC\x94\xE7\xA4\xBA" + std::string(122, 'a')),
       {"config/cg.txt:2: error: is UTF-8, but the launcher reads GBK (code page 936), so its Chinese texts would "
        "show garbled; pack it with --from-utf8, or save it as GBK"}},
  };
  for (const auto& c : cases) {
    std::vector<std::string> found = Check(SkinWithConfig(c.config));
    if (c.consequences && found.size() > c.findings.size()) found.resize(c.findings.size());
    EXPECT_EQ(found, c.findings) << c.name;
  }
}

// A skin from elsewhere must not drive the operator's terminal through the
// texts check and inspect print.
TEST(PackCheck, ControlCharactersOfTheSkinArePrintedEscaped) {
  packtest::TempDir dir;
  const std::string title = "\x1b]0;owned\x07" + std::string(130, 'a');
  packtest::WriteSkin(dir / "skin", SkinWithConfig(Edited("title=Clean", "title=" + title)));
  const auto check = packtest::Run({"check", (dir / "skin").string()});
  EXPECT_EQ(check.out.find('\x1b'), std::string::npos) << check.out;
  EXPECT_NE(check.out.find("is 140 bytes long, but its field holds 127: the launcher keeps \"\\x1b]0;owned\\x07aaa"),
            std::string::npos)
      << check.out;
  const auto inspect = packtest::Run({"inspect", (dir / "skin").string()});
  EXPECT_EQ(inspect.out.find('\x1b'), std::string::npos) << inspect.out;
  EXPECT_NE(inspect.out.find("title = \\x1b]0;owned\\x07aaa"), std::string::npos) << inspect.out;
}

// The update channel: whether what the launcher installs can be replaced on
// the way, and whether the key it trusts can be read at all.
TEST(PackCheck, UpdateChannelFindings) {
  const std::string key = "d75a980182b10ab7d54bfed3c964073a0ee172f3daa62325af021a68f707511a";
  const std::string keyInCapitals = "D75A980182B10AB7D54BFED3C964073A0EE172F3DAA62325AF021A68F707511A";
  // A release the launcher can ask for, after the server's line.
  const std::string paths = "versionUrl=/v.txt\nexeUrl=/Launcher.exe\nversion=1.02\n";
  const auto unsigned_ = [](int line) {
    return "config/cg.txt:" + std::to_string(line) +
           ": warning: [global] server: updates are not signed: anyone on the way (a public network, a false DNS "
           "answer, a proxy) can give every player a program of their own; add updateKey (`launcher-pack keygen`) "
           "and sign each release";
  };
  const auto badKey = [](int line) {
    return "config/cg.txt:" + std::to_string(line) +
           ": error: [global] updateKey: is not 64 hexadecimal digits: the launcher then installs no update at all "
           "(`launcher-pack keygen` prints a key's line)";
  };
  const auto httpsOn80 = [](int line) {
    return "config/cg.txt:" + std::to_string(line) +
           ": warning: [global] port: is 80 for an https server, which normally listens on 443";
  };
  const struct {
    const char* name;
    std::string lines;  // put into [global] after its title, from line 3 on
    std::vector<std::string> findings;
  } cases[] = {
      {"a server without a key", "server=game.example.com\n" + paths, {unsigned_(3)}},
      {"a server with a scheme in capitals and no key",
       "server=HTTP://game.example.com\nport=8080\n" + paths,
       {unsigned_(3)}},
      {"a name that only begins like a loopback address", "server=127.example.com\n" + paths, {unsigned_(3)}},
      {"a loopback address", "server=127.0.0.1\n" + paths, {}},
      {"another loopback address with a scheme", "server=http://127.1.2.3\n" + paths, {}},
      {"localhost", "server=https://localhost\nport=8443\n" + paths, {}},
      {"the IPv6 loopback address", "server=http://[::1]\n" + paths, {}},
      {"no server and no key", "port=80\n", {}},
      {"a signed server", "server=game.example.com\nupdateKey=" + key + "\n" + paths, {}},
      {"a key in capitals", "server=game.example.com\nupdateKey=" + keyInCapitals + "\n" + paths, {}},
      {"a key one digit short", "server=game.example.com\nupdateKey=" + key.substr(1) + "\n" + paths, {badKey(4)}},
      {"a key one digit long", "updateKey=" + key + "0\n", {badKey(3)}},
      {"a key with a letter beyond f", "updateKey=g" + key.substr(1) + "\n", {badKey(3)}},
      {"a key written as a C literal", "updateKey=0x" + key.substr(2) + "\n", {badKey(3)}},
      {"a key with a space inside", "updateKey=" + key.substr(0, 32) + " " + key.substr(33) + "\n", {badKey(3)}},
      {"an https server on port 80",
       "server=https://game.example.com\nport=80\nupdateKey=" + key + "\n" + paths,
       {httpsOn80(4)}},
      {"an https server in mixed case on port 80, unsigned",
       "server=Https://game.example.com\nport=80\n" + paths,
       {unsigned_(3), httpsOn80(4)}},
      {"an https server on 443", "server=https://game.example.com\nport=443\nupdateKey=" + key + "\n" + paths, {}},
      {"an http server on port 80", "server=http://game.example.com\nport=80\nupdateKey=" + key + "\n" + paths, {}},
  };
  for (const auto& c : cases)
    EXPECT_EQ(Check(SkinWithConfig(Edited("title=Clean\n", "title=Clean\n" + c.lines))), c.findings) << c.name;

  // The command itself advises, and says where the launcher will ask.
  packtest::TempDir dir;
  packtest::WriteSkin(dir / "skin",
                      SkinWithConfig(Edited("title=Clean\n", "title=Clean\nserver=game.example.com\n" + paths)));
  const auto check = packtest::Run({"check", (dir / "skin").string()});
  EXPECT_EQ(check.status, 1);
  EXPECT_EQ(check.out,
            "the launcher asks for:\n"
            "  http://game.example.com:80/v.txt  (the version file; its first line is the version offered)\n"
            "  http://game.example.com:80/Launcher.exe  (the new launcher, when that version is newer than its own)\n" +
                unsigned_(3) + "\n0 errors, 1 warning\n");
  const auto json = packtest::ParseJson(packtest::Run({"check", (dir / "skin").string(), "--json"}).out);
  ASSERT_TRUE(json);
  EXPECT_EQ(json->at("requests").at("versionFile"), "http://game.example.com:80/v.txt");
  EXPECT_EQ(json->at("requests").at("launcher"), "http://game.example.com:80/Launcher.exe");
  EXPECT_TRUE(json->at("requests").at("signature").is_null());  // unsigned: no signature is asked for
}

// What makes the launcher ask for the wrong thing, or never tell a newer
// version from its own: each names what the launcher would do instead.
TEST(PackCheck, UpdateRequestFindings) {
  const std::string key = "updateKey=d75a980182b10ab7d54bfed3c964073a0ee172f3daa62325af021a68f707511a\n";
  const std::string server = "server=game.example.com\n" + key;
  const std::string paths = "versionUrl=/v.txt\nexeUrl=/Launcher.exe\n";
  const struct {
    const char* name;
    std::string lines;                  // into [global] from line 3 on
    std::vector<std::string> findings;  // each finding's beginning
  } cases[] = {
      {"a port in the server",
       "server=game.example.com:8080\n" + key + paths + "version=1.02\n",
       {"config/cg.txt:3: error: [global] server: is \"game.example.com:8080\": a host name or address only; the "
        "launcher always adds \":\" and [global] port (80) after it (it would ask for "
        "\"http://game.example.com:8080:80/v.txt\")"}},
      {"a path in the server",
       "server=https://game.example.com/update\n" + key + paths + "version=1.02\nport=443\n",
       {"config/cg.txt:3: error: [global] server: is \"https://game.example.com/update\": a host name or address "
        "only; the path goes at the start of versionUrl and exeUrl (it would ask for "
        "\"https://game.example.com/update:443/v.txt\")"}},
      {"another scheme",
       "server=ftp://game.example.com\n" + key + paths + "version=1.02\n",
       {"config/cg.txt:3: error: [global] server: is \"ftp://game.example.com\": the launcher speaks http and https "
        "only"}},
      {"a full address as versionUrl",
       server + "versionUrl=http://game.example.com/v.txt\nexeUrl=/L.exe\nversion=1\n",
       {"config/cg.txt:5: error: [global] versionUrl: is \"http://game.example.com/v.txt\", a full address, but the "
        "launcher puts it after the server and port: it would ask for "
        "\"http://game.example.com:80http://game.example.com/v.txt\"; give the path alone, such as \"/v.txt\""}},
      {"a path without its slash",
       server + "versionUrl=/v.txt\nexeUrl=L.exe\nversion=1\n",
       {"config/cg.txt:6: error: [global] exeUrl: is \"L.exe\", which does not begin with \"/\": the launcher would "
        "ask for \"http://game.example.com:80L.exe\""}},
      {"a folder as exeUrl",
       server + "versionUrl=/v.txt\nexeUrl=/game/\nversion=1\n",
       {"config/cg.txt:6: error: [global] exeUrl: is \"/game/\", a folder, not a file: the server answers it with a "
        "page or a listing, not the new launcher"}},
      {"one file name for both",
       server + "versionUrl=/v/L.exe\nexeUrl=/e/L.exe\nversion=1\n",
       {"config/cg.txt:6: warning: [global] exeUrl: ends in \"L.exe\", the file name versionUrl ends in too: "
        "launcher-pack release cannot write both into one folder"}},
      {"no exeUrl",
       server + "versionUrl=/v.txt\nversion=1\n",
       {"config/cg.txt: error: [global] exeUrl: missing, though [global] server is set: the launcher would ask for "
        "\"http://game.example.com:80\" as the new launcher"}},
      {"no version",
       server + paths,
       {"config/cg.txt: error: [global] version: missing, though [global] server is set: the launcher reads it as "
        "0.0"}},
      {"a version with a letter",
       server + paths + "version=v2\n",
       {"config/cg.txt:7: error: [global] version: is \"v2\", which the launcher cannot compare: it reads whole "
        "numbers between dots and takes this as 0.0"}},
      {"a beta version",
       server + paths + "version=1.0-beta\n",
       {"config/cg.txt:7: error: [global] version: is \"1.0-beta\", which the launcher cannot compare: it reads "
        "whole numbers between dots and takes this as 1.0"}},
      {"three numbers",
       server + paths + "version=1.2.3\n",
       {"config/cg.txt:7: warning: [global] version: is \"1.2.3\": only the first two numbers count, so the "
        "launcher reads 1.2"}},
      {"no server: nothing asked, nothing compared", "version=v2\nexeUrl=http://x/y\n", {}},
      // The launcher names its files after the path alone: addresses made
      // unique for a cache work as they are.
      {"a query and a fragment", server + "versionUrl=/v.txt?nocache=1\nexeUrl=/game/L.exe?v=102#x\nversion=1\n", {}},
      {"a last part Windows cannot name a file after",
       server + "versionUrl=/v.txt\nexeUrl=/dl/get:exe?v=1\nversion=1\n",
       {"config/cg.txt:6: error: [global] exeUrl: is \"/dl/get:exe?v=1\": the launcher keeps what it fetches under the "
        "last part of the path (a query or fragment left out), and \"get:exe\" cannot name a file on Windows"}},
  };
  for (const auto& c : cases) {
    const auto found = Check(SkinWithConfig(Edited("title=Clean\n", "title=Clean\n" + c.lines)));
    ASSERT_EQ(found.size(), c.findings.size()) << c.name << ": " << testing::PrintToString(found);
    for (std::size_t i = 0; i < found.size(); ++i)
      EXPECT_TRUE(found[i].starts_with(c.findings[i])) << c.name << ":\n" << found[i] << "\n" << c.findings[i];
  }
}

// Slips of the hand the launcher reads otherwise than meant.
TEST(PackCheck, SlipsOfTheHandAreNamed) {
  const struct {
    const char* name;
    std::string config;
    std::vector<std::string> findings;
  } cases[] = {
      {"a colour written as red, green, blue",
       Edited("loginCenterColor=197121", "loginCenterColor=255,216,107"),
       {"config/cg.txt:5: warning: [global] loginCenterColor: is \"255,216,107\": the launcher reads 255 (red "
        "alone), since a colour is one number, red + 256 × green + 65536 × blue; for these three write 7067903"}},
      {"with spaces",
       Edited("loginCenterColor=197121", "loginCenterColor=1, 2 ,3"),
       {"config/cg.txt:5: warning: [global] loginCenterColor: is \"1, 2 ,3\": the launcher reads 1 (red alone), "
        "since a colour is one number, red + 256 × green + 65536 × blue; for these three write 197121"}},
      {"an empty url on a button",
       Edited("url=http://127.0.0.1/site.html", "url="),
       {"config/cg.txt:31: warning: [link2] url: is empty: the button opens nothing (only a missing url gives "
        "\"_blank\")"}},
      {"a full-width space in a key's name",
       Edited("url=http://127.0.0.1/site.html", "url\xA1\xA1=http://x/"),
       {"config/cg.txt:31: warning: [link2] url　: the name holds a full-width space (\"　\"), so the launcher "
        "reads a key of this name and not url: delete the space, or type it again as an ordinary one"}},
      {"the login page's own url is the game header and no web address",
       Edited("url=http://127.0.0.1/login.html", "url=client://go|login.html"),
       {"config/cg.txt:26: warning: [link1] url: begins with [global] gameheader \"client://go|\", but what "
        "follows, \"login.html\", is no web address: the launcher hands over only an address that begins with "
        "http:// or https://"}},
  };
  for (const auto& c : cases) {
    const auto found = Check(SkinWithConfig(c.config));
    ASSERT_EQ(found.size(), c.findings.size()) << c.name << ": " << testing::PrintToString(found);
    for (std::size_t i = 0; i < found.size(); ++i)
      EXPECT_TRUE(found[i].starts_with(c.findings[i])) << c.name << ":\n" << found[i] << "\n" << c.findings[i];
  }
  // A web address after the header hands over, as meant.
  EXPECT_TRUE(
      Check(SkinWithConfig(Edited("url=http://127.0.0.1/login.html", "url=client://go|http://127.0.0.1/g.html")))
          .empty());
}

namespace {

// The clean skin taking the display's scale, with the members given added
// (or put in place of the clean skin's own).
std::vector<SkinFile> ScalingSkinWith(const std::vector<SkinFile>& added) {
  std::vector<SkinFile> files = SkinWithConfig(Edited("title=Clean", "title=Clean\ndpiScaling=1"));
  for (const SkinFile& file : added) {
    std::erase_if(files, [&](const SkinFile& f) { return f.name == file.name; });
    files.push_back(file);
  }
  return files;
}

}  // namespace

// The launcher shows a @2x picture only at exactly twice its 1x picture's
// size, beside it, in a skin with dpiScaling=1: the logo is 8 × 8, the
// sprite sheet 40 × 40.
TEST(PackCheck, DoubleSizePicturesAreExactlyTwiceTheirOwnPicture) {
  const std::string notTwice =
      ": a @2x picture must be exactly twice as wide and twice as high (16 × 16), so the launcher never shows it, "
      "and resizes config/logo.png instead";
  const auto logo = [](int width, int height) {
    return SkinFile{"config/logo@2x.png", packtest::SolidPng(width, height, packtest::kLogo)};
  };
  const struct {
    const char* name;
    std::vector<SkinFile> files;
    std::vector<std::string> findings;
  } cases[] = {
      {"exactly twice", ScalingSkinWith({logo(16, 16)}), {}},
      {"a whole skin of them",
       ScalingSkinWith({logo(16, 16),
                        {"config/main1@2x.png", packtest::SolidPng(200, 160, packtest::kBackground)},
                        {"config/2_n@2x.png", packtest::SolidPng(40, 40, packtest::kButtonNormal)},
                        {"config/2_d@2x.png", packtest::SolidPng(40, 40, packtest::kButtonPressed)},
                        {"config/style@2x.png", packtest::SolidPng(80, 80, packtest::kBackground)}}),
       {}},
      {"a pixel wider",
       ScalingSkinWith({logo(17, 16)}),
       {"config/logo@2x.png: error: is 17 × 16, but config/logo.png is 8 × 8" + notTwice}},
      {"a pixel narrower",
       ScalingSkinWith({logo(15, 16)}),
       {"config/logo@2x.png: error: is 15 × 16, but config/logo.png is 8 × 8" + notTwice}},
      {"a pixel higher",
       ScalingSkinWith({logo(16, 17)}),
       {"config/logo@2x.png: error: is 16 × 17, but config/logo.png is 8 × 8" + notTwice}},
      {"a pixel lower",
       ScalingSkinWith({logo(16, 15)}),
       {"config/logo@2x.png: error: is 16 × 15, but config/logo.png is 8 × 8" + notTwice}},
      {"the 1x size",
       ScalingSkinWith({logo(8, 8)}),
       {"config/logo@2x.png: error: is 8 × 8, but config/logo.png is 8 × 8" + notTwice}},
      {"a sprite sheet of 1.5 times the size",
       ScalingSkinWith({{"config/style@2x.png", packtest::SolidPng(60, 60, packtest::kBackground)}}),
       {"config/style@2x.png: error: is 60 × 60, but config/style.png is 40 × 40: a @2x picture must be exactly "
        "twice as wide and twice as high (80 × 80), so the launcher never shows it, and resizes config/style.png "
        "instead"}},
      {"any picture of the skin, whether the launcher reads it or not",
       ScalingSkinWith({{"config/extra.png", packtest::SolidPng(5, 5, packtest::kLogo)},
                        {"config/extra@2x.png", packtest::SolidPng(10, 11, packtest::kLogo)}}),
       {"config/extra@2x.png: error: is 10 × 11, but config/extra.png is 5 × 5: a @2x picture must be exactly "
        "twice as wide and twice as high (10 × 10), so the launcher never shows it, and resizes config/extra.png "
        "instead"}},
      {"one that is no PNG",
       ScalingSkinWith({{"config/logo@2x.png", "GIF89a"}}),
       {"config/logo@2x.png: error: not a PNG picture: the launcher never shows it, and resizes config/logo.png "
        "instead"}},
      {"one without its 1x picture",
       ScalingSkinWith({{"config/3_n@2x.png", packtest::SolidPng(40, 40, packtest::kButtonNormal)}}),
       {"config/3_n@2x.png: warning: has no 1x picture beside it (config/3_n.png: missing): the launcher shows a "
        "@2x picture only in place of its 1x picture, so never this one"}},
      {"one whose 1x picture is named with a capital",
       ScalingSkinWith({{"config/Logo@2x.png", packtest::SolidPng(16, 16, packtest::kLogo)}}),
       {"config/Logo@2x.png: warning: has no 1x picture beside it (config/Logo.png: missing; there is "
        "\"config/logo.png\", but the launcher looks names up exactly, letter case and \"/\" included): the "
        "launcher shows a @2x picture only in place of its 1x picture, so never this one"}},
      {"fitting ones in a skin that keeps physical pixels",
       [&] {
         auto files = SkinWithMember("config/main1@2x.png", "");
         files.push_back(logo(16, 16));
         files.push_back({"config/main1@2x.png", packtest::SolidPng(200, 160, packtest::kBackground)});
         return files;
       }(),
       {"config/cg.txt: warning: [global] dpiScaling: missing, so the windows keep physical pixels at every "
        "display scale and the launcher never shows the skin's @2x pictures (config/logo@2x.png and 1 more); "
        "dpiScaling=1 shows them from 150 % on"}},
  };
  for (const auto& c : cases) EXPECT_EQ(Check(c.files), c.findings) << c.name;
}

// browserMode is a document mode the browser control knows, or 0;
// dpiScaling is 0 or 1, as the launcher means them.
TEST(PackCheck, BrowserModeAndDpiScalingTakeTheValuesTheLauncherKnows) {
  const std::string modes =
      ", no document mode the browser control knows: the launcher registers nothing, so the control draws pages "
      "as Internet Explorer 7 did unless a page asks for more; give one of 7000, 8000, 8888, 9000, 9999, 10000, "
      "10001, 11000, 11001 (11001: the newest, whatever a page's DOCTYPE says), or 0 to register nothing";
  const std::string scaling =
      ": only 1 makes the windows take the display's scale, and the launcher takes any other value as 0, physical "
      "pixels";
  const struct {
    std::string line;
    std::vector<std::string> findings;
  } cases[] = {
      {"browserMode=0", {}},
      {"browserMode=7000", {}},
      {"browserMode=8000", {}},
      {"browserMode=8888", {}},
      {"browserMode=9000", {}},
      {"browserMode=9999", {}},
      {"browserMode=10000", {}},
      {"browserMode=10001", {}},
      {"browserMode=11000", {}},
      {"browserMode=11001", {}},
      {"browserMode=11002", {"config/cg.txt:3: error: [global] browserMode: is 11002" + modes}},
      {"browserMode=7001", {"config/cg.txt:3: error: [global] browserMode: is 7001" + modes}},
      {"browserMode=11", {"config/cg.txt:3: error: [global] browserMode: is 11" + modes}},
      {"browserMode=-11001", {"config/cg.txt:3: error: [global] browserMode: is -11001" + modes}},
      {"browserMode=IE11",
       {"config/cg.txt:3: warning: [global] browserMode: is \"IE11\", not a number: the launcher reads 0"}},
      {"dpiScaling=0", {}},
      {"dpiScaling=1", {}},
      {"dpiScaling=2", {"config/cg.txt:3: warning: [global] dpiScaling: is 2" + scaling}},
      {"dpiScaling=-1", {"config/cg.txt:3: warning: [global] dpiScaling: is -1" + scaling}},
      {"dpiScaling=yes",
       {"config/cg.txt:3: warning: [global] dpiScaling: is \"yes\", not a number: the launcher reads 0"}},
  };
  for (const auto& c : cases)
    EXPECT_EQ(Check(SkinWithConfig(Edited("title=Clean", "title=Clean\n" + c.line))), c.findings) << c.line;
}
