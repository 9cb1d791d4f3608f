// The configuration as the launcher builds it: a rejected file, links that
// make nothing, frame pieces and buttons that name no sprite, keys that do
// nothing where they stand.
#include <string>

#include "browser/browser_mode.h"
#include "checks/check_context.h"
#include "checks/config_names.h"
#include "game/frame_pieces.h"
#include "game/game_commands.h"
#include "game/title_bar.h"
#include "login/login_rules.h"

namespace {

constexpr const char* kPieceNames[8] = {
    "top-left corner", "top edge (the title bar)", "top-right corner", "left edge",
    "right edge",      "bottom-left corner",       "bottom edge",      "bottom-right corner"};

std::string Numbered(const char* prefix, std::size_t index) { return prefix + std::to_string(index + 1); }

std::string SpriteCount(const LauncherConfig& model) {
  if (model.sprites.empty()) return "there are no sprites ([global] picCount is missing or 0)";
  return "there are only " + std::to_string(model.sprites.size()) + " sprites ([global] picCount)";
}

bool CheckLinkCount(const CheckContext& c) {
  if (c.config.accepted) return true;
  const IniKeyLines* key = c.lines.Key("global", "linkCount");
  if (key != nullptr)
    c.KeyError("global", "linkCount",
               "is " + Quoted(key->value) + ", below 1: the launcher ends at once without a word");
  else if (c.lines.Section("global") == nullptr)
    c.KeyError("global", "linkCount",
               "missing, as is the whole [global] section: the launcher ends at once without a word");
  else
    c.KeyError("global", "linkCount", "missing: the launcher ends at once without a word");
  return false;
}

void CheckFirstUrl(const CheckContext& c) {
  const std::size_t length = c.model.firstUrl.size();
  if (length == 0 || length > 2) return;
  c.KeyWarning("global", "firstUrl",
               "is " + std::to_string(length) + (length == 1 ? " byte" : " bytes") +
                   " long: only an address longer than 2 bytes opens the game window at once, so the launcher shows "
                   "the login window instead");
}

// Numbered sections that their count includes but the file lacks: the first
// few one by one, the rest in one finding, since a mistyped count can
// include a thousand.
class MissingSections {
 public:
  MissingSections(const CheckContext& c, const char* countKey, const char* outcome)
      : c_(c), countKey_(countKey), outcome_(outcome) {}

  bool IsMissing(const std::string& section) {
    if (c_.lines.Section(section) != nullptr) return false;
    if (++missing_ <= kShown)
      c_.findings.Warning(kConfigMember, c_.lines.ValueLine("global", countKey_), section, "",
                          std::string("missing, though [global] ") + countKey_ + " counts it: " + outcome_);
    return true;
  }

  void ReportTheRest() const {
    if (missing_ <= kShown) return;
    c_.KeyWarning("global", countKey_,
                  std::to_string(missing_ - kShown) + " more of the sections it counts are missing: " + outcome_);
  }

