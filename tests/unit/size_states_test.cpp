#include "game/size_states.h"

#include <gtest/gtest.h>

namespace {

const Rect kWork{0, 0, 1280, 984};

// The window as start-up leaves it: maximised over the work area.
SizeStates Started() {
  SizeStates sizes;
  EXPECT_EQ(sizes.Maximise({0, 0, 540, 376}, kWork), kWork);
  return sizes;
}

}  // namespace

TEST(SizeStates, FirstRestoreIsTheConfiguredSizeCentredLaterOnesTheRectangleBeforeMaximising) {
  SizeStates sizes = Started();
  EXPECT_TRUE(sizes.Maximised());
  EXPECT_EQ(sizes.Restore(kWork, 1000, 600), (Rect{140, 192, 1140, 792}));
  EXPECT_FALSE(sizes.Maximised());
  // Moved and resized by the player, then maximised and restored.
  const Rect moved{30, 40, 1130, 740};
  EXPECT_EQ(sizes.Maximise(moved, kWork), kWork);
  EXPECT_EQ(sizes.Restore(kWork, 1000, 600), moved);
  // Maximising a maximised window keeps the rectangle to come back to.
  sizes.Maximise(moved, kWork);
  sizes.Maximise(kWork, kWork);
  EXPECT_EQ(sizes.Restore(kWork, 1000, 600), moved);
}

TEST(SizeStates, RestoringTwiceInARowKeepsTheSameRectangle) {
  SizeStates sizes = Started();
  const Rect first = sizes.Restore(kWork, 1000, 600);
  EXPECT_EQ(sizes.Restore(kWork, 800, 500), first);  // no new centring once one was made
}

TEST(SizeStates, AConfiguredSizeLargerThanTheWorkAreaStartsAtTheOrigin) {
  SizeStates sizes = Started();
  EXPECT_EQ(sizes.Restore({0, 0, 800, 500}, 1000, 600), (Rect{0, 0, 1000, 600}));
  SizeStates narrow = Started();
  EXPECT_EQ(narrow.Restore({0, 0, 800, 900}, 1000, 600), (Rect{0, 150, 1000, 750}));
}

TEST(SizeStates, FullScreenComesBackToTheStateItLeft) {
  struct Case {
    bool restoredFirst;
    bool maximisedAfter;
  } cases[] = {{false, true}, {true, false}};
  for (const Case& c : cases) {
    SizeStates sizes = Started();
    Rect current = kWork;
    if (c.restoredFirst) current = sizes.Restore(kWork, 1000, 600);
    const Rect moved = current.Offset(7, 9);
    sizes.EnterFullScreen(c.restoredFirst ? moved : kWork);
    EXPECT_TRUE(sizes.FullScreen());
    EXPECT_EQ(sizes.Maximised(), c.maximisedAfter);
    sizes.LeaveFullScreen();
    EXPECT_FALSE(sizes.FullScreen());
    EXPECT_EQ(sizes.Maximised(), c.maximisedAfter);
    // A restored window comes back where it was when full screen began;
    // a maximised one still restores to the first, centred rectangle.
    EXPECT_EQ(sizes.Restore(kWork, 1000, 600), (c.restoredFirst ? moved : Rect{140, 192, 1140, 792}));
  }
}

TEST(SizeStates, FullScreenBeforeAnyRestoreDoesNotCountAsTheFirstRestore) {
  SizeStates sizes;  // not yet maximised, as before start-up ends
  sizes.EnterFullScreen({5, 5, 600, 400});
  sizes.LeaveFullScreen();
  EXPECT_EQ(sizes.Restore(kWork, 1000, 600), (Rect{140, 192, 1140, 792}));
}

TEST(SizeStates, MaximiseAndRestoreInFullScreenChangeTheSizeStateOnly) {
  SizeStates sizes = Started();
  sizes.EnterFullScreen(kWork);
  sizes.Restore(kWork, 1000, 600);
  EXPECT_TRUE(sizes.FullScreen());
  EXPECT_FALSE(sizes.Maximised());
  sizes.Maximise({0, 0, 1280, 1024}, kWork);
  EXPECT_TRUE(sizes.FullScreen());
  EXPECT_TRUE(sizes.Maximised());
}
