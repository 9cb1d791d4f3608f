// The yardstick of the start-up benchmark: the least a Win32 program that
// shows one dialog costs, started the same way as the launcher.
#include <windows.h>

namespace {

INT_PTR CALLBACK Proc(HWND, UINT message, WPARAM, LPARAM) { return message == WM_INITDIALOG; }

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  // A captioned dialog of 200 x 100 dialog units, no controls.
  struct {
    DLGTEMPLATE header;
    WORD menu, windowClass, title[8];
  } dialog{{WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_VISIBLE, 0, 0, 10, 10, 200, 100}, 0, 0, {'M', 'i', 'n', 0}};
  return static_cast<int>(DialogBoxIndirectParamA(instance, &dialog.header, nullptr, Proc, 0));
}
