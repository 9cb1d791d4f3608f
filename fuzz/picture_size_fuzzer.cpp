// The input is a package member that the image decoder is about to get: the
// headers of every format it takes are read to measure it first.
#include <cstdint>
#include <span>

#include "package/picture_size.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::span<const std::uint8_t> bytes(data, size);
  const auto announced = AnnouncedPictureSize(bytes);
  if (PictureTooLarge(bytes) != (announced && announced->Pixels() > kMaxPicturePixels)) __builtin_trap();
  return 0;
}
