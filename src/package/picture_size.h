// What a picture in the package may cost once decoded. Pictures are decoded
// whole, four bytes a pixel, inside a 32-bit process: a PNG whose header
// announces 30000 x 30000 pixels would ask for 3.6 GB. The decoder takes
// more than PNG (GIF, JPEG, BMP, TIFF, icons), and each of those announces
// its size before its pixels too.
#pragma once

#include <cstdint>
#include <optional>
#include <span>

struct PictureSize {
  std::uint32_t width = 0;
  std::uint32_t height = 0;
  std::uint64_t Pixels() const { return static_cast<std::uint64_t>(width) * height; }
};

// More pixels than an 8K screen has: no window of the launcher shows more.
inline constexpr std::uint64_t kMaxPicturePixels = 7680ull * 4320;

// The size a PNG's header chunk announces; nothing when the bytes do not
// begin with the PNG signature and a header chunk.
std::optional<PictureSize> PngHeaderSize(std::span<const std::uint8_t> bytes);

// The largest picture the bytes announce, read from the headers of PNG, GIF
// (the screen and every frame), JPEG (its frame header), BMP, TIFF (the
// first picture) and icons or cursors (every entry, a PNG inside one
// included). Nothing for other bytes, or when the announcement is cut off.
std::optional<PictureSize> AnnouncedPictureSize(std::span<const std::uint8_t> bytes);

// Whether the bytes announce more than kMaxPicturePixels. Bytes whose size
// cannot be read are left to the decoder, which refuses what it cannot read.
bool PictureTooLarge(std::span<const std::uint8_t> bytes);
