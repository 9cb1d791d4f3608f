#include "package/picture_size.h"

#include <gtest/gtest.h>

#include <string>

namespace {

std::string Png(std::uint32_t width, std::uint32_t height, const char* chunk = "IHDR") {
  std::string bytes("\x89PNG\r\n\x1a\n\0\0\0\x0d", 12);
  bytes += chunk;
  for (const std::uint32_t v : {width, height})
    for (int shift = 24; shift >= 0; shift -= 8) bytes += static_cast<char>(v >> shift);
  return bytes + std::string("\x08\x06\0\0\0", 5);
}

std::span<const std::uint8_t> Bytes(const std::string& s) {
  return {reinterpret_cast<const std::uint8_t*>(s.data()), s.size()};
}

}  // namespace

TEST(PictureSize, ReadsThePngHeaderAndRefusesMoreThanAnEightKScreen) {
  struct Case {
    std::string bytes;
    bool hasSize;
    bool tooLarge;
  } cases[] = {
      {Png(30000, 30000), true, true},
      {Png(7680, 4320), true, false},
      {Png(7681, 4320), true, true},
      {Png(1, 33177601), true, true},
      {Png(0xFFFFFFFF, 0xFFFFFFFF), true, true},  // the product must not wrap
      {Png(0x10000, 0x10000), true, true},        // 2^32 pixels: wraps to 0 in 32 bits
      {Png(1, 1), true, false},
      {Png(30000, 30000).substr(0, 23), false, false},  // cut inside the height
      {Png(30000, 30000, "IDAT"), false, false},        // the header chunk must come first
      {"GIF89a" + Png(30000, 30000).substr(6), false, false},
  };
  for (const Case& c : cases) {
    const auto size = PngHeaderSize(Bytes(c.bytes));
    EXPECT_EQ(size.has_value(), c.hasSize) << c.bytes.size();
    EXPECT_EQ(PictureTooLarge(Bytes(c.bytes)), c.tooLarge) << c.bytes.size();
  }
  EXPECT_EQ(PngHeaderSize(Bytes(Png(30000, 123)))->width, 30000u);
  EXPECT_EQ(PngHeaderSize(Bytes(Png(30000, 123)))->height, 123u);
}
