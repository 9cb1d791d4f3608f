#include "common/display_scale.h"

int ScaleBetween(int value, int fromDpi, int toDpi) {
  if (fromDpi < 1) return value;
  const long long product = static_cast<long long>(value) * toDpi;
  const long long half = fromDpi / 2;
  // Division truncates toward zero: half the divisor added to the size
  // first rounds halves away from zero on either side.
  const long long rounded = product >= 0 ? (product + half) / fromDpi : -((-product + half) / fromDpi);
  return ClampToInt(rounded);
}

DisplayScale::DisplayScale(int dpi) : dpi_(dpi >= 1 ? dpi : kStandardDpi) {}

Rect DisplayScale::Area(const Rect& r) const {
  // Sizes are taken in 64 bits: a configured rectangle may span more than
  // an int can.
  const int width = Length(ClampToInt(static_cast<long long>(r.right) - r.left));
  const int height = Length(ClampToInt(static_cast<long long>(r.bottom) - r.top));
  const int left = Length(r.left), top = Length(r.top);
  return {left, top, ClampToInt(static_cast<long long>(left) + width), ClampToInt(static_cast<long long>(top) + height)};
}
