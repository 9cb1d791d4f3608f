// The exit step: Windows' GDI+ crashes on a picture deleted after its
// shutdown (Wine's does not), so the order is checked, not the crash.
#include <functional>

#include "game_fixture.h"
#include "login/login_window_win.h"

namespace {

struct Search {
  const std::function<bool(win::Window*)>* is;
  win::Dialog* found = nullptr;
};

BOOL CALLBACK LookAt(HWND hwnd, LPARAM lParam) {
  auto* search = reinterpret_cast<Search*>(lParam);
  win::Window* window = win::Window::FromHandle(hwnd);
  if (!IsWindowVisible(hwnd) || window == nullptr || !(*search->is)(window)) return TRUE;
  search->found = dynamic_cast<win::Dialog*>(window);
  return search->found == nullptr;
}

// The first visible window of this thread that `is` recognises.
win::Dialog* ShownWindow(const std::function<bool(win::Window*)>& is) {
  Search search{&is};
  EnumThreadWindows(GetCurrentThreadId(), LookAt, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

// Ends the first window that `is` recognises once it is on the screen.
void EndWhenShown(std::function<bool(win::Window*)> is, DWORD start = GetTickCount()) {
  testkit::RunSoon(
      [=] {
        if (win::Dialog* window = ShownWindow(is)) return window->EndModal(IDOK);
        if (GetTickCount() - start < 30000) return EndWhenShown(is, start);
        ADD_FAILURE() << "the window never showed";
      },
      20);
}

}  // namespace

TEST_F(GameWindowTest, NoPictureOutlivesGdiplusAfterTheLoginOrTheGameWindow) {
  struct Case {
    const char* path;
    const char* firstUrl;
    std::function<bool(win::Window*)> window;
  } cases[] = {
      {"login", "", [](win::Window* w) { return dynamic_cast<CLauncherTranslucentDlg*>(w) != nullptr; }},
      {"game", "about:blank", [](win::Window* w) { return dynamic_cast<CGameDialog*>(w) != nullptr; }},
  };
  for (const Case& c : cases) {
    LoadAppSkin({.firstUrl = c.firstUrl});
    ASSERT_TRUE(App().LoadLoginBackground());
    EXPECT_EQ(PackagePicture::LiveCount(), 1) << c.path;
    EndWhenShown(c.window);
    App().RunWindows();
    App().ShutDown();
    EXPECT_EQ(App().PicturesAtGdiplusShutdown(), 0) << c.path;
  }
}
