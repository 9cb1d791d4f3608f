#include "game/frame_geometry.h"

#include <algorithm>
#include <climits>

int FrameHitTest(const Rect& window, Point p, const FrameMetrics& f, FrameState state) {
  if (state.maximised || state.fullScreen) return kHitClient;
  const int l = window.left, t = window.top, r = window.right, b = window.bottom;
  if (p.x <= l + f.W(1) && p.y <= t + f.H(1)) return kHitTopLeft;
  if (p.x >= r - f.W(3) && p.y <= t + f.H(3)) return kHitTopRight;
  if (p.x <= l + f.W(6) && p.y >= b - f.H(6)) return kHitBottomLeft;
  if (p.x >= r - f.W(8) && p.y >= b - f.H(8)) return kHitBottomRight;
  if (p.x <= l + f.W(4)) return kHitLeft;
  if (p.x >= r - f.W(5)) return kHitRight;
  if (p.y >= b - f.H(7)) return kHitBottom;
  return kHitClient;
}

unsigned SizeCommandFor(int hitCode) {
  switch (hitCode) {
    case kHitLeft: return 0xF001;
    case kHitRight: return 0xF002;
    case kHitTopLeft: return 0xF004;
    case kHitTopRight: return 0xF005;
    case kHitBottom: return 0xF006;
    case kHitBottomLeft: return 0xF007;
    case kHitBottomRight: return 0xF008;
    default: return 0;
  }
}

FrameCursor CursorFor(int hitCode) {
  switch (hitCode) {
    case kHitLeft:
    case kHitRight: return FrameCursor::kSizeWestEast;
    case kHitBottom: return FrameCursor::kSizeNorthSouth;
    case kHitTopLeft:
    case kHitBottomRight: return FrameCursor::kSizeNorthWestSouthEast;
    case kHitTopRight:
    case kHitBottomLeft: return FrameCursor::kSizeNorthEastSouthWest;
    default: return FrameCursor::kArrow;
  }
}

MinimumSize ComputeMinimumSize(int minGameWidth, int minGameHeight, const Rect& workArea) {
  return {std::min(minGameWidth, workArea.Width()), std::min(minGameHeight, workArea.Height())};
}

Rect EnforceMinimumSize(Rect proposed, MinimumSize minimum) {
  if (proposed.Width() < minimum.width) proposed.right = proposed.left + minimum.width;
  if (proposed.Height() < minimum.height) proposed.bottom = proposed.top + minimum.height;
  return proposed;
}

Rect BrowserRect(int width, int height, const FrameMetrics& f, bool maximised) {
  if (maximised) return {0, f.H(2), width, height};
  return {f.W(4), f.H(2), width - f.W(5), height - f.H(7)};
}

Point ButtonPosition(int windowWidth, int x, int y, const FrameMetrics& f, bool maximised) {
  return {windowWidth + x - (maximised ? 0 : f.W(5)), y};
}

namespace {

Rect Sized(int x, int y, int width, int height) { return {x, y, x + width, y + height}; }

}  // namespace

std::vector<PaintStep> FramePaintPlan(int cw, int ch, const FrameMetrics& f, FrameState state) {
  if (state.fullScreen) return {};
  if (state.maximised) return {{2, Sized(0, 0, cw, f.H(2))}};
  return {
      {1, Sized(0, 0, f.W(1), f.H(1))},
      {3, Sized(cw - f.W(3), 0, f.W(3), f.H(3))},
      {2, Sized(f.W(1), 0, cw - f.W(1) - f.W(3), f.H(2))},
      {4, Sized(0, f.H(1), f.W(4), ch - f.H(1) - f.H(6))},
      {5, Sized(cw - f.W(5), f.H(3), f.W(5), ch - f.H(3) - f.H(8))},
      {6, Sized(0, ch - f.H(6), f.W(6), f.H(6))},
      {8, Sized(cw - f.W(8), ch - f.H(8), f.W(8), f.H(8))},
      {7, Sized(f.W(6), ch - f.H(7), cw - f.W(6) - f.W(8), f.H(7))},
  };
}

Rect FirstRestoreRect(const Rect& workArea, int minGameWidth, int minGameHeight) {
  const int x = std::max(0, (workArea.Width() - minGameWidth) / 2);
  const int y = std::max(0, (workArea.Height() - minGameHeight) / 2);
  return {x, y, x + minGameWidth, y + minGameHeight};
}

Rect FullScreenRect(const Rect& w, const Rect& c, int screenWidth, int screenHeight) {
  return {w.left - c.left, w.top - c.top, w.right - c.right + screenWidth, w.bottom - c.bottom + screenHeight};
}

bool DoubleClickTogglesSize(const Rect& normalRect, int screenY, int titleHeight) {
  return screenY > normalRect.top && screenY < normalRect.top + titleHeight;
}

std::optional<Point> TitleBarDrag::OnMouseMove(bool onlyLeftButton, Point p, FrameState state, int titleHeight) {
  if (onlyLeftButton && !state.maximised && !state.fullScreen && p.y < titleHeight && !(p == remembered_))
    return Point{p.x - remembered_.x, p.y - remembered_.y};
  remembered_ = p;
  return std::nullopt;
}
