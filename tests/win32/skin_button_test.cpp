#include "skin/skin_button_win.h"

#include <gtest/gtest.h>

#include <commctrl.h>

#include <memory>

#include "app/resource.h"
#include "launcher_driver.h"
#include "update_process_tree.h"
#include "win/dialog.h"

namespace {

constexpr UINT kButtonId = 205;

// A visible dialog at a known place holding one skin button at (10, 10) of
// 40 x 20, counting the clicks it receives.
class ButtonHost : public win::Dialog {
 public:
  ButtonHost() : Dialog(IDD_GAME, nullptr) {}
  CSkinButton button;
  int clicks = 0;

 protected:
  BOOL OnInitDialog() override {
    SetWindowPos(Handle(), HWND_TOP, 100, 100, 200, 100, SWP_SHOWWINDOW);
    button.Create("", WS_CHILD | WS_VISIBLE, RECT{10, 10, 50, 30}, Handle(), kButtonId);
    return TRUE;
  }
  bool OnCommand(WORD id, WORD code, HWND) override {
    if (id == kButtonId && code == BN_CLICKED) ++clicks;
    return id == kButtonId;
  }
};

// A copy of the marker program, as `name` in `folder` (if any) of a new
// directory; links point at it and each opening adds a line.
class Marker {
 public:
  explicit Marker(const std::string& name = "mark.exe", const std::string& folder = "")
      : name_(folder.empty() ? name : folder + "\\" + name) {
    if (!folder.empty()) CreateDirectoryA(dir_.File(folder).c_str(), nullptr);
    dir_.Write(name_, testkit::ReadFileBytes(testkit::WinePath(MARK_EXE)));
  }
  std::string Path() const { return dir_.File(name_); }
  // The openings so far: the button starts the program while it handles
  // the press, so every opening has left its line once no copy started by
  // this test program runs any more.
  int Count() const {
    EXPECT_TRUE(testkit::WaitUntilEnded(Path(), GetCurrentProcessId())) << "the marker program never ended";
    const testkit::Bytes marks = testkit::ReadFileBytes(Path() + ".marks");
    return static_cast<int>(std::count(marks.begin(), marks.end(), '\n'));
  }

 private:
  testkit::TempDir dir_;
  std::string name_;
};

LPARAM At(int x, int y) { return MAKELPARAM(x, y); }

}  // namespace

TEST(SkinButton, PressOpensTheLinkAtOnceAndDraggingOffMeansNoClick) {
  Marker marker;
  ButtonHost host;
  int opensAfterPress = -1;
  testkit::RunModal(host, [&] {
    HWND b = host.button.Handle();
    // The real pointer goes where each move says: a held button looks at
    // it again while it draws.
    auto moveTo = [&](int x, int y) {
      POINT screen{x, y};
      ClientToScreen(b, &screen);
      testkit::MovePointer(screen);
      SendMessageA(b, WM_MOUSEMOVE, MK_LBUTTON, At(x, y));
    };
    host.button.SetLink(marker.Path().c_str());
    POINT pressAt{5, 5};
    ClientToScreen(b, &pressAt);
    testkit::MovePointer(pressAt);
    SendMessageA(b, WM_LBUTTONDOWN, MK_LBUTTON, At(5, 5));
    opensAfterPress = marker.Count();
    moveTo(100, 50);  // over the dialog, off the button
    EXPECT_EQ(SendMessageA(b, BM_GETSTATE, 0, 0) & BST_PUSHED, 0);
    moveTo(6, 6);  // back: pushed again
    EXPECT_NE(SendMessageA(b, BM_GETSTATE, 0, 0) & BST_PUSHED, 0);
    moveTo(100, 50);
    SendMessageA(b, WM_LBUTTONUP, 0, At(100, 50));
  });
  EXPECT_EQ(opensAfterPress, 1);
  EXPECT_EQ(host.clicks, 0);
  EXPECT_EQ(marker.Count(), 1);  // the release opens nothing more
}

TEST(SkinButton, DoubleClickIsTwoPressesAndSpaceClicksWithoutOpening) {
  Marker marker;
  ButtonHost host;
  int clicksAfterDoubleClick = -1;
  testkit::RunModal(host, [&] {
    HWND b = host.button.Handle();
    host.button.SetLink(marker.Path().c_str());
    SendMessageA(b, WM_LBUTTONDOWN, MK_LBUTTON, At(5, 5));
    SendMessageA(b, WM_LBUTTONUP, 0, At(5, 5));
    SendMessageA(b, WM_LBUTTONDBLCLK, MK_LBUTTON, At(5, 5));
    SendMessageA(b, WM_LBUTTONUP, 0, At(5, 5));
    clicksAfterDoubleClick = host.clicks;
    SetFocus(b);
    SendMessageA(b, WM_KEYDOWN, VK_SPACE, 0);
    SendMessageA(b, WM_KEYUP, VK_SPACE, 0xC0000000);
  });
  EXPECT_EQ(clicksAfterDoubleClick, 2);
  EXPECT_EQ(host.clicks, 3);
  EXPECT_EQ(marker.Count(), 2);
}

TEST(SkinButton, SemicolonsInTheLinkBecomeAmpersands) {
  Marker marker("a&b.exe");
  ButtonHost host;
  testkit::RunModal(host, [&] {
    std::string link = marker.Path();
    link.replace(link.rfind('&'), 1, ";");
    host.button.SetLink(link.c_str());
    EXPECT_EQ(host.button.Link(), marker.Path());
    SendMessageA(host.button.Handle(), WM_LBUTTONDOWN, MK_LBUTTON, At(5, 5));
    SendMessageA(host.button.Handle(), WM_LBUTTONUP, 0, At(5, 5));
  });
  EXPECT_EQ(marker.Count(), 1);
}

