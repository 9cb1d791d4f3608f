// The DPI of the screen a window is on, and the system's dialog scaling
// kept out of the launcher's windows. The program declares itself aware of
// each monitor's DPI: nothing is stretched by the system, and a window that
// is to follow the display's scale does so itself.
#pragma once

#include <windows.h>

namespace win {

// The system's DPI: the one its metrics and stock fonts are made for.
int SystemDpi();
// The DPI of the monitor `window` is on, where the system tells monitors
// apart (Windows 10 1607 on); the system's DPI elsewhere.
int WindowDpi(HWND window);

// Keeps the system's dialog manager from resizing a dialog and refitting
// its controls' fonts when it moves to a monitor of another DPI (Windows 10
// 1703 on): each window lays itself out, or keeps its physical pixels.
void KeepDialogUnscaled(HWND dialog);

// The window rectangle around the client rectangle `client` for `style`
// (no menu), measured as a window at `dpi` is; where the system cannot
// measure for a DPI, as it measures at its own.
RECT WindowRectAround(RECT client, DWORD style, int dpi);

}  // namespace win
