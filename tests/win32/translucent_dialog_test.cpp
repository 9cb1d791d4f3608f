#include "skin/translucent_dialog_win.h"

#include <gtest/gtest.h>

#include "app/resource.h"
#include "launcher_driver.h"
#include "package/attached_package.h"
#include "png_writer.h"

namespace {

constexpr COLORREF kKey = RGB(0, 255, 0);

// A background picture loaded the way start-up loads it.
std::unique_ptr<PackagePicture> Picture(const testkit::Bytes& png) {
  testkit::StartGdiplus();
  static testkit::Bytes file;  // the package reads from it while loading
  file = testkit::Concat({testkit::MakePeImage(), testkit::ZipBuilder().Add("config/main1.png",
                                                                             std::string(png.begin(), png.end())).Build()});
  AttachedPackage package;
  EXPECT_EQ(package.Open(file), PackageOpenResult::kOpened);
  std::unique_ptr<PackagePicture> picture;
  EXPECT_EQ(LoadPackagePicture(&package, "config/main1.png", &picture), LoadOutcome::kLoaded);
  return picture;
}

class TestCompanion : public CStandardDialog {
 public:
  explicit TestCompanion(HWND parent) : CStandardDialog(IDD_LAUNCHER_STANDARD, kKey, parent) {}

 protected:
  BOOL OnInitDialog() override {
    CStandardDialog::OnInitDialog();
    // An opaque control: blue, 10 x 10 at (5, 5).
    CreateWindowExA(0, testkit::ColourClass("LauncherTestBlue", RGB(0, 0, 255)), "", WS_CHILD | WS_VISIBLE, 5, 5, 10, 10,
                    Handle(), nullptr, nullptr, nullptr);
    return TRUE;
  }
};

class Pair : public CTranslucentDialog {
 public:
  explicit Pair(std::unique_ptr<PackagePicture> picture, bool withCompanion = true)
      : CTranslucentDialog(IDD_LAUNCHER_TRANSLUCENT, std::move(picture), nullptr), withCompanion_(withCompanion) {}
  bool childrenInitialised = false;

 protected:
  std::unique_ptr<CStandardDialog> CreateStandardDialog() override {
    if (!withCompanion_) return nullptr;
    auto companion = std::make_unique<TestCompanion>(Handle());
    companion->SetTranslucentWindow(this);
    return companion;
  }
  void OnInitChildren() override { childrenInitialised = true; }

 private:
  bool withCompanion_;
};

}  // namespace

TEST(TranslucentDialog, TakesThePicturesSizeCentredByTheCaptionedRectangle) {
  Pair pair(Picture(testkit::RgbaPng(200, 120, [](int, int) { return 0xFF808080u; })));
  RECT window{}, companion{}, client{};
  testkit::RunModal(pair, [&] {
    window = testkit::WindowRect(pair.Handle());
    companion = testkit::WindowRect(pair.Companion()->Handle());
    client = testkit::ClientRectOnScreen(pair.Handle());
  });
  EXPECT_TRUE(pair.childrenInitialised);
  const RECT work = testkit::WorkArea(), centred = testkit::CentredPairRect(200, 120);
  EXPECT_EQ(window, centred);
  EXPECT_LT(centred.left, work.left + ((work.right - work.left) - 200) / 2);  // left of the exact centre
  EXPECT_EQ(companion, client);
}

TEST(TranslucentDialog, AnUndecodablePictureGivesAnEmptyWindow) {
  Pair pair(Picture(testkit::ToBytes("not a png")));
  RECT window{}, companion{};
  testkit::RunModal(pair, [&] {
    window = testkit::WindowRect(pair.Handle());
    companion = testkit::WindowRect(pair.Companion()->Handle());
  });
  EXPECT_EQ(window.right - window.left, 0);
  EXPECT_EQ(window.bottom - window.top, 0);
  EXPECT_LE(companion.right - companion.left, 0);
}

TEST(TranslucentDialog, CompanionFollowsMovesAndSizes) {
  Pair pair(Picture(testkit::RgbaPng(100, 80, [](int, int) { return 0xFF000000u; })));
  RECT moved{}, client{};
  testkit::RunModal(pair, [&] {
    SetWindowPos(pair.Handle(), nullptr, 37, 41, 150, 90, SWP_NOZORDER);
    moved = testkit::WindowRect(pair.Companion()->Handle());
    client = testkit::ClientRectOnScreen(pair.Handle());
  });
  EXPECT_EQ(moved, client);
}

TEST(TranslucentDialog, CompanionOkOrCancelEndsTheRunWithCancel) {
  for (int command : {IDOK, IDCANCEL}) {
    Pair pair(Picture(testkit::RgbaPng(50, 50, [](int, int) { return 0xFF000000u; })));
    HWND companion = nullptr;
    const INT_PTR result = testkit::RunModal(
        pair,
        [&] {
          companion = pair.Companion()->Handle();
          PostMessageA(companion, WM_COMMAND, command, 0);
        },
        false);
    EXPECT_EQ(result, IDCANCEL) << command;
    EXPECT_FALSE(IsWindow(companion));  // destroyed with its owner
  }
}

// Without a companion the background alone is shown and follows moves
// (which have no companion to take along).
TEST(TranslucentDialog, PairWithoutCompanionRuns) {
  Pair pair(Picture(testkit::RgbaPng(30, 30, [](int, int) { return 0xFF000000u; })), false);
  bool shown = false;
  RECT placed{}, moved{};
  testkit::RunModal(pair, [&] {
    shown = IsWindowVisible(pair.Handle()) != FALSE;
    placed = testkit::WindowRect(pair.Handle());
    SetWindowPos(pair.Handle(), nullptr, 5, 5, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    moved = testkit::WindowRect(pair.Handle());
  });
  EXPECT_TRUE(shown);
  EXPECT_EQ(placed, testkit::CentredPairRect(30, 30));
  EXPECT_EQ(moved, (RECT{5, 5, 35, 35}));
  EXPECT_EQ(pair.Companion(), nullptr);
}

TEST(TranslucentDialog, ScreenShowsOpaquePictureControlsAndWhatLiesBeneathTheRest) {
  testkit::Backdrop backdrop;
  // Left half opaque red, right half fully transparent.
  Pair pair(Picture(testkit::RgbaPng(120, 80, [](int x, int) { return x < 60 ? 0xFFFF0000u : 0x00000000u; })));
  testkit::RunModal(pair, [&] {
    const RECT client = testkit::ClientRectOnScreen(pair.Handle());
    const RECT companion = testkit::WindowRect(pair.Companion()->Handle());
    EXPECT_TRUE(testkit::ScreenShows({client.left + 30, client.top + 50}, RGB(255, 0, 0)));
    EXPECT_TRUE(testkit::ScreenShows({client.left + 100, client.top + 50}, RGB(255, 255, 0)));
    EXPECT_TRUE(testkit::ScreenShows({companion.left + 10, companion.top + 10}, RGB(0, 0, 255)));
  });
}
