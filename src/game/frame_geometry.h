// The game window's frame as decisions: where the pointer is on the frame,
// where the children go, what is painted where, and the rectangles of the
// size states. The window only carries these out.
#pragma once

#include <array>
#include <optional>
#include <vector>

#include "common/geometry.h"

// Widths and heights of the eight frame pieces: 1 top-left, 2 top (its
// height is the title bar's), 3 top-right, 4 left, 5 right, 6 bottom-left,
// 7 bottom, 8 bottom-right.
struct FrameMetrics {
  std::array<int, 8> widths{};
  std::array<int, 8> heights{};
  int W(int piece) const { return widths[piece - 1]; }
  int H(int piece) const { return heights[piece - 1]; }
};

// The window's size state as far as the frame is concerned.
struct FrameState {
  bool maximised = false;
  bool fullScreen = false;
};

// Hit codes as the system numbers them.
enum HitCode : int {
  kHitClient = 1,
  kHitLeft = 10,
  kHitRight = 11,
  kHitTopLeft = 13,
  kHitTopRight = 14,
  kHitBottom = 15,
  kHitBottomLeft = 16,
  kHitBottomRight = 17,
};

// Where the pointer is on a restored frame: corners first, then the sides.
// The top edge between the corners is client area (it moves the window).
// Maximised or in full screen, everything is client area.
int FrameHitTest(const Rect& window, Point pointer, const FrameMetrics& frame, FrameState state);

// The system's size command (SC_SIZE plus the side) for a hit code; 0 for
// codes that do not size.
unsigned SizeCommandFor(int hitCode);

enum class FrameCursor { kArrow, kSizeWestEast, kSizeNorthSouth, kSizeNorthWestSouthEast, kSizeNorthEastSouthWest };
FrameCursor CursorFor(int hitCode);

// The smallest window: the configured size, at most the work area's.
struct MinimumSize {
  int width = 0, height = 0;
};
MinimumSize ComputeMinimumSize(int minGameWidth, int minGameHeight, const Rect& workArea);

// A rectangle being dragged keeps at least the minimum size by moving its
// right and bottom sides, whichever edge is dragged.
Rect EnforceMinimumSize(Rect proposed, MinimumSize minimum);

// The browser's rectangle inside a window of `width` x `height`.
Rect BrowserRect(int width, int height, const FrameMetrics& frame, bool maximised);

// A title-bar button's top-left corner: anchored to the right edge of the
// window (maximised) or of the area inside the right edge piece (restored).
Point ButtonPosition(int windowWidth, int x, int y, const FrameMetrics& frame, bool maximised);

// One frame piece stretched over a rectangle of the client area.
struct PaintStep {
  int piece;
  Rect target;
  bool operator==(const PaintStep&) const = default;
};
// What the frame paints for a client area of `clientWidth` x `clientHeight`:
// nothing in full screen, the top edge across the width when maximised, the
// eight pieces around the client area when restored.
std::vector<PaintStep> FramePaintPlan(int clientWidth, int clientHeight, const FrameMetrics& frame, FrameState state);

// The first restore: the configured size centred in the work area, from the
// screen origin, never starting at a negative position.
Rect FirstRestoreRect(const Rect& workArea, int minGameWidth, int minGameHeight);

// The window rectangle whose client area covers the whole screen.
Rect FullScreenRect(const Rect& window, const Rect& clientOnScreen, int screenWidth, int screenHeight);

// A double-click toggles maximised and restored when its screen y lies
// strictly inside the title bar of the window's normal rectangle.
bool DoubleClickTogglesSize(const Rect& normalRect, int screenY, int titleHeight);

// Moving the window by its title bar: while the left button alone is held on
// the title bar of a restored window, each move shifts the window by the
// pointer's travel, so the pointer keeps its place on the window.
class TitleBarDrag {
 public:
  // Returns the offset to move the window by, or nothing when the move is
  // not a drag (the window then handles it as usual).
  std::optional<Point> OnMouseMove(bool onlyLeftButton, Point clientPoint, FrameState state, int titleHeight);

 private:
  Point remembered_;
};
