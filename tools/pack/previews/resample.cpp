#include "previews/resample.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <vector>

namespace {

// The cubic convolution kernel with a = -0.5 (Catmull-Rom): it keeps a
// picture at its own size exactly as it is and passes flat colours through.
double Cubic(double t) {
  t = std::abs(t);
  if (t < 1) return (1.5 * t - 2.5) * t * t + 1;
  if (t < 2) return ((-0.5 * t + 2.5) * t - 4) * t + 2;
  return 0;
}

// The index a tiling of mirrored copies gives a position outside 0 ... n - 1.
int Mirrored(long long i, int n) {
  const long long period = 2LL * n;
  long long m = i % period;
  if (m < 0) m += period;
  return static_cast<int>(m < n ? m : period - 1 - m);
}

// Which source pixels make one target pixel, and how much each counts.
struct Taps {
  std::vector<int> index;
  std::vector<float> weight;
};

// For each of `to` target pixels along one axis of `from` source pixels.
std::vector<Taps> TapsFor(int from, int to) {
  const double ratio = static_cast<double>(from) / to;
  // Reduced, the kernel widens to cover every source pixel under a target pixel.
  const double stretch = std::max(1.0, ratio);
  std::vector<Taps> all(static_cast<std::size_t>(to));
  for (int t = 0; t < to; ++t) {
    const double centre = (t + 0.5) * ratio - 0.5;
    const auto first = static_cast<long long>(std::floor(centre - 2 * stretch)) + 1;
    const auto last = static_cast<long long>(std::ceil(centre + 2 * stretch)) - 1;
    std::vector<double> weights;
    double sum = 0;
    Taps& taps = all[static_cast<std::size_t>(t)];
    for (long long s = first; s <= last; ++s) {
      const double w = Cubic((static_cast<double>(s) - centre) / stretch);
      if (w == 0) continue;
      taps.index.push_back(Mirrored(s, from));
      weights.push_back(w);
      sum += w;
    }
    for (const double w : weights) taps.weight.push_back(static_cast<float>(w / sum));
  }
  return all;
}

// Red, green and blue times alpha, and alpha from 0 to 1; floats keep a
// large picture's copies at 16 bytes a pixel.
using Premultiplied = std::array<float, 4>;

std::uint8_t Byte(double value) { return static_cast<std::uint8_t>(std::lround(std::clamp(value, 0.0, 255.0))); }

}  // namespace

RgbaImage Resample(const RgbaImage& source, const Rect& from, int width, int height) {
  const int w = from.Width(), h = from.Height();
  if (width <= 0 || height <= 0 || w <= 0 || h <= 0) return RgbaImage();
  std::vector<Premultiplied> piece(static_cast<std::size_t>(w) * h, Premultiplied{});
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      if (!source.Contains(from.left + x, from.top + y)) continue;
      const Rgba& p = source.At(from.left + x, from.top + y);
      const float a = p.a / 255.0f;
      piece[static_cast<std::size_t>(y) * w + x] = {p.r * a, p.g * a, p.b * a, a};
    }
  // Rows first, into `width` columns; then the columns into `height` rows.
  const std::vector<Taps> across = TapsFor(w, width), down = TapsFor(h, height);
  std::vector<Premultiplied> rows(static_cast<std::size_t>(width) * h, Premultiplied{});
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < width; ++x) {
      Premultiplied& out = rows[static_cast<std::size_t>(y) * width + x];
      const Taps& taps = across[static_cast<std::size_t>(x)];
      for (std::size_t i = 0; i < taps.index.size(); ++i)
        for (int c = 0; c < 4; ++c)
          out[c] += taps.weight[i] * piece[static_cast<std::size_t>(y) * w + taps.index[i]][c];
    }
  RgbaImage target(width, height);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) {
      Premultiplied sum{};
      const Taps& taps = down[static_cast<std::size_t>(y)];
      for (std::size_t i = 0; i < taps.index.size(); ++i)
        for (int c = 0; c < 4; ++c)
          sum[c] += taps.weight[i] * rows[static_cast<std::size_t>(taps.index[i]) * width + x][c];
      const double a = std::clamp(static_cast<double>(sum[3]), 0.0, 1.0);
      // Back to straight alpha; a pixel with no alpha left has no colour.
      target.At(x, y) = a <= 0 ? Rgba{} : Rgba{Byte(sum[0] / a), Byte(sum[1] / a), Byte(sum[2] / a), Byte(a * 255)};
    }
  return target;
}
