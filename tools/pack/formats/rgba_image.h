// A picture as straight-alpha RGBA pixels, top row first: what the PNG codec
// reads and writes and what the previews are drawn on.
#pragma once

#include <cstdint>
#include <vector>

struct Rgba {
  std::uint8_t r = 0, g = 0, b = 0, a = 0;
  bool operator==(const Rgba&) const = default;
};

// A colour of the configuration (red in the lowest byte), fully opaque.
inline Rgba FromColour(std::uint32_t colour) {
  return {static_cast<std::uint8_t>(colour), static_cast<std::uint8_t>(colour >> 8),
          static_cast<std::uint8_t>(colour >> 16), 255};
}

class RgbaImage {
 public:
  RgbaImage() = default;
  RgbaImage(int width, int height, Rgba fill = {})
      : width_(width), height_(height), pixels_(static_cast<std::size_t>(width) * height, fill) {}

  int Width() const { return width_; }
  int Height() const { return height_; }
  bool Contains(int x, int y) const { return x >= 0 && y >= 0 && x < width_ && y < height_; }
  Rgba& At(int x, int y) { return pixels_[static_cast<std::size_t>(y) * width_ + x]; }
  const Rgba& At(int x, int y) const { return pixels_[static_cast<std::size_t>(y) * width_ + x]; }
  const std::vector<Rgba>& Pixels() const { return pixels_; }

 private:
  int width_ = 0, height_ = 0;
  std::vector<Rgba> pixels_;
};
