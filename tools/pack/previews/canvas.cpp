#include "previews/canvas.h"

#include <algorithm>

namespace {

std::uint8_t Mix(int over, int under, int weight) {
  return static_cast<std::uint8_t>((over * weight + under * (255 - weight) + 127) / 255);
}

}  // namespace

void CopyPixels(RgbaImage& target, Point at, const RgbaImage& source, const Rect& from, std::optional<Rgba> key) {
  for (int y = std::max(from.top, 0); y < std::min(from.bottom, source.Height()); ++y)
    for (int x = std::max(from.left, 0); x < std::min(from.right, source.Width()); ++x) {
      const int tx = at.x + x - from.left, ty = at.y + y - from.top;
      if (!target.Contains(tx, ty)) continue;
      Rgba pixel = source.At(x, y);
      pixel.a = 255;
      if (key && pixel == *key) continue;
      target.At(tx, ty) = pixel;
    }
}

void StretchPixels(RgbaImage& target, const Rect& to, const RgbaImage& source, const Rect& from) {
  if (to.Width() <= 0 || to.Height() <= 0 || from.Width() <= 0 || from.Height() <= 0) return;
  for (int ty = std::max(to.top, 0); ty < std::min(to.bottom, target.Height()); ++ty)
    for (int tx = std::max(to.left, 0); tx < std::min(to.right, target.Width()); ++tx) {
      const int sx = from.left + static_cast<int>(static_cast<long long>(tx - to.left) * from.Width() / to.Width());
      const int sy = from.top + static_cast<int>(static_cast<long long>(ty - to.top) * from.Height() / to.Height());
      if (!source.Contains(sx, sy)) continue;
      Rgba pixel = source.At(sx, sy);
      pixel.a = 255;
      target.At(tx, ty) = pixel;
    }
}

void FillRect(RgbaImage& target, const Rect& rect, Rgba colour) {
  for (int y = std::max(rect.top, 0); y < std::min(rect.bottom, target.Height()); ++y)
    for (int x = std::max(rect.left, 0); x < std::min(rect.right, target.Width()); ++x) target.At(x, y) = colour;
}

void BlendPixel(RgbaImage& target, int x, int y, Rgba colour, int coverage) {
  if (!target.Contains(x, y) || coverage <= 0) return;
  Rgba& under = target.At(x, y);
  const int weight = std::min(coverage, 255);
  under = {Mix(colour.r, under.r, weight), Mix(colour.g, under.g, weight), Mix(colour.b, under.b, weight),
           static_cast<std::uint8_t>(std::max<int>(under.a, Mix(255, under.a, weight)))};
}

void BlendOver(RgbaImage& target, Point at, const RgbaImage& source) {
  for (int y = 0; y < source.Height(); ++y)
    for (int x = 0; x < source.Width(); ++x) {
      const Rgba& pixel = source.At(x, y);
      BlendPixel(target, at.x + x, at.y + y, {pixel.r, pixel.g, pixel.b, 255}, pixel.a);
    }
}
