#include "package/picture_size.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <utility>

namespace {

std::string Png(std::uint32_t width, std::uint32_t height, const char* chunk = "IHDR") {
  std::string bytes("\x89PNG\r\n\x1a\n\0\0\0\x0d", 12);
  bytes += chunk;
  for (const std::uint32_t v : {width, height})
    for (int shift = 24; shift >= 0; shift -= 8) bytes += static_cast<char>(v >> shift);
  return bytes + std::string("\x08\x06\0\0\0", 5);
}

std::string Le16(unsigned v) { return {static_cast<char>(v), static_cast<char>(v >> 8)}; }
std::string Le32(std::uint32_t v) { return Le16(v & 0xFFFF) + Le16(v >> 16); }
std::string Be16(unsigned v) { return {static_cast<char>(v >> 8), static_cast<char>(v)}; }

// A GIF of one frame: the screen, then a frame of its own size after an
// extension and a global colour table, so that the walk must skip both.
std::string Gif(unsigned screenW, unsigned screenH, unsigned frameW, unsigned frameH) {
  std::string b = "GIF89a" + Le16(screenW) + Le16(screenH) + std::string("\x80\0\0", 3) + std::string(6, '\0');
  b += std::string("\x21\xF9\x04\0\0\0\0\0", 8);  // graphic control extension
  b += "\x2C" + Le16(0) + Le16(0) + Le16(frameW) + Le16(frameH) + std::string("\0\x02\x02\x44\x01\0", 6);
  return b + "\x3B";
}

// A JPEG whose frame header follows an application segment.
std::string Jpeg(unsigned width, unsigned height, char frameMarker = '\xC0') {
  std::string b("\xFF\xD8\xFF\xE0", 4);
  b += Be16(16) + std::string("JFIF\0\1\1\0\0\1\0\1\0\0", 14);
  b += std::string("\xFF", 1) + frameMarker + Be16(17) + "\x08" + Be16(height) + Be16(width) + std::string(12, '\x01');
  return b + "\xFF\xD9";
}

std::string Bmp(std::uint32_t width, std::uint32_t height) {
  return "BM" + Le32(0) + Le32(0) + Le32(54) + Le32(40) + Le32(width) + Le32(height) + Le16(1) + Le16(32) +
         std::string(24, '\0');
}

std::string CoreBmp(unsigned width, unsigned height) {
  return "BM" + Le32(0) + Le32(0) + Le32(26) + Le32(12) + Le16(width) + Le16(height) + Le16(1) + Le16(24);
}

// A little-endian TIFF whose directory gives the width as a LONG and the
// height as a SHORT, after an entry of another tag.
std::string Tiff(std::uint32_t width, unsigned height) {
  std::string b = "II*" + std::string(1, '\0') + Le32(8) + Le16(3);
  b += Le16(254) + Le16(4) + Le32(1) + Le32(0);
  b += Le16(256) + Le16(4) + Le32(1) + Le32(width);
  b += Le16(257) + Le16(3) + Le32(1) + Le16(height) + Le16(0);
  return b + Le32(0);
}

// An icon of a 16 x 16 entry and an entry holding `inner` (a PNG).
std::string Icon(const std::string& inner) {
  std::string b = std::string("\0\0\1\0", 4) + Le16(2);
  b += std::string("\x10\x10\0\0", 4) + Le16(1) + Le16(32) + Le32(0) + Le32(38);
  b += std::string("\0\0\0\0", 4) + Le16(1) + Le16(32) + Le32(static_cast<std::uint32_t>(inner.size())) + Le32(38);
  return b + inner;
}

// The info header of an icon's bitmap: its height counts the colours and the
// mask.
std::string IconBitmap(std::uint32_t width, std::uint32_t height) {
  return Le32(40) + Le32(width) + Le32(height) + Le16(1) + Le16(1) + std::string(24, '\0');
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

TEST(PictureSize, EveryFormatTheDecoderTakesIsMeasuredBeforeDecoding) {
  using Size = std::pair<std::uint32_t, std::uint32_t>;
  struct Case {
    const char* what;
    std::string bytes;
    std::optional<Size> size;
    bool tooLarge;
  } cases[] = {
      {"gif", Gif(640, 480, 640, 480), Size{640, 480}, false},
      {"gif screen", Gif(65535, 65535, 1, 1), Size{65535, 65535}, true},
      {"gif frame beyond a small screen", Gif(1, 1, 60000, 60000), Size{60000, 60000}, true},
      {"gif cut in its screen", Gif(65535, 65535, 1, 1).substr(0, 9), std::nullopt, false},
      {"jpeg", Jpeg(800, 600), Size{800, 600}, false},
      {"progressive jpeg", Jpeg(65535, 65535, '\xC2'), Size{65535, 65535}, true},
      {"jpeg without a frame", Jpeg(65535, 65535, '\xC4'), std::nullopt, false},
      {"jpeg cut in its frame", Jpeg(65535, 65535).substr(0, 26), std::nullopt, false},
      {"bmp", Bmp(100, 50), Size{100, 50}, false},
      {"top-down bmp", Bmp(30000, static_cast<std::uint32_t>(-30000)), Size{30000, 30000}, true},
      {"bmp of the most negative height", Bmp(1, 0x80000000u), Size{1, 0x80000000u}, true},
      {"core bmp", CoreBmp(40000, 40000), Size{40000, 40000}, true},
      {"tiff", Tiff(30000, 30000), Size{30000, 30000}, true},
      {"small tiff", Tiff(7680, 4320), Size{7680, 4320}, false},
      {"tiff pointing past its end", "II*" + std::string(1, '\0') + Le32(1000), std::nullopt, false},
      {"icon", Icon(""), Size{256, 256}, false},
      {"icon holding a huge png", Icon(Png(30000, 30000)), Size{30000, 30000}, true},
      {"icon holding its bitmap", Icon(IconBitmap(256, 512)), Size{256, 512}, false},
      {"icon whose bitmap is larger than its entry", Icon(IconBitmap(9000, 18000)), Size{9000, 18000}, true},
      {"icon cut in its header", std::string("\0\0\2\0", 4), std::nullopt, false},
      {"icon cut in its entries", Icon("").substr(0, 30), std::nullopt, false},
      {"png", Png(30000, 30000), Size{30000, 30000}, true},
      {"neither", "RIFF0000WEBPVP8 ", std::nullopt, false},
  };
  for (const Case& c : cases) {
    const auto size = AnnouncedPictureSize(Bytes(c.bytes));
    ASSERT_EQ(size.has_value(), c.size.has_value()) << c.what;
    if (size) {
      EXPECT_EQ(Size(size->width, size->height), *c.size) << c.what;
    }
    EXPECT_EQ(PictureTooLarge(Bytes(c.bytes)), c.tooLarge) << c.what;
  }
}