 private:
  static constexpr int kShown = 3;
  const CheckContext& c_;
  const char* countKey_;
  const char* outcome_;
  int missing_ = 0;
};

// A [linkN] url key typed with a full-width space in its name: the
// document check names that, and "has no url" would only follow from it.
bool HasMisspeltUrl(const CheckContext& c, const std::string& section) {
  const IniSectionLines* lines = c.lines.Section(section);
  if (lines == nullptr) return false;
  for (const IniKeyLines& key : lines->keys)
    if (WithoutFullWidthSpaces(key.name) != key.name && SameName(WithoutFullWidthSpaces(key.name), "url")) return true;
  return false;
}

// The login page's first area navigates to its own url at once: one that
// is the game header followed by something else than a web address hands
// nothing over, since only "http://" and "https://" addresses are.
void CheckHandOverOfOwnUrl(const CheckContext& c, const std::string& section, const std::string& url) {
  const std::string& header = c.model.gameheader;
  if (header.empty() || url.size() <= header.size() || !url.starts_with(header) || HandOverAddress(url, header)) return;
  c.KeyWarning(section, "url",
               "begins with [global] gameheader " + Quoted(header) + ", but what follows, " +
                   Quoted(url.substr(header.size())) +
                   ", is no web address: the launcher hands over only an address that begins with http:// or "
                   "https://, so this area's own page hands nothing over");
}

void CheckLinks(const CheckContext& c) {
  const LauncherConfig& model = c.model;
  const auto plan = PlanLinks(model.links);
  bool anyArea = false;
  MissingSections missing(c, "linkCount", "the launcher makes nothing for it");
  for (std::size_t i = 0; i < plan.size(); ++i) {
    const std::string section = Numbered("link", i);
    if (missing.IsMissing(section)) continue;
    if (plan[i].kind == LinkKind::kNone)
      c.KeyWarning(section, "type",
                   "is " + std::to_string(model.links[i].type) +
                       ": the launcher makes nothing for this link (1 opens url, 2 minimises, 3 closes, 4 shows url in "
                       "a browser area)");
    if (model.links[i].type == 1 && c.lines.Key(section, "url") == nullptr && !HasMisspeltUrl(c, section))
      c.KeyWarning(section, "type",
                   "is 1, a button that opens url, but [" + section +
                       "] has no url: the launcher opens \"_blank\", an empty page");
    else if (model.links[i].type == 1 && model.links[i].url.empty() && c.lines.Key(section, "url") != nullptr)
      c.KeyWarning(section, "url", "is empty: the button opens nothing (only a missing url gives \"_blank\")");
    if (plan[i].kind != LinkKind::kHtmlArea) continue;
    if (!anyArea) CheckHandOverOfOwnUrl(c, section, model.links[i].url);
    anyArea = true;
    if (plan[i].rect.Width() <= 0 || plan[i].rect.Height() <= 0)
      c.KeyWarning(section, plan[i].rect.Width() <= 0 ? "width" : "height",
                   "the browser area is " + std::to_string(plan[i].rect.Width()) + " × " +
                       std::to_string(plan[i].rect.Height()) + ": its page cannot be seen");
  }
  missing.ReportTheRest();
  if (!anyArea) {
    c.KeyWarning("global", "linkCount",
                 "no link is a browser area (type 4): the login window shows no login page, so it never opens the "
                 "game window");
    return;
  }
  if (model.gameheader.empty())
    c.KeyWarning("global", "gameheader",
                 std::string(c.lines.Key("global", "gameheader") ? "is empty" : "missing") +
                     ": every address hands over, so the login window closes at its first navigation (about:blank)");
}

void CheckEdges(const CheckContext& c) {
  const LauncherConfig& model = c.model;
  for (std::size_t i = 0; i < model.edgeImages.size(); ++i) {
    if (EdgePieceSprite(model, static_cast<int>(i) + 1)) continue;
    const int sprite = model.edgeImages[i];
    const std::string key = "edgeImage" + std::to_string(i + 1);
    const bool present = c.lines.Key("global", key) != nullptr;
    c.KeyError("global", key,
               std::string(present ? "names sprite " : "missing, so it names sprite ") + std::to_string(sprite) +
                   (present ? "" : " (the default)") + ", but " + SpriteCount(model) + ": the game window's " +
                   kPieceNames[i] + " has no picture");
  }
}

// A function key works only for the kinds and types that have a command,
// and only for the last of the records that bind it.
void CheckShortcut(const CheckContext& c, const std::string& section, int shortCut, GameAction action,
                   const std::string& what) {
  if (shortCut == 0) return;
  const std::string key = "F" + std::to_string(shortCut);
  if (shortCut < 1 || shortCut > 12)
    c.KeyWarning(section, "shortCut", "is " + std::to_string(shortCut) + ": only 1 to 12 (F1 to F12) give a key");
  else if (action == GameAction::kNone)
    c.KeyWarning(
        section, "shortCut",
        "is " + std::to_string(shortCut) + ", but " + what + " takes no function key: " + key + " does nothing for it");
  else if (ShortcutAction(BuildShortcutTable(c.model), shortCut) != action)
    c.KeyWarning(
        section, "shortCut",
        "is " + std::to_string(shortCut) + ", but another record binds " + key + " to something else and wins");
}

void CheckButtons(const CheckContext& c) {
  const LauncherConfig& model = c.model;
  MissingSections missing(c, "gameButtonCount", "the launcher reads defaults and makes no button");
  for (std::size_t i = 0; i < model.gameButtons.size(); ++i) {
    const GameButtonSpec& button = model.gameButtons[i];
    const std::string section = Numbered("gamebutton", i);
    if (missing.IsMissing(section)) continue;
    const std::string typeText = "a type " + std::to_string(button.type) + " button";
    const GameAction action =
        button.type > 0 ? ButtonCommandAction(kButtonIdBase + static_cast<unsigned>(button.type)) : GameAction::kNone;
    CheckShortcut(c, section, button.shortCut, action, typeText);
    if (ButtonSpriteIndex(button, model.sprites.size()) < 0) {
      c.KeyWarning(section, "image",
                   "names sprite " + std::to_string(button.image) + ", but " + SpriteCount(model) +
                       ": the launcher leaves this button out");
      continue;
    }
    if (button.x >= 0)
      c.KeyWarning(section, "x",
                   "is " + std::to_string(button.x) +
                       ": buttons are placed from the right edge of the window, so only a negative x is inside it");
    if (!ButtonOpensLink(button.type) && action == GameAction::kNone && button.type != kButtonSettings)
      c.KeyWarning(section, "type",
                   "is " + std::to_string(button.type) +
                       ": a button without a command (1 and 12 open url, 5 closes, 6 maximises, 7 minimises, 8 hides "
                       "to the tray, 10 restores, 11 opens the menu)");
    if (button.type == kButtonSettings && model.menuItems.empty())
      c.KeyWarning(section, "type", "opens the settings menu, but [global] menuCount is 0: the menu is empty");
    if (ButtonOpensLink(button.type) && button.url.empty())
      c.KeyWarning(section, "url", "is empty: " + typeText + " opens its url, so it opens nothing");
  }
  missing.ReportTheRest();
}

void CheckMenu(const CheckContext& c) {
  const LauncherConfig& model = c.model;
  MissingSections missing(c, "menuCount", "the menu shows an empty item without a command");
  for (std::size_t i = 0; i < model.menuItems.size(); ++i) {
    const MenuItemSpec& item = model.menuItems[i];
    const std::string section = Numbered("menu", i);
    if (missing.IsMissing(section)) continue;
    if (item.type < 1 || item.type > 4)
      c.KeyWarning(section, "type",
                   "is " + std::to_string(item.type) +
                       ": an item without a command (1 logs in again, 2 clears the cache, 3 full screen, 4 version)");
    const GameAction action =
        item.type > 0 ? MenuCommandAction(kMenuIdBase + static_cast<unsigned>(item.type)) : GameAction::kNone;
    CheckShortcut(c, section, item.shortCut, action, "a type " + std::to_string(item.type) + " menu item");
  }
  missing.ReportTheRest();
}

void CheckGameSize(const CheckContext& c) {
  const LauncherConfig& model = c.model;
  if (model.minGameWidth <= 0)
    c.KeyWarning("global", "minGameWidth",
                 "is " + std::to_string(model.minGameWidth) + ": the restored game window would have no width");
  if (model.minGameHeight <= 0)
    c.KeyWarning("global", "minGameHeight",
                 "is " + std::to_string(model.minGameHeight) + ": the restored game window would have no height");
}

// The display's scale and the pages' document mode: values the launcher
// takes for "nothing" although something was meant.
void CheckDisplayKeys(const CheckContext& c) {
  const LauncherConfig& model = c.model;
  if (!IsValidDpiScaling(model.dpiScaling))
    c.KeyWarning("global", "dpiScaling",
                 "is " + std::to_string(model.dpiScaling) +
                     ": only 1 makes the windows take the display's scale, and the launcher takes any other value "
                     "as 0, physical pixels");
  if (IsValidBrowserMode(model.browserMode)) return;
  std::string modes;
  for (const std::uint32_t mode : BrowserModes()) modes += (modes.empty() ? "" : ", ") + std::to_string(mode);
  c.KeyError("global", "browserMode",
             "is " + std::to_string(model.browserMode) +
                 ", no document mode the browser control knows: the launcher registers nothing, so the control draws "
                 "pages as Internet Explorer 7 did unless a page asks for more; give one of " +
                 modes + " (11001: the newest, whatever a page's DOCTYPE says), or 0 to register nothing");
}

}  // namespace

void CheckModel(const CheckContext& c) {
  if (!CheckLinkCount(c)) return;  // a rejected configuration reads no list
  CheckFirstUrl(c);
  if (c.LoginShown()) CheckLinks(c);
  CheckEdges(c);
  CheckButtons(c);
  CheckMenu(c);
  CheckGameSize(c);
  CheckDisplayKeys(c);
}
