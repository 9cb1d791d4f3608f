#include "win/dialog.h"

#include <gtest/gtest.h>

#include <vector>

#include "app/resource.h"
#include "win_testkit.h"

using testkit::RunSoon;

namespace {

// A dialog on the game template that records what reaches it.
class ProbeDialog : public win::Dialog {
 public:
  explicit ProbeDialog(HWND parent = nullptr) : Dialog(IDD_GAME, parent) {}

  std::vector<UINT> seen;
  std::vector<UINT> filtered;
  bool consumeKeys = false;
  HWND edit = nullptr;
  bool initialised = false;

  bool PreTranslateMessage(MSG* message) override {
    if (message->message == WM_KEYDOWN) {
      filtered.push_back(static_cast<UINT>(message->wParam));
      if (consumeKeys) return true;
    }
    return Dialog::PreTranslateMessage(message);
  }

 protected:
  BOOL OnInitDialog() override {
    initialised = true;
    edit = CreateWindowExA(0, "EDIT", "", WS_CHILD | WS_VISIBLE | WS_TABSTOP, 0, 0, 50, 20, Handle(),
                           reinterpret_cast<HMENU>(1000), nullptr, nullptr);
    SetFocus(edit);
    return FALSE;
  }
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
    seen.push_back(message);
    return Dialog::WindowProc(message, wParam, lParam);
  }
};

bool Saw(const std::vector<UINT>& messages, UINT message) {
  return std::find(messages.begin(), messages.end(), message) != messages.end();
}

}  // namespace

TEST(Dialog, IsBoundFromCreationAndRunsUntilEndModal) {
  ProbeDialog dialog;
  HWND during = nullptr;
  RunSoon([&] {
    during = dialog.Handle();
    dialog.EndModal(42);
  });
  EXPECT_EQ(dialog.DoModal(), 42);
  EXPECT_TRUE(dialog.initialised);
  EXPECT_TRUE(Saw(dialog.seen, WM_NCCREATE));
  EXPECT_TRUE(Saw(dialog.seen, WM_CREATE));
  EXPECT_TRUE(Saw(dialog.seen, WM_INITDIALOG));
  ASSERT_NE(during, nullptr);
  EXPECT_FALSE(IsWindow(during));  // destroyed before DoModal returns
  EXPECT_EQ(dialog.Handle(), nullptr);
  EXPECT_EQ(win::Window::FromHandle(during), nullptr);
}

TEST(Dialog, DisablesItsOwnerWhileModal) {
  ProbeDialog owner;
  ASSERT_TRUE(owner.Create());
  ProbeDialog dialog(owner.Handle());
  BOOL ownerEnabledDuring = TRUE;
  RunSoon([&] {
    ownerEnabledDuring = IsWindowEnabled(owner.Handle());
    dialog.EndModal(IDOK);
  });
  EXPECT_EQ(dialog.DoModal(), IDOK);
  EXPECT_FALSE(ownerEnabledDuring);
  EXPECT_TRUE(IsWindowEnabled(owner.Handle()));
  DestroyWindow(owner.Handle());
}

TEST(Dialog, CloseAndEscapeCancelThroughTheDialogDefaults) {
  for (bool useEscape : {false, true}) {
    ProbeDialog dialog;
    RunSoon([&] {
      if (useEscape)
        PostMessageA(dialog.edit, WM_KEYDOWN, VK_ESCAPE, 0);
      else
        PostMessageA(dialog.Handle(), WM_CLOSE, 0, 0);
    });
    RunSoon([&] { dialog.EndModal(99); }, 2000);  // only if nothing else ended it
    EXPECT_EQ(dialog.DoModal(), IDCANCEL) << (useEscape ? "escape" : "close");
  }
}

TEST(Dialog, KeysReachThePreFilterOfTheControlsParentFirst) {
  ProbeDialog dialog;
  dialog.consumeKeys = true;
  RunSoon([&] {
    PostMessageA(dialog.edit, WM_KEYDOWN, VK_ESCAPE, 0);  // consumed: no cancel
    PostMessageA(dialog.edit, WM_KEYDOWN, 'A', 0);
  });
  RunSoon([&] { dialog.EndModal(7); }, 300);
  EXPECT_EQ(dialog.DoModal(), 7);
  EXPECT_EQ(dialog.filtered, (std::vector<UINT>{VK_ESCAPE, 'A'}));
}
