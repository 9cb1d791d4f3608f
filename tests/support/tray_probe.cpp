#include "tray_probe.h"

#include <shellapi.h>

namespace testkit {
namespace {

NOTIFYICONDATAA IconRecord(HWND window, UINT id) {
  NOTIFYICONDATAA icon{};
  icon.cbSize = NOTIFYICONDATAA_V2_SIZE;
  icon.hWnd = window;
  icon.uID = id;
  return icon;
}

}  // namespace

bool IconPresent(HWND window, UINT id) {
  NOTIFYICONDATAA icon = IconRecord(window, id);
  return Shell_NotifyIconA(NIM_MODIFY, &icon) != FALSE;
}

void RemoveIcon(HWND window, UINT id) {
  NOTIFYICONDATAA icon = IconRecord(window, id);
  Shell_NotifyIconA(NIM_DELETE, &icon);
}

}  // namespace testkit
