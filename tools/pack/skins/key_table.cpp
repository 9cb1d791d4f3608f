#include "skins/key_table.h"

#include <string_view>

#include "package/launcher_config.h"

namespace {

constexpr KeyMeaning kMeanings[] = {
    {"global", "gameheader",
     "prefix through which the login page hands over the game: a navigation to this prefix followed by an address "
     "opens the game window at that address, provided the address begins with \"http://\" or \"https://\" "
     "(with `client://loadgame|`, a page that navigates to `client://loadgame|https://game.example.com/play` "
     "opens the game window at `https://game.example.com/play`; any other address after the prefix opens "
     "nothing)"},
    {"global", "logx", "left edge of `config/logo.png` in the game window"},
    {"global", "logy", "top edge of `config/logo.png` in the game window"},
    {"global", "titlex", "left edge of the title text in the game window's title bar"},
    {"global", "titley", "top edge of the title text"},
    {"global", "titleWidth", "width of the title's rectangle (the title is drawn unclipped)"},
    {"global", "titleHeight", "height of the title's rectangle"},
    {"global", "title", "title of both windows and their taskbar buttons, drawn in the game window's title bar"},
    {"global", "firstUrl",
     "longer than 2 bytes: the game window opens at once at this address, without the login window"},
    {"global", "closeMsg", "question asked before either window closes and before logging in again"},
    {"global", "notityTitle", "tooltip of the tray icon of the hidden game window (the key is spelled with \"ty\")"},
    {"global", "notifyCloseTitle", "the tray icon menu's one item, which closes the game window"},
    {"global", "clearFlashTitle", "caption of the question before the browser cache is cleared"},
    {"global", "clearFlashMsg", "that question"},
    {"global", "versionUrl",
     "path of the version file on the update server, beginning with \"/\" (never a full address)"},
    {"global", "exeUrl",
     "path of the newer launcher on the update server, beginning with \"/\"; its signature is at this path + `.sig`"},
    {"global", "port", "TCP port of the update server"},
    {"global", "server",
     "host name or address of the update server, optionally after `http://` or `https://`; no port, no path"},
    {"global", "version",
     "this launcher's version, numbers and dots (`1.02`; the first two numbers count), compared with the server's and "
     "shown after menu items of type 4"},
    {"global", "titleColor", "colour of the title text"},
    {"global", "loginCenterColor", "colour that fills the login window's browser area until its page has loaded"},
    {"global", "minGameWidth", "smallest width of the game window, and its width when first restored"},
    {"global", "minGameHeight", "smallest height of the game window, and its height when first restored"},
    {"global", "updateKey",
     "the operator's Ed25519 public key, 64 hexadecimal digits (`launcher-pack keygen` prints it): every update must "
     "then carry a valid signature at the launcher's address + `.sig`; empty: updates are not signed"},
    {"global", "dpiScaling",
     "1: both windows take the display's scale (125 %, 150 %, 200 %): every coordinate and size of this file grows "
     "with it, pictures `name@2x.png` are shown from 150 % on; 0 or absent: physical pixels, as configured"},
    {"global", "browserMode",
     "document mode of the pages (`FEATURE_BROWSER_EMULATION`), e.g. 11001 for the newest; registered for the "
     "program's file name under the current user before the first page; 0: nothing is registered"},
    {"global", "textEncoding",
     "`utf-8` (any letter case): every text of this file is UTF-8, so titles, menus, tooltips, questions and "
     "addresses can be in any language, and widths count UTF-8 bytes; `gbk` or absent: GBK; any other value is "
     "read as GBK"},
    {"global", "linkCount", "number of `[linkN]` sections; below 1 the launcher ends without a word"},
    {"global", "menuCount", "number of `[menuN]` sections"},
    {"global", "picCount", "number of `[gamePicN]` sections"},
    {"global", "gameButtonCount", "number of `[gamebuttonN]` sections"},
    {"global", "edgeImage1", "sprite of the game window's top-left corner"},
    {"global", "edgeImage2", "sprite of the top edge, whose height is the title bar's"},
    {"global", "edgeImage3", "sprite of the top-right corner"},
    {"global", "edgeImage4", "sprite of the left edge"},
    {"global", "edgeImage5", "sprite of the right edge"},
    {"global", "edgeImage6", "sprite of the bottom-left corner"},
    {"global", "edgeImage7", "sprite of the bottom edge"},
    {"global", "edgeImage8", "sprite of the bottom-right corner"},
    {"link", "url", "address a button opens (\";\" becomes \"&\") or a browser area shows"},
    {"link", "x", "left edge in the login window"},
    {"link", "y", "top edge in the login window"},
    {"link", "width", "width of a browser area; a button takes its picture's size"},
    {"link", "height", "height of a browser area"},
    {"link", "type",
     "1 button that opens `url`, 2 minimise button, 3 close button (pictures `config/N_n.png`, `config/N_d.png`), "
     "4 browser area; the first browser area shows the login page"},
    {"gamePic", "x", "left edge of the sprite in `config/style.png`"},
    {"gamePic", "y", "top edge of the sprite, counted from the top of the picture"},
    {"gamePic", "width", "width of the sprite"},
    {"gamePic", "height", "height of the sprite"},
    {"gamePic", "interval", "gap between a button's three pictures, normal, pressed and hover, one under the other"},
    {"gamebutton", "x", "left edge, counted from the right edge of the window: negative to be inside it"},
    {"gamebutton", "y", "top edge, from the top of the window"},
    {"gamebutton", "type",
     "5 close, 6 maximise, 7 minimise, 8 hide to the tray, 10 restore, 11 settings menu, 1 and 12 open `url`"},
    {"gamebutton", "image", "sprite of its pictures; a number outside 1 … picCount leaves the button out"},
    {"gamebutton", "color", "colour of the caption"},
    {"gamebutton", "shortCut", "function key, 1 … 12 for F1 … F12, for the types 5, 6, 7, 8, 10, 11"},
    {"gamebutton", "title", "caption drawn on the button"},
    {"gamebutton", "url", "address opened by types 1 and 12; the game page may replace a type 12 button's"},
    {"gamebutton", "tips", "tooltip; empty for none"},
    {"menu", "title", "text of the item; type 4 shows `[global] version` right after it"},
    {"menu", "type", "1 log in again, 2 clear the browser cache, 3 full screen, 4 version (no command)"},
    {"menu", "shortCut", "function key, 1 … 12 for F1 … F12, for the types 1, 2, 3"},
};

std::string SectionName(std::string_view section) {
  return section == "global" ? "`[global]`" : "`[" + std::string(section) + "N]`";
}

std::string Kind(const KeyInfo& key) {
  switch (key.kind) {
    case KeyKind::kInteger: return "integer";
    case KeyKind::kColour: return "colour";
    case KeyKind::kText: return "text, ≤ " + std::to_string(key.width - 1) + " bytes";
  }
  return "";
}

std::string Default(const KeyInfo& key) {
  if (key.kind == KeyKind::kText) return key.defaultText.empty() ? "empty" : "`" + key.defaultText + "`";
  const std::string number = std::to_string(key.defaultNumber);
  return key.kind == KeyKind::kColour && key.defaultNumber == 16777215 ? number + " (white)" : number;
}

const char* MeaningOf(const KeyInfo& key) {
  for (const KeyMeaning& m : kMeanings)
    if (std::string_view(m.section) == key.section && std::string_view(m.key) == key.key) return m.meaning;
  return "";
}

}  // namespace

std::span<const KeyMeaning> KeyMeanings() { return kMeanings; }

namespace {

// A "|" in a cell would end it: written "\|", which Markdown shows as "|".
std::string InCell(std::string text) {
  for (std::size_t at = text.find('|'); at != std::string::npos; at = text.find('|', at + 2)) text.insert(at, "\\");
  return text;
}

}  // namespace

std::string KeyTableMarkdown() {
  std::string table =
      "| Section | Key | Kind | Default | Meaning |\n"
      "|---|---|---|---|---|\n";
  for (const KeyInfo& key : ConfigKeys())
    table += "| " + SectionName(key.section) + " | `" + key.key + "` | " + Kind(key) + " | " + Default(key) + " | " +
             InCell(MeaningOf(key)) + " |\n";
  return table;
}
