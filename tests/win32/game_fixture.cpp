#include "game_fixture.h"

#include <ole2.h>

#include <algorithm>

#include "launcher_driver.h"
#include "package/package_file_win.h"
#include "win/text.h"

void GameWindowTest::SetUp() {
  ASSERT_TRUE(SUCCEEDED(OleInitialize(nullptr)));
  testkit::StartGdiplus();
}

void GameWindowTest::TearDown() { OleUninitialize(); }

namespace {

// What start-up keeps of a package: the package, which reads from `file`
// for as long as it is open, and the configuration built from it.
struct Holdings {
  testkit::Bytes file;
  AttachedPackage* package;
  LauncherConfig* config;
};

void Load(const testkit::Bytes& package, Holdings& holdings) {
  holdings.file = testkit::Concat({testkit::MakePeImage(), package});
  ASSERT_EQ(holdings.package->Open(holdings.file), PackageOpenResult::kOpened);
  IniDocument document;
  ASSERT_EQ(ReadConfigFile(holdings.package, &document, "config/cg.txt"), LoadOutcome::kLoaded);
  ASSERT_TRUE(BuildConfig(document, holdings.config));
}

AttachedPackage testPackage;
LauncherConfig testConfig;
Holdings& TestHoldings() {
  static Holdings holdings{{}, &testPackage, &testConfig};
  return holdings;
}

Holdings& AppHoldings() {
  static Holdings holdings{{}, &App().Holder().package, &App().Holder().config};
  return holdings;
}

}  // namespace

void GameWindowTest::LoadSkin(const testkit::GameSkinOptions& options) {
  LoadSkinPackage(testkit::GameSkin(options));
}
void GameWindowTest::LoadSkinPackage(const testkit::Bytes& package) { Load(package, TestHoldings()); }

void GameWindowTest::LoadAppSkin(const testkit::GameSkinOptions& options) {
  Load(testkit::GameSkin(options), AppHoldings());
}

Skin GameWindowTest::TestSkin() { return Skin{&testConfig, &testPackage}; }

namespace {

// `window` gives the window to end when it never gets ready.
void LookWhenReady(std::function<win::Dialog*()> window, std::function<bool()> ready, std::function<void()> steps,
                   DWORD start) {
  testkit::RunSoon(
      [=] {
        if (ready()) return steps();
        if (GetTickCount() - start > 30000) {
          ADD_FAILURE() << "the window was not ready";
          if (win::Dialog* dialog = window()) dialog->EndModal(IDABORT);
          return;
        }
        LookWhenReady(window, ready, steps, start);
      },
      20);
}

}  // namespace

void RunWhenReady(win::Dialog& window, std::function<bool()> ready, std::function<void()> steps) {
  LookWhenReady([&window]() -> win::Dialog* { return &window; }, std::move(ready), std::move(steps), GetTickCount());
}

INT_PTR RunGameWindow(CGameDialog& window, std::function<void()> steps) {
  window.SetStartAddress("about:blank");
  RunWhenReady(
      window, [&window] { return window.SizeState().maximised && !window.BrowserPending(); }, std::move(steps));
  return window.DoModal();
}

INT_PTR RunAppGameWindow(const char* address, std::function<void(CGameDialog&)> steps) {
  LookWhenReady([]() -> win::Dialog* { return App().GetGameWindow(); },
                [] {
                  const CGameDialog* game = App().GetGameWindow();
                  return game != nullptr && game->SizeState().maximised && !game->BrowserPending();
                },
                [steps = std::move(steps)] { steps(*App().GetGameWindow()); }, GetTickCount());
  return App().RunGameWindow(address);
}

void EndSoon(win::Dialog& window) {
  Then([&window] {
    if (window.IsRunningModal()) window.EndModal(IDOK);
  });
}

namespace {

BOOL CALLBACK FindMenuWindow(HWND hwnd, LPARAM found) {
  if (testkit::ClassName(hwnd) != "#32768" || !IsWindowVisible(hwnd)) return TRUE;
  *reinterpret_cast<HWND*>(found) = hwnd;
  return FALSE;
}

}  // namespace

HWND ShownMenuWindow() {
  HWND found = nullptr;
  EnumThreadWindows(GetCurrentThreadId(), FindMenuWindow, reinterpret_cast<LPARAM>(&found));
  return found;
}

