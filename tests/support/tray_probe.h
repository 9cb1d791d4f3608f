// The shell's side of a tray icon, for tests: whether it holds a window's
// icon, and taking it away as a shell that ends does.
#pragma once

#include <windows.h>

namespace testkit {

// Whether the shell holds icon `id` of `window` (of any process): only an
// icon that is there can be changed.
bool IconPresent(HWND window, UINT id = 128);
void RemoveIcon(HWND window, UINT id = 128);

}  // namespace testkit
