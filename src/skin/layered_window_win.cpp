#include "skin/layered_window_win.h"

const LayeredWindowApi& LayeredWindows() {
  static const LayeredWindowApi api = [] {
    LayeredWindowApi found;
    if (HMODULE user32 = GetModuleHandleA("User32.DLL")) {
      found.setLayeredWindowAttributes = reinterpret_cast<LayeredWindowApi::SetAttributes>(
          reinterpret_cast<void*>(GetProcAddress(user32, "SetLayeredWindowAttributes")));
      found.updateLayeredWindow = reinterpret_cast<LayeredWindowApi::Update>(
          reinterpret_cast<void*>(GetProcAddress(user32, "UpdateLayeredWindow")));
    }
    return found;
  }();
  return api;
}
