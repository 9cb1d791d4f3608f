// PNG files for the tool, through libspng: the skin's pictures are read to
// be checked and drawn into previews, and the previews and init's pictures
// are written. Reading covers what a skin may hold: every colour type and bit
// depth, palettes with transparency, interlacing; and it is strict where
// decoders differ (every checksum, the file up to its end, palette indices).
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "formats/rgba_image.h"
#include "package/picture_size.h"

// The picture, or nothing with `error` saying why ("not a PNG", "damaged:
// ..."). Pictures beyond kMaxPngPixels are refused rather than decoded, as
// the launcher refuses them.
std::optional<RgbaImage> DecodePng(std::string_view bytes, std::string* error);

inline constexpr long long kMaxPngPixels = kMaxPicturePixels;

// An 8-bit RGBA PNG of the picture.
std::string EncodePng(const RgbaImage& image);
