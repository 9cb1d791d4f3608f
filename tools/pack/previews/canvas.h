// Drawing on a preview the way the launcher's windows draw: pictures copied
// and stretched without their transparency, as BitBlt and StretchBlt do;
// the login companion's see-through key colour; solid fills; text coverage.
#pragma once

#include <optional>

#include "formats/rgba_image.h"
#include "game/frame_geometry.h"

// Copies the `from` rectangle of `source` with its top-left corner at `at`,
// every pixel made opaque. Pixels of exactly the `key` colour, when given,
// are left out, as the colour-keyed companion leaves them out.
void CopyPixels(RgbaImage& target, Point at, const RgbaImage& source, const Rect& from,
                std::optional<Rgba> key = std::nullopt);

// Stretches the `from` rectangle over `to`, nearest pixel, opaque.
void StretchPixels(RgbaImage& target, const Rect& to, const RgbaImage& source, const Rect& from);

void FillRect(RgbaImage& target, const Rect& rect, Rgba colour);

// The source over the target, each pixel weighed by its alpha.
void BlendOver(RgbaImage& target, Point at, const RgbaImage& source);

// `colour` laid over one pixel with a coverage of 0 to 255, as text is drawn.
void BlendPixel(RgbaImage& target, int x, int y, Rgba colour, int coverage);
