// [global] browserMode in the registry: written only where it changes
// something, and there before the first browser of either window is made,
// under the program file's own name.
#include <functional>
#include <optional>
#include <string>

#include "app/launcher_app.h"
#include "browser/browser_mode.h"
#include "browser/browser_mode_win.h"
#include "game_fixture.h"

namespace {

const wchar_t* KeyPath() { return reinterpret_cast<const wchar_t*>(kBrowserEmulationKey); }

// The value `name` as a DWORD; nothing when it is absent or of another type.
std::optional<DWORD> ReadMode(const std::wstring& name) {
  DWORD type = 0, value = 0, size = sizeof value;
  if (RegGetValueW(HKEY_CURRENT_USER, KeyPath(), name.c_str(), RRF_RT_ANY, &type, &value, &size) != ERROR_SUCCESS ||
      type != REG_DWORD)
    return std::nullopt;
  return value;
}

void Remove(const std::wstring& name) { RegDeleteKeyValueW(HKEY_CURRENT_USER, KeyPath(), name.c_str()); }

void Set(const std::wstring& name, DWORD type, const void* data, DWORD size) {
  ASSERT_EQ(RegSetKeyValueW(HKEY_CURRENT_USER, KeyPath(), name.c_str(), type, data, size), ERROR_SUCCESS);
}

// This program's file name, the value's name for whatever it registers.
std::wstring ProgramFileName() {
  wchar_t path[MAX_PATH] = {};
  const std::wstring full(path, GetModuleFileNameW(nullptr, path, MAX_PATH));
  return full.substr(full.find_last_of(L'\\') + 1);
}

}  // namespace

TEST(BrowserModeRegistry, WritesTheModeOnlyWhereTheValueHoldsSomethingElse) {
  const std::wstring name = L"launcher-test-" + std::to_wstring(GetCurrentProcessId()) + L".exe";
  const DWORD other = 10001, same = 11001;
  struct Case {
    const char* before;
    std::function<void()> prepare;
    std::optional<DWORD> mode;
    BrowserModeRegistration result;
    std::optional<DWORD> after;
  } cases[] = {
      {"absent", [] {}, 11001, BrowserModeRegistration::kWritten, 11001},
      {"the same mode", [&] { Set(name, REG_DWORD, &same, sizeof same); }, 11001, BrowserModeRegistration::kUnchanged,
       11001},
      {"another mode", [&] { Set(name, REG_DWORD, &other, sizeof other); }, 11001, BrowserModeRegistration::kWritten,
       11001},
      {"the mode as text", [&] { Set(name, REG_SZ, L"11001", sizeof L"11001"); }, 11001,
       BrowserModeRegistration::kWritten, 11001},
      {"absent, no mode", [] {}, std::nullopt, BrowserModeRegistration::kNone, std::nullopt},
      {"another mode, no mode", [&] { Set(name, REG_DWORD, &other, sizeof other); }, std::nullopt,
       BrowserModeRegistration::kNone, 10001},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.before);
    Remove(name);
    c.prepare();
    // (Wine keeps a value set to what it holds as it was, so whether the
    // same value was written again shows only in the answer.)
    EXPECT_EQ(RegisterBrowserMode(name, c.mode), c.result);
    EXPECT_EQ(ReadMode(name), c.after);
  }
  Remove(name);
}

namespace {

// What the program's own value held when the first browser host window
// (control `id`) of this thread was created; the hook is this thread's
// for the scope.
class BrowserCreationWatch {
 public:
  explicit BrowserCreationWatch(UINT id) {
    id_ = id;
    seen_.reset();
    hook_ = SetWindowsHookExW(WH_CBT, &BrowserCreationWatch::Hook, nullptr, GetCurrentThreadId());
  }
  ~BrowserCreationWatch() { UnhookWindowsHookEx(hook_); }
  bool Seen() const { return seen_.has_value(); }
  std::optional<DWORD> ModeThen() const { return seen_.value_or(std::nullopt); }

 private:
  static LRESULT CALLBACK Hook(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HCBT_CREATEWND && !seen_) {
      const CREATESTRUCTW* create = reinterpret_cast<CBT_CREATEWNDW*>(lParam)->lpcs;
      if ((create->style & WS_CHILD) && reinterpret_cast<UINT_PTR>(create->hMenu) == id_)
        seen_ = ReadMode(ProgramFileName());
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
  }

  static inline UINT id_ = 0;
  static inline std::optional<std::optional<DWORD>> seen_;
  HHOOK hook_;
};

BOOL CALLBACK EndModalRun(HWND hwnd, LPARAM) {
  if (auto* dialog = dynamic_cast<win::Dialog*>(win::Window::FromHandle(hwnd)); dialog && dialog->IsRunningModal())
    dialog->EndModal(IDOK);
  return TRUE;
}

// Ends this thread's modal window once `done`, looking every 20 ms.
void EndWhen(std::function<bool()> done, DWORD start = GetTickCount()) {
  testkit::RunSoon(
      [=] {
        if (done() || GetTickCount() - start > 30000) {
          EnumThreadWindows(GetCurrentThreadId(), EndModalRun, 0);
          return;
        }
        EndWhen(done, start);
      },
      20);
}

}  // namespace

TEST_F(GameWindowTest, TheModeIsRegisteredUnderTheProgramsNameBeforeEitherWindowMakesItsBrowser) {
  struct Case {
    const char* window;
    std::string firstUrl;
    std::string extraGlobal;
    UINT browserId;
    std::optional<DWORD> mode;
  } cases[] = {
      {"login", "", "browserMode=11001\r\n", 150, 11001},
      {"game", "about:blank", "browserMode=11001\r\n", 170, 11001},
      {"login without the key", "", "", 150, std::nullopt},
      {"game with a number that is no mode", "about:blank", "browserMode=11002\r\n", 170, std::nullopt},
  };
  const std::wstring name = ProgramFileName();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.window);
    Remove(name);
    LoadAppSkin({.firstUrl = c.firstUrl, .extraGlobal = c.extraGlobal});
    App().SetGameAddress("");
    ASSERT_TRUE(App().LoadLoginBackground());
    BrowserCreationWatch watch(c.browserId);
    EndWhen([&] { return watch.Seen(); });
    App().RunWindows();
    ASSERT_TRUE(watch.Seen()) << "no browser was made";
    EXPECT_EQ(watch.ModeThen(), c.mode);
    EXPECT_EQ(ReadMode(name), c.mode);
  }
  Remove(name);
}
