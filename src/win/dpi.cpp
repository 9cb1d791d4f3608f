// The functions of newer systems are looked up here: this file sees their
// declarations.
#undef WINVER
#undef _WIN32_WINNT
#define WINVER 0x0A00
#define _WIN32_WINNT 0x0A00

#include "win/dpi.h"

#include "win/handles.h"
#include "win/proc_address.h"

namespace win {
namespace {

// Typed as this file's headers declare them; older systems lack them.
struct DpiFunctions {
  HMODULE user32 = GetModuleHandleW(L"user32.dll");
  decltype(&::GetDpiForSystem) getDpiForSystem = ProcAddress<decltype(::GetDpiForSystem)>(user32, "GetDpiForSystem");
  decltype(&::GetDpiForWindow) getDpiForWindow = ProcAddress<decltype(::GetDpiForWindow)>(user32, "GetDpiForWindow");
  decltype(&::SetDialogDpiChangeBehavior) setDialogDpiChangeBehavior =
      ProcAddress<decltype(::SetDialogDpiChangeBehavior)>(user32, "SetDialogDpiChangeBehavior");
  decltype(&::AdjustWindowRectExForDpi) adjustWindowRectExForDpi =
      ProcAddress<decltype(::AdjustWindowRectExForDpi)>(user32, "AdjustWindowRectExForDpi");
};

const DpiFunctions& Functions() {
  static const DpiFunctions functions;
  return functions;
}

}  // namespace

int SystemDpi() {
  if (const auto get = Functions().getDpiForSystem) return static_cast<int>(get());
  WindowDc screen(nullptr);
  return GetDeviceCaps(screen.Get(), LOGPIXELSY);
}

int WindowDpi(HWND window) {
  if (const auto get = Functions().getDpiForWindow)
    if (const UINT dpi = get(window); dpi != 0) return static_cast<int>(dpi);
  return SystemDpi();
}

void KeepDialogUnscaled(HWND dialog) {
  if (const auto set = Functions().setDialogDpiChangeBehavior) set(dialog, DDC_DISABLE_ALL, DDC_DISABLE_ALL);
}

RECT WindowRectAround(RECT client, DWORD style, int dpi) {
  RECT window = client;
  if (const auto adjust = Functions().adjustWindowRectExForDpi;
      adjust != nullptr && adjust(&window, style, FALSE, 0, static_cast<UINT>(dpi)))
    return window;
  AdjustWindowRect(&client, style, FALSE);
  return client;
}

}  // namespace win