TEST(SkinButton, NeverChecked) {
  ButtonHost host;
  testkit::RunModal(host, [&] {
    SendMessageA(host.button.Handle(), BM_SETCHECK, BST_CHECKED, 0);
    EXPECT_EQ(SendMessageA(host.button.Handle(), BM_GETCHECK, 0, 0), 0);
  });
}

// Each change of the caption colour answers the one before, the system's
// button text colour at first. (The kind and record index are read where
// their owner uses them: the game window's title-bar lookup.)
TEST(SkinButton, CaptionColourChangesAnswerThePreviousColour) {
  CSkinButton button;
  EXPECT_EQ(button.SetCaptionColor(RGB(1, 2, 3)), GetSysColor(COLOR_BTNTEXT));
  EXPECT_EQ(button.SetCaptionColor(RGB(4, 5, 6)), RGB(1, 2, 3));
}

TEST(SkinButton, ImagesAreOwnedAndReleasedOnceEach) {
  auto bitmap = [] { return CreateBitmap(4, 4, 1, 32, nullptr); };
  HBITMAP first[3] = {bitmap(), bitmap(), bitmap()};
  HBITMAP second = bitmap();
  {
    CSkinButton button;
    button.SetImages(first[0], first[1], first[2]);
    button.SetImages(second, nullptr, nullptr);  // releases all three, even those not replaced
    for (HBITMAP old : first) EXPECT_EQ(GetObjectType(old), 0u);
    EXPECT_EQ(GetObjectType(second), static_cast<DWORD>(OBJ_BITMAP));
  }
  EXPECT_EQ(GetObjectType(second), 0u);  // the button's end releases the rest
}

namespace {

BOOL CALLBACK CountTipsFor(HWND hwnd, LPARAM param) {
  auto* search = reinterpret_cast<std::pair<HWND, int>*>(param);
  if (testkit::ClassName(hwnd) != TOOLTIPS_CLASSA) return TRUE;
  TOOLINFOA tool{};
  tool.cbSize = sizeof tool;
  for (int i = 0; SendMessageA(hwnd, TTM_ENUMTOOLSA, i, reinterpret_cast<LPARAM>(&tool)); ++i)
    if (tool.hwnd == search->first) ++search->second;
  return TRUE;
}

int TipsFor(HWND button) {
  std::pair<HWND, int> search{button, 0};
  EnumThreadWindows(GetCurrentThreadId(), CountTipsFor, reinterpret_cast<LPARAM>(&search));
  return search.second;
}

}  // namespace

TEST(SkinButton, HasATooltipOnlyOnceSetTipWasCalled) {
  ButtonHost host;
  int before = -1, after = -1, again = -1;
  testkit::RunModal(host, [&] {
    before = TipsFor(host.button.Handle());
    host.button.SetTip("close");
    after = TipsFor(host.button.Handle());
    host.button.SetTip("close now");
    again = TipsFor(host.button.Handle());
  });
  EXPECT_EQ(before, 0);
  EXPECT_EQ(after, 1);
  EXPECT_EQ(again, 1);  // the text is replaced, no second tooltip
}

namespace {

HBITMAP SolidBitmap(COLORREF colour) {
  HDC screen = GetDC(nullptr);
  HBITMAP bitmap = CreateCompatibleBitmap(screen, 40, 20);
  HDC dc = CreateCompatibleDC(screen);
  HGDIOBJ old = SelectObject(dc, bitmap);
  HBRUSH brush = CreateSolidBrush(colour);
  RECT all{0, 0, 40, 20};
  FillRect(dc, &all, brush);
  DeleteObject(brush);
  SelectObject(dc, old);
  DeleteDC(dc);
  ReleaseDC(nullptr, screen);
  return bitmap;
}

}  // namespace

TEST(SkinButton, FaceFollowsPushedAndDisabledStates) {
  const COLORREF red = RGB(255, 0, 0), blue = RGB(0, 0, 255), green = RGB(0, 255, 0);
  ButtonHost host;
  std::vector<COLORREF> seen;
  testkit::RunModal(host, [&] {
    HWND b = host.button.Handle();
    host.button.SetImages(SolidBitmap(red), SolidBitmap(blue), SolidBitmap(green));
    auto look = [&] {
      RedrawWindow(b, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
      seen.push_back(testkit::WindowPixel(b, 20, 10));
    };
    look();
    SendMessageA(b, BM_SETSTATE, TRUE, 0);
    look();
    SendMessageA(b, BM_SETSTATE, FALSE, 0);
    EnableWindow(b, FALSE);
    look();
  });
  EXPECT_EQ(seen, (std::vector<COLORREF>{red, blue, red}));
}

// A configured link goes to the shell as the operator wrote it: a program
// whose folder and name hold spaces opens. A link with a control character
// opens nothing.
TEST(SkinButton, TheShellGetsTheLinkAsWrittenAndNothingWithAControlCharacter) {
  Marker spaced("a b.exe", "my docs");
  Marker refused("c.exe");
  ButtonHost host;
  testkit::RunModal(host, [&] {
    for (const std::string& link : {spaced.Path(), refused.Path() + "\r\n", "\t" + refused.Path()}) {
      host.button.SetLink(link.c_str());
      EXPECT_EQ(host.button.Link(), link);
      SendMessageA(host.button.Handle(), WM_LBUTTONDOWN, MK_LBUTTON, At(5, 5));
      SendMessageA(host.button.Handle(), WM_LBUTTONUP, 0, At(5, 5));
    }
  });
  EXPECT_EQ(spaced.Count(), 1);
  EXPECT_EQ(refused.Count(), 0);
}
