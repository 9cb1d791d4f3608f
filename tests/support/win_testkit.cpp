#include "win_testkit.h"

#include <ole2.h>
#include <psapi.h>
#include <gdiplus.h>

#include <map>

#include "launcher_driver.h"
#include "win/dialog.h"
#include "win/text.h"

namespace testkit {
namespace {

std::map<UINT_PTR, std::function<void()>>& PendingActions() {
  static std::map<UINT_PTR, std::function<void()>> actions;
  return actions;
}

void CALLBACK RunAction(HWND, UINT, UINT_PTR id, DWORD) {
  KillTimer(nullptr, id);
  auto node = PendingActions().extract(id);
  if (!node.empty()) node.mapped()();
}

void RemoveTree(const std::string& path) {
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA((path + "\\*").c_str(), &found);
  if (search != INVALID_HANDLE_VALUE) {
    do {
      const std::string name = found.cFileName;
      if (name == "." || name == "..") continue;
      const std::string child = path + "\\" + name;
      if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
        RemoveTree(child);
      else
        DeleteFileA(child.c_str());
    } while (FindNextFileA(search, &found));
    FindClose(search);
  }
  RemoveDirectoryA(path.c_str());
}

}  // namespace

void RunSoon(std::function<void()> action, UINT delayMs) {
  const UINT_PTR id = SetTimer(nullptr, 0, delayMs, RunAction);
  PendingActions()[id] = std::move(action);
}

INT_PTR RunModal(win::Dialog& dialog, const std::function<void()>& steps, bool endAfterSteps) {
  RunSoon([&] {
    steps();
    if (endAfterSteps && dialog.IsRunningModal()) dialog.EndModal(IDOK);
  });
  return dialog.DoModal();
}

bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMs) {
  const DWORD start = GetTickCount();
  while (!done()) {
    if (GetTickCount() - start > timeoutMs) return false;
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&message);
      DispatchMessageA(&message);
    }
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
  }
  return true;
}

bool HoldsThroughout(const std::function<bool()>& holds, DWORD windowMs) {
  bool failed = false;
  PumpUntil([&] { return failed = !holds(); }, windowMs);
  return !failed && holds();
}

RECT WorkArea() {
  RECT work{};
  SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
  return work;
}

RECT CentredPairRect(int width, int height) {
  const RECT work = WorkArea();
  RECT captioned{0, 0, width, height};
  AdjustWindowRect(&captioned, WS_CAPTION | WS_SYSMENU, FALSE);
  const int left = work.left + ((work.right - work.left) - (captioned.right - captioned.left)) / 2;
  const int top = work.top + ((work.bottom - work.top) - (captioned.bottom - captioned.top)) / 2;
  return {left, top, left + width, top + height};
}

std::string WinePath(const std::string& path) {
  if (path.empty() || path[0] != '/') return path;
  std::string result = "Z:" + path;
  for (char& c : result)
    if (c == '/') c = '\\';
  return result;
}

TempDir::TempDir() {
  char base[MAX_PATH] = {};
  GetTempPathA(sizeof base, base);
  static int counter = 0;
  for (;;) {
    path_ = std::string(base) + "launcher-test-" + std::to_string(GetCurrentProcessId()) + "-" +
            std::to_string(++counter);
    if (CreateDirectoryA(path_.c_str(), nullptr)) break;
  }
}

TempDir::~TempDir() { RemoveTree(path_); }

bool TempDir::Write(const std::string& name, const Bytes& content) const { return WriteFileBytes(File(name), content); }

bool TempDir::Exists(const std::string& name) const {
  return GetFileAttributesA(File(name).c_str()) != INVALID_FILE_ATTRIBUTES;
}

bool WriteFileBytes(const std::string& path, const Bytes& content) {
  HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  DWORD written = 0;
  const BOOL ok = WriteFile(file, content.data(), static_cast<DWORD>(content.size()), &written, nullptr);
  CloseHandle(file);
  return ok && written == content.size();
}

Bytes ReadFileBytes(const std::string& path) {
  HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return {};
  Bytes content(GetFileSize(file, nullptr));
  DWORD read = 0;
  if (!content.empty()) ReadFile(file, content.data(), static_cast<DWORD>(content.size()), &read, nullptr);
  CloseHandle(file);
  content.resize(read);
  return content;
}

void StartGdiplus() {
  static ULONG_PTR token = [] {
    ULONG_PTR t = 0;
    const Gdiplus::GdiplusStartupInput input;
    Gdiplus::GdiplusStartup(&t, &input, nullptr);
    return t;
  }();
  (void)token;
}

namespace {

BOOL CALLBACK FindBox(HWND hwnd, LPARAM found) {
  if (!ReadMessageBox(hwnd)) return TRUE;
  *reinterpret_cast<HWND*>(found) = hwnd;
  return FALSE;
}

void LookForBoxToAnswer(int button, MessageBoxView* seen, DWORD start, DWORD timeoutMs) {
  RunSoon([=] {
    HWND box = nullptr;
    EnumThreadWindows(GetCurrentThreadId(), FindBox, reinterpret_cast<LPARAM>(&box));
    if (box == nullptr) {
      if (GetTickCount() - start <= timeoutMs) return LookForBoxToAnswer(button, seen, start, timeoutMs);
      ADD_FAILURE() << "no message box was shown within " << timeoutMs << " ms";
      return;
    }
    const auto view = ReadMessageBox(box);
    if (seen != nullptr) *seen = *view;
    view->Press(button);
  }, 20);
}

}  // namespace

