#include "package/picture_size.h"

#include <cstring>

namespace {

std::uint32_t BigEndian32(const std::uint8_t* p) {
  return static_cast<std::uint32_t>(p[0]) << 24 | static_cast<std::uint32_t>(p[1]) << 16 |
         static_cast<std::uint32_t>(p[2]) << 8 | p[3];
}

}  // namespace

std::optional<PictureSize> PngHeaderSize(std::span<const std::uint8_t> bytes) {
  static constexpr std::uint8_t kSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  // Signature, then the first chunk: length, "IHDR", width, height.
  if (bytes.size() < 24 || std::memcmp(bytes.data(), kSignature, sizeof kSignature) != 0 ||
      std::memcmp(bytes.data() + 12, "IHDR", 4) != 0)
    return std::nullopt;
  return PictureSize{BigEndian32(bytes.data() + 16), BigEndian32(bytes.data() + 20)};
}

bool PictureTooLarge(std::span<const std::uint8_t> bytes) {
  const auto size = PngHeaderSize(bytes);
  return size && static_cast<std::uint64_t>(size->width) * size->height > kMaxPicturePixels;
}
