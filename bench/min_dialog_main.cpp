// The yardsticks of the start-up benchmark, started the same way as the
// launcher: the least a Win32 program that shows one dialog costs, and
// (WITH_START_UP) the same program after the platform work that the
// launcher's start-up must do before any window of its own: the common
// controls, Windows Sockets 1.1, OLE, GDI+, and the decoding of its 600 x 400
// background picture ("main1.png" beside it) by GDI+ from a memory stream.
#ifdef WITH_START_UP
#include <winsock2.h>
#include <ole2.h>
#include <commctrl.h>
#include <gdiplus.h>
#include <shellapi.h>
#include <wininet.h>
#endif
#include <windows.h>

#include <cwchar>

namespace {

INT_PTR CALLBACK Proc(HWND, UINT message, WPARAM, LPARAM) { return message == WM_INITDIALOG; }

#ifdef WITH_START_UP
// The launcher imports these too; a program that imports them pays for
// loading them, as the launcher does.
volatile bool never = false;

bool StartUpAsTheLauncherDoes() {
  InitCommonControls();
  WSADATA sockets{};
  if (WSAStartup(MAKEWORD(1, 1), &sockets) != 0) return false;
  OleInitialize(nullptr);
  ULONG_PTR gdiplus = 0;
  const Gdiplus::GdiplusStartupInput input;
  Gdiplus::GdiplusStartup(&gdiplus, &input, nullptr);
  if (never) {
    InternetOpenA("", 0, nullptr, nullptr, 0);
    ShellExecuteA(nullptr, nullptr, nullptr, nullptr, nullptr, 0);
  }
  wchar_t path[MAX_PATH];
  const DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
  wchar_t* name = path + length;
  while (name > path && name[-1] != L'\\') --name;
  std::wcscpy(name, L"main1.png");
  HANDLE file = CreateFileW(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  const DWORD size = GetFileSize(file, nullptr);
  HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, size);
  DWORD read = 0;
  ReadFile(file, GlobalLock(block), size, &read, nullptr);
  GlobalUnlock(block);
  CloseHandle(file);
  IStream* stream = nullptr;
  if (read != size || FAILED(CreateStreamOnHGlobal(block, TRUE, &stream))) return false;
  Gdiplus::Image* picture = Gdiplus::Image::FromStream(stream, FALSE);
  return picture != nullptr && picture->GetWidth() == 600;
}
#endif

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
#ifdef WITH_START_UP
  if (!StartUpAsTheLauncherDoes()) return 1;
#endif
  // A captioned dialog of 200 x 100 dialog units, no controls.
  struct {
    DLGTEMPLATE header;
    WORD menu, windowClass, title[8];
  } dialog{{WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_VISIBLE, 0, 0, 10, 10, 200, 100}, 0, 0, {'M', 'i', 'n', 0}};
  return static_cast<int>(DialogBoxIndirectParamA(instance, &dialog.header, nullptr, Proc, 0));
}
