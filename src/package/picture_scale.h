// Which picture a window shows at a display scale, and at what size. A
// skin's picture "name.png" is the one it must have; "name@2x.png" beside
// it, the same picture drawn with twice the pixels each way, is shown
// instead from 150 % on. Either is shown at the size of the 1x picture
// scaled, so the layout never depends on which one there is.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "common/display_scale.h"
#include "package/picture_size.h"

// "config/logo.png" gives "config/logo@2x.png": "@2x" goes before the file
// name's extension, or at its end when it has none.
std::string DoubleSizeName(std::string_view member);
// The other way round: the 1x name whose double-size name `member` is
// ("config/logo@2x.png" gives "config/logo.png"); nothing for a name that
// is no double-size name.
std::optional<std::string> SingleSizeName(std::string_view member);

// Double-size pictures are shown from this DPI (150 %) on.
inline constexpr int kDoubleSizeFromDpi = 144;
bool WantsDoubleSize(int dpi);

// Whether a double-size picture fits its 1x picture: exactly twice as wide
// and twice as high. One that does not is not shown.
bool IsDoubleSizeOf(PictureSize doubleSize, PictureSize single);

struct PictureChoice {
  bool doubleSize = false;  // show the @2x picture, else the 1x one
  int width = 0, height = 0;  // the size it is shown at
  bool operator==(const PictureChoice&) const = default;
};
// What a window at `scale` shows of a picture whose 1x form measures
// `single`, given the size of its @2x form if the package holds one.
PictureChoice ChoosePicture(const DisplayScale& scale, PictureSize single, std::optional<PictureSize> doubleSize);
