#include "skin/layered_window_win.h"

#include "win/proc_address.h"

const LayeredWindowApi& LayeredWindows() {
  static const LayeredWindowApi api = [] {
    HMODULE user32 = GetModuleHandleA("User32.DLL");
    LayeredWindowApi found;
    found.setLayeredWindowAttributes =
        win::ProcAddress<decltype(::SetLayeredWindowAttributes)>(user32, "SetLayeredWindowAttributes");
    found.updateLayeredWindow = win::ProcAddress<decltype(::UpdateLayeredWindow)>(user32, "UpdateLayeredWindow");
    return found;
  }();
  return api;
}
