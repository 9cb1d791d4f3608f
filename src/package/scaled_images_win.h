// Package pictures as a window at a display scale shows them (the choice
// itself is picture_scale's): at 96 DPI exactly what the loaders give; at
// any other scale the picture's @2x form where that is wanted and fits,
// else its 1x form, resampled with high-quality bicubic interpolation to
// the 1x size scaled wherever its own size is not that.
#pragma once

#include <windows.h>

#include "common/display_scale.h"
#include "package/package_images_win.h"

// The whole picture at `path` (a button's, the logo) for `scale`. The 1x
// picture must be there and decode, at every scale: its outcome is the
// load's (a missing @2x form is no failure).
LoadOutcome LoadScaledImage(AttachedPackage* package, const char* path, const DisplayScale& scale, DibImage* image);

// A copy of the rectangle `from` of the DIB section `source` (y from the
// top) as a new 32-bit DIB of `width` x `height`, resampled as DrawResampled
// does: straight alpha where `hasAlpha`, a fourth byte without meaning
// otherwise. False when nothing could be made.
bool ResampleBitmap(HBITMAP source, bool hasAlpha, const Rect& from, int width, int height, DibImage* target);

// The rectangle `from` of `image` drawn over the whole of `target`
// (`width` x `height`), resampled with high-quality bicubic interpolation,
// replacing what was there. Edges are sampled as if the rectangle went on
// mirrored, so nothing from beyond it, and no transparency, bleeds in.
bool DrawResampled(Gdiplus::Image* image, const Rect& from, Gdiplus::Bitmap* target, int width, int height);

// A sprite sheet for a scale: pieces are named in the 1x sheet's pixels
// and cut at the size the window shows them.
class ScaledSheet {
 public:
  // The sheet at `path`, or its @2x form where the scale wants it and it
  // fits. The outcome is the 1x sheet's.
  LoadOutcome Load(AttachedPackage* package, const char* path, const DisplayScale& scale);
  // The piece at `oneX` in the 1x sheet, `width` x `height` on the screen,
  // as a new bitmap: an exact copy where those are its pixels (always at
  // 96 DPI), resampled otherwise. Null for an empty piece.
  HBITMAP Cut(const Rect& oneX, int width, int height) const;

 private:
  DibImage image_;
  int factor_ = 1;
};
