// Points and rectangles in whole pixels, as the windows and their decisions
// share them.
#pragma once

struct Point {
  int x = 0, y = 0;
  bool operator==(const Point&) const = default;
};

struct Rect {
  int left = 0, top = 0, right = 0, bottom = 0;
  int Width() const { return right - left; }
  int Height() const { return bottom - top; }
  Rect Offset(int dx, int dy) const { return {left + dx, top + dy, right + dx, bottom + dy}; }
  bool operator==(const Rect&) const = default;
};

// Configured coordinates are 32-bit and may be absurd; sums of them are
// made in 64 bits and brought back to the nearest int.
int ClampToInt(long long value);
