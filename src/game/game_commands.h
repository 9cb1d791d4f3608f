// What the game window does for a title-bar button, a settings-menu item, a
// function key or a tray notification.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "package/launcher_config.h"

enum class GameAction {
  kNone,
  kConfirmClose,
  kHideToTray,
  kShowSettingsMenu,
  kMinimise,
  kMaximise,
  kRestore,
  kConfirmClearCache,
  kRelogin,
  kToggleFullScreen,
};

// The action of a title-bar button's command identifier (kind + 180).
GameAction ButtonCommandAction(unsigned commandId);

// Settings-menu items: identifier type + 2034; the version item (type 4)
// reads its title followed directly by the launcher's version.
inline constexpr unsigned kMenuIdBase = 2034;
struct MenuEntry {
  unsigned id;
  std::string label;
  bool operator==(const MenuEntry&) const = default;
};
std::vector<MenuEntry> SettingsMenuEntries(const LauncherConfig& config);
GameAction MenuCommandAction(unsigned commandId);

// F1..F12 bound by the configuration: the button kinds 5, 8, 11, 7, 6, 10,
// then the menu types 2, 1, 3, each list from first to last record; a later
// binding of the same key wins. Records without a button still bind.
using ShortcutTable = std::array<GameAction, 12>;
ShortcutTable BuildShortcutTable(const LauncherConfig& config);
// The action of function key `functionKey` (1 for F1); kNone outside 1..12.
GameAction ShortcutAction(const ShortcutTable& table, int functionKey);
// The function key a key-down message's virtual key is (1 for VK_F1 to 12
// for VK_F12), or 0. Only plain key-downs count: F10 and Alt+F-keys come as
// system keys and are never shortcuts.
int FunctionKeyNumber(unsigned virtualKey);

// The tray icon: identifier 128, notifying with message 2025.
inline constexpr unsigned kTrayIconId = 128;
inline constexpr unsigned kTrayMessage = 0x0400 + 1001;
enum class TrayResponse { kNotOurs, kNothing, kShowWindow, kExitMenu };
TrayResponse OnTrayNotification(std::uintptr_t iconId, unsigned mouseMessage);

// A hidden window must never be left without a way back. The exit menu of
// the icon removes the icon when it closes: a window still hidden then, and
// not closing, shows itself again.
bool ShowAfterTrayMenu(bool windowHidden, bool windowClosing);
// When the shell's taskbar is made anew (it lost every icon), the icon comes
// back if the window had one or is hidden.
bool AddIconAgain(bool iconPresent, bool windowHidden);

// The tray tip: the first 64 bytes of [global] notityTitle.
std::string TrayTip(const LauncherConfig& config);
