#include "game/frame_pieces.h"

#include <gtest/gtest.h>

namespace {

LauncherConfig WithSprites() {
  LauncherConfig config;
  config.sprites = {{0, 0, 12, 30, 0}, {12, 0, 8, 28, 0}, {20, 0, -4, 26, 0}};
  return config;
}

}  // namespace

TEST(FramePieces, EachEdgeKeyNamesItsSpriteFromOne) {
  LauncherConfig config = WithSprites();
  config.edgeImages = {1, 2, 2, 0, 4, -1, 9, 3};
  struct Case {
    int piece;
    bool found;
    int x;
  } cases[] = {{1, true, 0},  {2, true, 12}, {3, true, 12}, {4, false, 0}, {5, false, 0},
               {6, false, 0}, {7, false, 0}, {8, true, 20}, {0, false, 0}, {9, false, 0}};
  for (const Case& c : cases) {
    const auto sprite = EdgePieceSprite(config, c.piece);
    ASSERT_EQ(sprite.has_value(), c.found) << c.piece;
    if (c.found) {
      EXPECT_EQ(sprite->x, c.x) << c.piece;
    }
  }
}

TEST(FramePieces, MissingOrNegativeSpritesMeasureNothing) {
  LauncherConfig config = WithSprites();
  config.edgeImages = {1, 2, 3, 9, 9, 9, 9, 1};  // the default 9 names no sprite here
  const FrameMetrics f = FrameMetricsOf(config);
  EXPECT_EQ(f.widths, (std::array<int, 8>{12, 8, 0, 0, 0, 0, 0, 12}));
  EXPECT_EQ(f.heights, (std::array<int, 8>{30, 28, 26, 0, 0, 0, 0, 30}));
}

TEST(FramePieces, AScaledFrameMeasuresEachPieceScaled) {
  LauncherConfig config = WithSprites();
  config.edgeImages = {1, 2, 3, 9, 9, 9, 9, 1};
  const FrameMetrics f = FrameMetricsOf(config, DisplayScale(144));
  EXPECT_EQ(f.widths, (std::array<int, 8>{18, 12, 0, 0, 0, 0, 0, 18}));  // -4 measures nothing at any scale
  EXPECT_EQ(f.heights, (std::array<int, 8>{45, 42, 39, 0, 0, 0, 0, 45}));
}