namespace {

// Reads and closes the shown menu, or looks again in 20 ms until `start`
// is `timeoutMs` old; then fails the test and closes whatever menu is
// tracked, so that a menu shown late cannot hold the test. The first look
// waits for `lookWhen`, half the time at most.
void ReadMenuWhenShown(ShownMenu& shown, bool& looked, int choose, const std::function<bool()>& lookWhen, DWORD start,
                       DWORD timeoutMs) {
  testkit::RunSoon(
      [&shown, &looked, choose, &lookWhen, start, timeoutMs] {
        const bool waiting = lookWhen && !lookWhen() && GetTickCount() - start <= timeoutMs / 2;
        if (!waiting) shown.window = ShownMenuWindow();
        if (shown.window == nullptr) {
          if (GetTickCount() - start <= timeoutMs)
            return ReadMenuWhenShown(shown, looked, choose, lookWhen, start, timeoutMs);
          ADD_FAILURE() << "no pop-up menu was shown within " << timeoutMs << " ms";
          EndMenu();
          looked = true;
          return;
        }
        looked = true;
        shown.rect = testkit::WindowRect(shown.window);
        const HMENU menu = reinterpret_cast<HMENU>(SendMessageA(shown.window, MN_GETHMENU, 0, 0));
        for (int i = 0; i < GetMenuItemCount(menu); ++i) {
          // Read as the menu holds it, given as GBK like the configuration.
          wchar_t label[256] = {};
          const int length = GetMenuStringW(menu, i, label, 256, MF_BYPOSITION);
          const std::wstring_view text(label, length > 0 ? length : 0);
          shown.items.emplace_back(GetMenuItemID(menu, i), win::GbkFromWide(text));
          shown.wideItems.emplace_back(GetMenuItemID(menu, i), text);
        }
        if (choose < 0) return static_cast<void>(EndMenu());
        // The menu's loop takes every key of this thread, as a player's.
        for (int i = 0; i <= choose; ++i) PostMessageA(shown.window, WM_KEYDOWN, VK_DOWN, 0);
        PostMessageA(shown.window, WM_KEYDOWN, VK_RETURN, 0);
      },
      20);
}

}  // namespace

ShownMenu ReadMenuWhileShown(const std::function<void()>& open, int choose, const std::function<bool()>& lookWhen) {
  constexpr DWORD kTimeoutMs = 10000;
  ShownMenu shown;
  bool looked = false;
  // The menu's own loop serves the timers of this thread.
  ReadMenuWhenShown(shown, looked, choose, lookWhen, GetTickCount(), kTimeoutMs);
  open();
  // `open` may return before the menu shows (a posted notification): the
  // look is waited for, as long as it may take and a little more.
  if (!testkit::PumpUntil([&] { return looked; }, kTimeoutMs + 1000)) ADD_FAILURE() << "the menu was never looked for";
  return shown;
}

namespace {

std::vector<HWND> paintedWindows;

void CountPaint(HWND window, UINT message) {
  if (message == WM_PAINT) paintedWindows.push_back(window);
}

LRESULT CALLBACK MinimiseWhenShown(int code, WPARAM wParam, LPARAM lParam) {
  const auto* call = reinterpret_cast<const CWPRETSTRUCT*>(lParam);
  if (code == HC_ACTION && call->message == WM_WINDOWPOSCHANGED &&
      (reinterpret_cast<const WINDOWPOS*>(call->lParam)->flags & SWP_SHOWWINDOW) && GetParent(call->hwnd) == nullptr &&
      GetWindow(call->hwnd, GW_OWNER) == nullptr && !IsIconic(call->hwnd))
    ShowWindow(call->hwnd, SW_SHOWMINNOACTIVE);
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

LRESULT CALLBACK CountSentPaint(int code, WPARAM wParam, LPARAM lParam) {
  const auto* call = reinterpret_cast<const CWPSTRUCT*>(lParam);
  if (code == HC_ACTION) CountPaint(call->hwnd, call->message);
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

LRESULT CALLBACK CountQueuedPaint(int code, WPARAM wParam, LPARAM lParam) {
  const auto* message = reinterpret_cast<const MSG*>(lParam);
  if (code == HC_ACTION && wParam == PM_REMOVE) CountPaint(message->hwnd, message->message);
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

}  // namespace

StartedMinimised::StartedMinimised()
    : hook_(SetWindowsHookExA(WH_CALLWNDPROCRET, MinimiseWhenShown, nullptr, GetCurrentThreadId())) {}

StartedMinimised::~StartedMinimised() {
  if (hook_ != nullptr) UnhookWindowsHookEx(hook_);
}

PaintCount::PaintCount()
    : sent_(SetWindowsHookExA(WH_CALLWNDPROC, CountSentPaint, nullptr, GetCurrentThreadId())),
      queued_(SetWindowsHookExA(WH_GETMESSAGE, CountQueuedPaint, nullptr, GetCurrentThreadId())) {
  paintedWindows.clear();
}

PaintCount::~PaintCount() {
  for (HHOOK hook : {sent_, queued_})
    if (hook != nullptr) UnhookWindowsHookEx(hook);
}

int PaintCount::Of(HWND window) const {
  return static_cast<int>(std::count(paintedWindows.begin(), paintedWindows.end(), window));
}
