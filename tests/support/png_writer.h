// Writes PNG files for tests: every colour type the launcher's decoder must
// handle, from pixels given by the test.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "zip_builder.h"

namespace testkit {

struct PngSpec {
  int width = 1, height = 1;
  int colourType = 6;  // 0 grey, 2 RGB, 3 palette, 4 grey + alpha, 6 RGBA
  int bitDepth = 8;
  Bytes rows{};               // raw rows top-down, without filter bytes
  Bytes palette{};            // RGB triples for colour type 3
  Bytes transparency{};       // tRNS chunk content, if any
  int filter = 0;             // the filter type (0 to 4) every row is written with
  bool interlaced = false;    // Adam7; for bit depths 8 and 16
};

Bytes EncodePng(const PngSpec& layout);

// An RGBA picture of w x h whose pixels come from `pixel(x, y)` as 0xAARRGGBB.
template <class F>
Bytes RgbaPng(int width, int height, F pixel) {
  PngSpec layout{width, height, 6, 8, {}, {}, {}};
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) {
      const std::uint32_t argb = pixel(x, y);
      layout.rows.insert(layout.rows.end(), {static_cast<std::uint8_t>(argb >> 16), static_cast<std::uint8_t>(argb >> 8),
                                         static_cast<std::uint8_t>(argb), static_cast<std::uint8_t>(argb >> 24)});
    }
  return EncodePng(layout);
}

// A package that a launcher starts with: `config` as config/cg.txt and a
// small grey login background.
Bytes LauncherPackage(const std::string& config);

}  // namespace testkit
