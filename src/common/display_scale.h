// The display's scale as the windows of a skin that asks for it apply it:
// configured coordinates and sizes are pixels at 96 DPI and become the
// window's DPI / 96 times as many, all rounded by one rule.
#pragma once

#include "common/geometry.h"

// The DPI at which configured pixels are screen pixels.
inline constexpr int kStandardDpi = 96;

// `value` x `toDpi` / `fromDpi`, to the nearest whole pixel, halves away
// from zero: a distance counted from the right (a negative x) scales as the
// same distance counted from the left. Computed in 64 bits and clamped to
// int; a `fromDpi` below 1 leaves the value as it is.
int ScaleBetween(int value, int fromDpi, int toDpi);

class DisplayScale {
 public:
  // 96 DPI: every length as configured.
  DisplayScale() = default;
  // A DPI below 1 (none known) counts as 96.
  explicit DisplayScale(int dpi);

  int Dpi() const { return dpi_; }
  // Whether anything changes: false at 96 DPI.
  bool Scales() const { return dpi_ != kStandardDpi; }

  int Length(int value) const { return ScaleBetween(value, kStandardDpi, dpi_); }
  Point Position(Point p) const { return {Length(p.x), Length(p.y)}; }
  // A configured rectangle: its corner and its size are scaled each, so
  // that things of one size keep one size wherever they lie.
  Rect Area(const Rect& r) const;

  bool operator==(const DisplayScale&) const = default;

 private:
  int dpi_ = kStandardDpi;
};
