// What a picture in the package may cost once decoded. Pictures are decoded
// whole, four bytes a pixel, inside a 32-bit process: a PNG whose header
// announces 30000 x 30000 pixels would ask for 3.6 GB.
#pragma once

#include <cstdint>
#include <optional>
#include <span>

struct PictureSize {
  std::uint32_t width = 0;
  std::uint32_t height = 0;
};

// More pixels than an 8K screen has: no window of the launcher shows more.
inline constexpr std::uint64_t kMaxPicturePixels = 7680ull * 4320;

// The size a PNG's header chunk announces; nothing when the bytes do not
// begin with the PNG signature and a header chunk.
std::optional<PictureSize> PngHeaderSize(std::span<const std::uint8_t> bytes);

// Whether the bytes are a PNG announcing more than kMaxPicturePixels.
// Other bytes are left to the decoder, which refuses what it cannot read.
bool PictureTooLarge(std::span<const std::uint8_t> bytes);
