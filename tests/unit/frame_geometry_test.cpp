#include "game/frame_geometry.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

namespace {

// Corners of different widths and heights, as real skins have them.
FrameMetrics Frame() {
  FrameMetrics f;
  f.widths = {12, 40, 16, 5, 7, 9, 30, 11};
  f.heights = {30, 28, 26, 50, 50, 14, 6, 10};
  return f;
}

const FrameState kRestored{false, false};
const FrameState kMaximised{true, false};
const FrameState kFullScreen{false, true};

}  // namespace

TEST(FrameHitTest, CornersFirstThenSidesOnARestoredFrame) {
  const Rect w{100, 200, 900, 800};
  const FrameMetrics f = Frame();
  struct Case {
    Point p;
    int hit;
  } cases[] = {
      // Each row at its boundary and one pixel past it.
      {{112, 230}, kHitTopLeft},     {{113, 230}, kHitClient},  // the top edge between corners moves
      {{884, 226}, kHitTopRight},    {{884, 227}, kHitClient},      {{883, 226}, kHitClient},
      {{109, 786}, kHitBottomLeft},  {{110, 786}, kHitClient},      {{109, 785}, kHitClient},
      {{889, 790}, kHitBottomRight}, {{889, 789}, kHitClient},      {{888, 790}, kHitClient},
      {{105, 500}, kHitLeft},        {{106, 500}, kHitClient},
      {{893, 500}, kHitRight},       {{892, 500}, kHitClient},
      {{500, 794}, kHitBottom},      {{500, 793}, kHitClient},
      // Where rows overlap, the earlier row wins.
      {{100, 210}, kHitTopLeft},     {{895, 220}, kHitTopRight},    {{105, 795}, kHitBottomLeft},
      {{898, 799}, kHitBottomRight}, {{102, 790}, kHitBottomLeft},  {{500, 500}, kHitClient},
  };
  for (const Case& c : cases) EXPECT_EQ(FrameHitTest(w, c.p, f, kRestored), c.hit) << c.p.x << "," << c.p.y;
  for (FrameState state : {kMaximised, kFullScreen, FrameState{true, true}})
    for (const Case& c : cases) EXPECT_EQ(FrameHitTest(w, c.p, f, state), kHitClient);
}

TEST(FrameHitTest, SizeCommandsAndCursorsOfEachCode) {
  struct Case {
    int hit;
    unsigned command;
    FrameCursor cursor;
  } cases[] = {
      {kHitLeft, 0xF001, FrameCursor::kSizeWestEast},
      {kHitRight, 0xF002, FrameCursor::kSizeWestEast},
      {kHitTopLeft, 0xF004, FrameCursor::kSizeNorthWestSouthEast},
      {kHitTopRight, 0xF005, FrameCursor::kSizeNorthEastSouthWest},
      {kHitBottom, 0xF006, FrameCursor::kSizeNorthSouth},
      {kHitBottomLeft, 0xF007, FrameCursor::kSizeNorthEastSouthWest},
      {kHitBottomRight, 0xF008, FrameCursor::kSizeNorthWestSouthEast},
      {kHitClient, 0, FrameCursor::kArrow},
      {2, 0, FrameCursor::kArrow},   // caption
      {12, 0, FrameCursor::kArrow},  // top border: not a sizing edge here
  };
  for (const Case& c : cases) {
    EXPECT_EQ(SizeCommandFor(c.hit), c.command) << c.hit;
    EXPECT_EQ(CursorFor(c.hit), c.cursor) << c.hit;
  }
}

TEST(FrameGeometry, MinimumSizeIsAtMostTheWorkAreaAndHoldsFromAnyEdge) {
  const Rect work{0, 0, 1280, 984};
  EXPECT_EQ(ComputeMinimumSize(1000, 600, work).width, 1000);
  EXPECT_EQ(ComputeMinimumSize(2000, 1200, work).width, 1280);
  EXPECT_EQ(ComputeMinimumSize(2000, 1200, work).height, 984);
  const MinimumSize minimum{1000, 600};
  // Dragging the left edge to the right past the minimum: the right side moves instead.
  EXPECT_EQ(EnforceMinimumSize({500, 100, 1400, 800}, minimum), (Rect{500, 100, 1500, 800}));
  EXPECT_EQ(EnforceMinimumSize({100, 300, 1200, 800}, minimum), (Rect{100, 300, 1200, 900}));
  EXPECT_EQ(EnforceMinimumSize({0, 0, 1100, 700}, minimum), (Rect{0, 0, 1100, 700}));
}

TEST(FrameGeometry, ChildrenFollowTheSizeState) {
  const FrameMetrics f = Frame();
  EXPECT_EQ(BrowserRect(1280, 984, f, true), (Rect{0, 28, 1280, 984}));
  EXPECT_EQ(BrowserRect(1000, 600, f, false), (Rect{5, 28, 993, 594}));
  EXPECT_EQ(ButtonPosition(1280, -30, 4, f, true), (Point{1250, 4}));
  EXPECT_EQ(ButtonPosition(1000, -30, 4, f, false), (Point{963, 4}));  // left by W(5) when restored
  EXPECT_EQ(ButtonPosition(1000, 10, 4, f, true), (Point{1010, 4}));   // x >= 0 lies outside
}

