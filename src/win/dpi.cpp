// The functions of newer systems are looked up here: this file sees their
// declarations.
#undef WINVER
#undef _WIN32_WINNT
#define WINVER 0x0A00
#define _WIN32_WINNT 0x0A00

#include "win/dpi.h"

#include "win/handles.h"
#include "win/system_function.h"

namespace win {
namespace {

constexpr char kUser32[] = "User32.DLL";

struct DpiFunctions {
  decltype(&::GetDpiForSystem) getDpiForSystem =
      LAUNCHER_SYSTEM_FUNCTION(kUser32, GetDpiForSystem, UINT WINAPI(VOID));
  decltype(&::GetDpiForWindow) getDpiForWindow =
      LAUNCHER_SYSTEM_FUNCTION(kUser32, GetDpiForWindow, UINT WINAPI(HWND));
  decltype(&::SetDialogDpiChangeBehavior) setDialogDpiChangeBehavior = LAUNCHER_SYSTEM_FUNCTION(
      kUser32, SetDialogDpiChangeBehavior,
      WINBOOL WINAPI(HWND, DIALOG_DPI_CHANGE_BEHAVIORS, DIALOG_DPI_CHANGE_BEHAVIORS));
  decltype(&::AdjustWindowRectExForDpi) adjustWindowRectExForDpi = LAUNCHER_SYSTEM_FUNCTION(
      kUser32, AdjustWindowRectExForDpi, WINBOOL WINAPI(LPRECT, DWORD, WINBOOL, DWORD, UINT));
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
