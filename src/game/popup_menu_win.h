// The game window's pop-up menus (the settings menu and the tray icon's
// exit menu): string items made, tracked at a point and destroyed again.
#pragma once

#include <windows.h>

#include <vector>

#include "common/text_encoding.h"
#include "game/game_commands.h"

// Shows a menu of `entries` (labels in the skin's `encoding`) with its
// top-left corner at `at` (screen coordinates), owned by `owner`, until it
// is dismissed. With flags 0 a chosen item reaches the owner as WM_COMMAND
// and the answer is 0; with TPM_RETURNCMD the chosen identifier is answered
// instead (0 for none).
UINT TrackPopup(HWND owner, POINT at, const std::vector<MenuEntry>& entries, TextEncoding encoding, UINT flags);