TEST(FramePaintPlan, RestoredPiecesTileTheBorderWithoutGapsOrOverlaps) {
  const FrameMetrics f = Frame();
  const int cw = 300, ch = 200;
  const std::vector<PaintStep> plan = FramePaintPlan(cw, ch, f, kRestored);
  ASSERT_EQ(plan.size(), 8u);
  std::vector<int> order;
  for (const PaintStep& step : plan) order.push_back(step.piece);
  EXPECT_EQ(order, (std::vector<int>{1, 3, 2, 4, 5, 6, 8, 7}));
  auto target = [&](int piece) {
    return std::find_if(plan.begin(), plan.end(), [&](const PaintStep& s) { return s.piece == piece; })->target;
  };
  // The top strip spans from piece 1's right end to piece 3's left end; the
  // bottom strip from piece 6 to piece 8; the sides from corner to corner.
  EXPECT_EQ(target(2).left, target(1).right);
  EXPECT_EQ(target(2).right, target(3).left);
  EXPECT_EQ(target(3).right, cw);
  EXPECT_EQ(target(7).left, target(6).right);
  EXPECT_EQ(target(7).right, target(8).left);
  EXPECT_EQ(target(7).bottom, ch);
  EXPECT_EQ(target(4).top, target(1).bottom);
  EXPECT_EQ(target(4).bottom, target(6).top);
  EXPECT_EQ(target(5).top, target(3).bottom);
  EXPECT_EQ(target(5).bottom, target(8).top);
  EXPECT_EQ(target(5).right, cw);
  // The strips take what the corners leave (300 - 12 - 16 at the top,
  // 300 - 9 - 11 at the bottom), not their own pictures' 40 and 30; every
  // other piece its own size.
  const auto width = [&](int piece) { return piece == 2 ? 272 : piece == 7 ? 280 : f.W(piece); };
  for (const PaintStep& step : plan) {
    EXPECT_EQ(step.target.Width(), width(step.piece)) << step.piece;
    if (step.piece != 4 && step.piece != 5) {
      EXPECT_EQ(step.target.Height(), f.H(step.piece)) << step.piece;
    }
  }
}

TEST(FramePaintPlan, MaximisedPaintsTheTopEdgeAloneAndFullScreenNothing) {
  const FrameMetrics f = Frame();
  EXPECT_EQ(FramePaintPlan(1280, 984, f, kMaximised), (std::vector<PaintStep>{{2, {0, 0, 1280, 28}}}));
  EXPECT_TRUE(FramePaintPlan(1280, 1024, f, kFullScreen).empty());
  EXPECT_TRUE(FramePaintPlan(1280, 1024, f, FrameState{true, true}).empty());
}

TEST(FrameGeometry, FirstRestoreIsCentredFromTheOriginAndNeverNegative) {
  EXPECT_EQ(FirstRestoreRect({0, 0, 1280, 984}, 1000, 600), (Rect{140, 192, 1140, 792}));
  EXPECT_EQ(FirstRestoreRect({0, 0, 1280, 984}, 1001, 601), (Rect{139, 191, 1140, 792}));  // truncated
  EXPECT_EQ(FirstRestoreRect({0, 0, 800, 500}, 1000, 600), (Rect{0, 0, 1000, 600}));        // larger than the area
  EXPECT_EQ(FirstRestoreRect({0, 0, 1280, 984}, 0, 0), (Rect{640, 492, 640, 492}));
}

TEST(FrameGeometry, FullScreenRectPutsTheClientOverTheScreen) {
  // A window whose client area is inset by 3 on the left, 25 at the top.
  const Rect window{100, 50, 900, 650};
  const Rect client{103, 75, 897, 647};
  EXPECT_EQ(FullScreenRect(window, client, 1280, 1024), (Rect{-3, -25, 1283, 1027}));
  EXPECT_EQ(FullScreenRect(client, client, 1280, 1024), (Rect{0, 0, 1280, 1024}));
}

TEST(FrameGeometry, DoubleClickTogglesOnlyStrictlyInsideTheTitleBar) {
  const Rect normal{0, 100, 800, 700};
  EXPECT_FALSE(DoubleClickTogglesSize(normal, 100, 28));
  EXPECT_TRUE(DoubleClickTogglesSize(normal, 101, 28));
  EXPECT_TRUE(DoubleClickTogglesSize(normal, 127, 28));
  EXPECT_FALSE(DoubleClickTogglesSize(normal, 128, 28));
  EXPECT_FALSE(DoubleClickTogglesSize(normal, 500, 28));
}

TEST(TitleBarDrag, FollowsThePointerOnlyWhileTheLeftButtonHoldsTheTitleBar) {
  TitleBarDrag drag;
  EXPECT_EQ(drag.OnMouseMove(false, {50, 10}, kRestored, 28), std::nullopt);  // remembers (50, 10)
  EXPECT_EQ(drag.OnMouseMove(true, {60, 12}, kRestored, 28), (Point{10, 2}));
  // The remembered point stays: the window moved under the pointer.
  EXPECT_EQ(drag.OnMouseMove(true, {55, 10}, kRestored, 28), (Point{5, 0}));
  EXPECT_EQ(drag.OnMouseMove(true, {50, 10}, kRestored, 28), std::nullopt);  // no travel
  EXPECT_EQ(drag.OnMouseMove(true, {70, 28}, kRestored, 28), std::nullopt);  // below the title bar
  EXPECT_EQ(drag.OnMouseMove(true, {90, 5}, kRestored, 28), (Point{20, -23}));
  EXPECT_EQ(drag.OnMouseMove(true, {99, 5}, kMaximised, 28), std::nullopt);
  EXPECT_EQ(drag.OnMouseMove(true, {99, 6}, kFullScreen, 28), std::nullopt);
}
