#include "win_testkit.h"

#include <ole2.h>
#include <psapi.h>
#include <gdiplus.h>

#include <cstdio>
#include <cstdlib>
#include <map>

#include "append_line.h"
#include "launcher_driver.h"
#include "win/dialog.h"
#include "win/text.h"

namespace testkit {
namespace {

std::map<UINT_PTR, std::function<void()>>& PendingActions() {
  static std::map<UINT_PTR, std::function<void()>> actions;
  return actions;
}

BOOL CALLBACK EndModalRun(HWND hwnd, LPARAM) {
  auto* dialog = dynamic_cast<win::Dialog*>(win::Window::FromHandle(hwnd));
  if (dialog != nullptr && dialog->IsRunningModal()) dialog->EndModal(IDABORT);
  return TRUE;
}

void CALLBACK RunAction(HWND, UINT, UINT_PTR id, DWORD) {
  KillTimer(nullptr, id);
  auto node = PendingActions().extract(id);
  if (node.empty()) return;
  node.mapped()();
  // An ASSERT that failed in the steps returned from them before they could
  // end their window: the windows of this thread end here instead of
  // running on until the test's time limit.
  if (::testing::Test::HasFatalFailure()) EnumThreadWindows(GetCurrentThreadId(), EndModalRun, 0);
}

// The tests run on the code pages their run was made for, the ANSI and the
// OEM one that the environment's LAUNCHER_EXPECTED_CODE_PAGES names
// ("1252,437" for the runs as a Western system), or 936 and 936 (a Chinese
// system) when it names none. A prefix that silently got others would test
// something else than it says.
class CodePageCheck : public ::testing::Environment {
  void SetUp() override {
    const char* expected = std::getenv("LAUNCHER_EXPECTED_CODE_PAGES");
    const std::string pages = std::to_string(GetACP()) + "," + std::to_string(GetOEMCP());
    ASSERT_EQ(pages, expected != nullptr ? expected : "936,936") << "the ANSI and OEM code pages of this run";
  }
};
[[maybe_unused]] const auto* const codePageCheck = ::testing::AddGlobalTestEnvironment(new CodePageCheck);

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

EndsWithin::EndsWithin(win::Dialog& dialog, DWORD timeoutMs) : timer_(SetTimer(nullptr, 0, timeoutMs, RunAction)) {
  PendingActions()[timer_] = [&dialog, timeoutMs] {
    if (!dialog.IsRunningModal()) return;
    ADD_FAILURE() << "the window did not end by itself within " << timeoutMs << " ms";
    dialog.EndModal(IDABORT);
  };
}

EndsWithin::~EndsWithin() {
  KillTimer(nullptr, timer_);
  PendingActions().erase(timer_);
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

int ScreenDpi() {
  HDC screen = GetDC(nullptr);
  const int dpi = GetDeviceCaps(screen, LOGPIXELSX);
  ReleaseDC(nullptr, screen);
  if (const char* asked = std::getenv("LAUNCHER_WINE_DPI")) { EXPECT_EQ(dpi, std::atoi(asked)) << "the prefix's DPI"; }
  return dpi;
}

RECT CentredPairRect(int width, int height) {
  const RECT work = WorkArea();
  RECT captioned{0, 0, width, height};
  AdjustWindowRect(&captioned, WS_CAPTION | WS_SYSMENU, FALSE);
  const int left = work.left + ((work.right - work.left) - (captioned.right - captioned.left)) / 2;
  const int top = work.top + ((work.bottom - work.top) - (captioned.bottom - captioned.top)) / 2;
  return {left, top, left + width, top + height};
}

const char* ColourClass(const char* name, COLORREF colour) {
  WNDCLASSA wc{};
  wc.lpfnWndProc = DefWindowProcA;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.hbrBackground = CreateSolidBrush(colour);
  wc.lpszClassName = name;
  RegisterClassA(&wc);  // a second registration fails harmlessly
  return name;
}

Backdrop::Backdrop(COLORREF colour) {
  const std::string name = "LauncherTestBackdrop" + std::to_string(colour);
  hwnd_ = CreateWindowExA(0, ColourClass(name.c_str(), colour), "", WS_POPUP | WS_VISIBLE, 0, 0,
                          GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN), nullptr, nullptr, nullptr,
                          nullptr);
  UpdateWindow(hwnd_);
}

Backdrop::~Backdrop() { DestroyWindow(hwnd_); }

std::string WinePath(const std::string& path) {
  if (path.empty() || path[0] != '/') return path;
  std::string result = "Z:" + path;
  for (char& c : result)
    if (c == '/') c = '\\';
  return result;
}

bool EndProcess(HANDLE process) {
  const char* log = std::getenv("LAUNCHER_ENDED_PROCESSES");
  if (log != nullptr && *log != '\0') {
    // Seconds since 1970, as the emulator's records keep their times.
    FILETIME now{};
    GetSystemTimeAsFileTime(&now);
    const ULONGLONG ticks = (ULONGLONG{now.dwHighDateTime} << 32 | now.dwLowDateTime) - 116444736000000000ULL;
    char line[64];
    const int size = std::snprintf(line, sizeof line, "%04lx %llu.%07llu", GetProcessId(process), ticks / 10000000,
                                   ticks % 10000000);
    AppendLineAlone(WinePath(log).c_str(), line, static_cast<DWORD>(size));
  }
  return TerminateProcess(process, 1) != FALSE;
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

// The answers still looking for their box, each by the timer of its next look.
std::map<int, UINT_PTR>& WaitingAnswers() {
  static std::map<int, UINT_PTR> answers;
  return answers;
}

void LookForBoxToAnswer(int answer, int button, MessageBoxView* seen, DWORD start, DWORD timeoutMs) {
  WaitingAnswers()[answer] = SetTimer(nullptr, 0, 20, RunAction);
  PendingActions()[WaitingAnswers()[answer]] = [=] {
    HWND box = nullptr;
    EnumThreadWindows(GetCurrentThreadId(), FindBox, reinterpret_cast<LPARAM>(&box));
    if (box == nullptr) {
      if (GetTickCount() - start <= timeoutMs) return LookForBoxToAnswer(answer, button, seen, start, timeoutMs);
      WaitingAnswers().erase(answer);
      ADD_FAILURE() << "no message box was shown within " << timeoutMs << " ms";
      return;
    }
    WaitingAnswers().erase(answer);
    const auto view = ReadMessageBox(box);
    if (seen != nullptr) *seen = *view;
    view->Press(button);
  };
}

// A box that was to come and never did fails the test that waited for it,
// also when no loop was left to look until the time-out: the answer is
// given up at the end of the test, before another test could see it.
class UnansweredBoxes : public ::testing::EmptyTestEventListener {
  void OnTestEnd(const ::testing::TestInfo&) override {
    if (WaitingAnswers().empty()) return;
    for (const auto& [answer, timer] : WaitingAnswers()) {
      KillTimer(nullptr, timer);
      PendingActions().erase(timer);
    }
    ADD_FAILURE() << WaitingAnswers().size() << " message box(es) to answer never shown before the test ended";
    WaitingAnswers().clear();
  }
};

}  // namespace

void AnswerMessageBox(int button, MessageBoxView* seen, DWORD timeoutMs) {
  static const bool listening = [] {
    ::testing::UnitTest::GetInstance()->listeners().Append(new UnansweredBoxes);
    return true;
  }();
  (void)listening;
  static int answers = 0;
  LookForBoxToAnswer(++answers, button, seen, GetTickCount(), timeoutMs);
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

// How long the system answers where the pointer is from its own record of
// the last move, before it asks X.
constexpr DWORD kOwnPositionMs = 100;

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
    const DWORD moved = GetTickCount();
    if (!there()) continue;
    // For a tenth of a second after a move the system answers its own
    // position; after that it asks X, as a window that asks where the
    // pointer is (a button held down checks it while drawing) does: X must
    // have the pointer there too. It may not: while a window of another
    // program is (or was) as large as the screen, Wine confines X's pointer
    // to it, and no other program can move X's pointer then.
    PumpUntil([&] { return GetTickCount() - moved > kOwnPositionMs && there(); }, 1000);
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

testing::AssertionResult ScreenShows(POINT at, COLORREF colour, int tolerance) {
  COLORREF seen = CLR_INVALID;
  const auto within = [&](COLORREF c) {
    return c != CLR_INVALID && std::abs(GetRValue(c) - GetRValue(colour)) <= tolerance &&
           std::abs(GetGValue(c) - GetGValue(colour)) <= tolerance &&
           std::abs(GetBValue(c) - GetBValue(colour)) <= tolerance;
  };
  if (PumpUntil([&] { return within(seen = ScreenPixel(at.x, at.y)); }, 5000)) return testing::AssertionSuccess();
  // Each value given to an AssertionResult is formatted on a stream of its
  // own, where std::hex would not last: the colours are written here.
  char text[96];
  std::snprintf(text, sizeof text, "the screen shows 0x%06lx at (%ld,%ld), not 0x%06lx", seen, at.x, at.y, colour);
  return testing::AssertionFailure() << text;
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
