// Pictures resized as the launcher resizes them at a display scale: the
// system's high-quality bicubic filter, which takes in every pixel a
// reduced picture covers; pixel centres map onto pixel centres; edges are
// sampled as if the picture went on mirrored, so nothing from beyond it,
// and no transparency, bleeds in; colours weighed by their alpha.
#pragma once

#include "common/geometry.h"
#include "formats/rgba_image.h"

// The rectangle `from` of `source` (what lies outside the picture counts
// as transparent black) as a picture of `width` x `height`; an empty
// picture when either is empty.
RgbaImage Resample(const RgbaImage& source, const Rect& from, int width, int height);
