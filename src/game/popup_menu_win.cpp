#include "game/popup_menu_win.h"

#include "win/handles.h"
#include "win/text.h"

UINT TrackPopup(HWND owner, POINT at, const std::vector<MenuEntry>& entries, TextEncoding encoding, UINT flags) {
  win::UniqueMenu menu(CreatePopupMenu());
  if (!menu) return 0;
  for (const MenuEntry& entry : entries)
    AppendMenuW(menu.Get(), MF_STRING, entry.id, win::WideFromSkin(entry.label, encoding).c_str());
  const BOOL chosen = TrackPopupMenu(menu.Get(), flags, at.x, at.y, 0, owner, nullptr);
  return (flags & TPM_RETURNCMD) != 0 ? static_cast<UINT>(chosen) : 0;
}