void AnswerMessageBox(int button, MessageBoxView* seen, DWORD timeoutMs) {
  LookForBoxToAnswer(button, seen, GetTickCount(), timeoutMs);
}

namespace {

// An absolute pointer event at a screen point; the queue maps 0..65535 onto
// the screen's width and height, rounding down.
INPUT PointerAt(POINT at, DWORD flags) {
  const long width = GetSystemMetrics(SM_CXSCREEN), height = GetSystemMetrics(SM_CYSCREEN);
  INPUT input{};
  input.type = INPUT_MOUSE;
  input.mi.dx = (at.x * 65536L + width - 1) / width;
  input.mi.dy = (at.y * 65536L + height - 1) / height;
  input.mi.dwFlags = flags | MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
  return input;
}

}  // namespace

void MovePointer(POINT to) {
  POINT at{};
  const auto there = [&] { return GetCursorPos(&at) && at.x == to.x && at.y == to.y; };
  const DWORD start = GetTickCount();
  for (int attempt = 0; GetTickCount() - start < 10000; ++attempt) {
    // A move to where the system has the pointer already is no move: a
    // second attempt comes from one pixel beside.
    if (attempt > 0) {
      INPUT beside = PointerAt({to.x, to.y > 0 ? to.y - 1 : to.y + 1}, 0);
      SendInput(1, &beside, sizeof beside);
    }
    INPUT move = PointerAt(to, 0);
    SendInput(1, &move, sizeof move);
    // For a tenth of a second after a move the system answers its own
    // position; after that it asks X.
    if (!there()) continue;
    // A window that asks where the pointer is (a button held down checks
    // it while drawing) asks X once the last move is that old: give X the
    // time to have the pointer there too. It may not: while a window of
    // another program is (or was) as large as the screen, Wine confines
    // X's pointer to it, and no other program can move X's pointer then.
    Sleep(110);
    PumpUntil(there, 1000);
    return;
  }
  ADD_FAILURE() << "the system did not take the pointer to (" << to.x << "," << to.y << "); it is at (" << at.x
                << "," << at.y << ")";
}

void PressLeft(POINT at, bool down) {
  INPUT press = PointerAt(at, down ? MOUSEEVENTF_LEFTDOWN : MOUSEEVENTF_LEFTUP);
  SendInput(1, &press, sizeof press);
}

void ClickCentre(HWND window) {
  RECT r{};
  GetWindowRect(window, &r);
  const POINT centre{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
  MovePointer(centre);
  INPUT click[2] = {PointerAt(centre, MOUSEEVENTF_LEFTDOWN), PointerAt(centre, MOUSEEVENTF_LEFTUP)};
  SendInput(2, click, sizeof(INPUT));
}

testing::AssertionResult ScreenShows(POINT at, COLORREF colour) {
  COLORREF seen = CLR_INVALID;
  if (PumpUntil([&] { return (seen = ScreenPixel(at.x, at.y)) == colour; }, 5000))
    return testing::AssertionSuccess();
  return testing::AssertionFailure() << "the screen shows 0x" << std::hex << seen << " at (" << std::dec << at.x
                                     << "," << at.y << "), not 0x" << std::hex << colour;
}

long long PrivateBytes(HANDLE process) {
  PROCESS_MEMORY_COUNTERS_EX counters{};
  counters.cb = sizeof counters;
  if (GetProcessMemoryInfo(process, reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&counters), sizeof counters) &&
      counters.PrivateUsage != 0)
    return counters.PrivateUsage;
  long long total = 0;
  MEMORY_BASIC_INFORMATION region{};
  for (auto* at = static_cast<char*>(nullptr); VirtualQueryEx(process, at, &region, sizeof region) == sizeof region;
       at = static_cast<char*>(region.BaseAddress) + region.RegionSize) {
    if (region.State == MEM_COMMIT && region.Type == MEM_PRIVATE) total += region.RegionSize;
    if (static_cast<char*>(region.BaseAddress) + region.RegionSize < at) break;  // wrapped at the top
  }
  return total;
}

COLORREF ScreenPixel(int x, int y) {
  HDC screen = GetDC(nullptr);
  const COLORREF colour = GetPixel(screen, x, y);
  ReleaseDC(nullptr, screen);
  return colour;
}

COLORREF WindowPixel(HWND hwnd, int x, int y) {
  HDC dc = GetDC(hwnd);
  const COLORREF colour = GetPixel(dc, x, y);
  ReleaseDC(hwnd, dc);
  return colour;
}

RECT WindowRect(HWND hwnd) {
  RECT r{};
  GetWindowRect(hwnd, &r);
  return r;
}

RECT ClientRectOnScreen(HWND hwnd) {
  RECT r{};
  GetClientRect(hwnd, &r);
  MapWindowPoints(hwnd, nullptr, reinterpret_cast<POINT*>(&r), 2);
  return r;
}

std::string WindowText(HWND hwnd) { return win::GbkFromWide(WideWindowText(hwnd)); }

std::wstring WideWindowText(HWND hwnd) {
  wchar_t text[1024] = {};
  const int length = GetWindowTextW(hwnd, text, 1024);
  return std::wstring(text, length > 0 ? length : 0);
}

std::string ClassName(HWND hwnd) {
  char name[256] = {};
  const int length = GetClassNameA(hwnd, name, sizeof name);
  return std::string(name, length > 0 ? length : 0);
}

}  // namespace testkit
