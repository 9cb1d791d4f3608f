#include "game/game_commands.h"

#include "game/title_bar.h"

namespace {

constexpr unsigned kWmLButtonUp = 0x0202;
constexpr unsigned kWmLButtonDblClk = 0x0203;
constexpr unsigned kWmRButtonUp = 0x0205;
constexpr unsigned kVkF1 = 0x70;

GameAction ButtonKindAction(int kind) {
  switch (kind) {
    case kButtonClose: return GameAction::kConfirmClose;
    case kButtonHideToTray: return GameAction::kHideToTray;
    case kButtonSettings: return GameAction::kShowSettingsMenu;
    case kButtonMinimise: return GameAction::kMinimise;
    case kButtonMaximise: return GameAction::kMaximise;
    case kButtonRestore: return GameAction::kRestore;
    default: return GameAction::kNone;
  }
}

GameAction MenuTypeAction(int type) {
  switch (type) {
    case 1: return GameAction::kRelogin;
    case 2: return GameAction::kConfirmClearCache;
    case 3: return GameAction::kToggleFullScreen;
    default: return GameAction::kNone;
  }
}

void Bind(ShortcutTable& table, int shortCut, GameAction action) {
  if (shortCut >= 1 && shortCut <= 12) table[shortCut - 1] = action;
}

}  // namespace

GameAction ButtonCommandAction(unsigned commandId) {
  return commandId > kButtonIdBase ? ButtonKindAction(static_cast<int>(commandId - kButtonIdBase)) : GameAction::kNone;
}

std::vector<MenuEntry> SettingsMenuEntries(const LauncherConfig& config) {
  std::vector<MenuEntry> entries;
  for (const MenuItemSpec& item : config.menuItems) {
    const unsigned id = static_cast<unsigned>(item.type) + kMenuIdBase;
    entries.push_back({id, item.type == 4 ? item.title + config.version : item.title});
  }
  return entries;
}

GameAction MenuCommandAction(unsigned commandId) {
  return commandId > kMenuIdBase ? MenuTypeAction(static_cast<int>(commandId - kMenuIdBase)) : GameAction::kNone;
}

ShortcutTable BuildShortcutTable(const LauncherConfig& config) {
  ShortcutTable table;
  table.fill(GameAction::kNone);
  for (int kind : {kButtonClose, kButtonHideToTray, kButtonSettings, kButtonMinimise, kButtonMaximise, kButtonRestore})
    for (const GameButtonSpec& button : config.gameButtons)
      if (button.type == kind) Bind(table, button.shortCut, ButtonKindAction(kind));
  for (int type : {2, 1, 3})
    for (const MenuItemSpec& item : config.menuItems)
      if (item.type == type) Bind(table, item.shortCut, MenuTypeAction(type));
  return table;
}

GameAction ShortcutAction(const ShortcutTable& table, int functionKey) {
  return functionKey >= 1 && functionKey <= 12 ? table[functionKey - 1] : GameAction::kNone;
}

int FunctionKeyNumber(unsigned virtualKey) {
  return virtualKey >= kVkF1 && virtualKey < kVkF1 + 12 ? static_cast<int>(virtualKey - kVkF1) + 1 : 0;
}

TrayResponse OnTrayNotification(std::uintptr_t iconId, unsigned mouseMessage) {
  if (iconId != kTrayIconId) return TrayResponse::kNotOurs;
  if (mouseMessage == kWmLButtonUp || mouseMessage == kWmLButtonDblClk) return TrayResponse::kShowWindow;
  if (mouseMessage == kWmRButtonUp) return TrayResponse::kExitMenu;
  return TrayResponse::kNothing;
}

bool ShowAfterTrayMenu(bool windowHidden, bool windowClosing) { return windowHidden && !windowClosing; }

bool AddIconAgain(bool iconPresent, bool windowHidden) { return iconPresent || windowHidden; }

std::string TrayTip(const LauncherConfig& config) { return config.notityTitle.substr(0, 64); }
