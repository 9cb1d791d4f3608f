// The skin's pictures as a window at a display scale shows them, chosen by
// the launcher's own rules (package/picture_scale.h): at 96 DPI exactly the
// 1x pictures; at any other scale a picture's @2x form where the scale
// wants it and it fits, else its 1x form, resampled to the 1x size scaled
// wherever its own size is not that.
#pragma once

#include <map>
#include <optional>
#include <string>

#include "common/display_scale.h"
#include "formats/rgba_image.h"
#include "skins/skin_pictures.h"

// A piece of a sprite sheet as a window shows it: a rectangle of the sheet
// itself where those are its pixels, else a resampled picture of its own.
class SheetPiece {
 public:
  SheetPiece(const RgbaImage& sheet, const Rect& from) : sheet_(&sheet), from_(from) {}
  explicit SheetPiece(RgbaImage resampled) : own_(std::move(resampled)), from_{0, 0, own_->Width(), own_->Height()} {}
  const RgbaImage& Image() const { return own_ ? *own_ : *sheet_; }
  const Rect& From() const { return from_; }

 private:
  std::optional<RgbaImage> own_;
  const RgbaImage* sheet_ = nullptr;
  Rect from_;
};

class ScaledPictures {
 public:
  ScaledPictures(SkinPictures& pictures, const DisplayScale& scale) : pictures_(pictures), scale_(scale) {}
  const DisplayScale& Scale() const { return scale_; }
  SkinPictures& Pictures() { return pictures_; }

  // The whole picture `name` (the background, a button, the logo) at the
  // size it is shown; null when its 1x form cannot be loaded, whatever its
  // @2x form, as in the launcher.
  const RgbaImage* Whole(const std::string& name);
  // The piece at `oneX` in the 1x sheet `name`, `width` x `height` on the
  // screen, cut from the @2x sheet where the scale wants it and it fits.
  // Nothing when the 1x sheet cannot be loaded.
  std::optional<SheetPiece> Cut(const std::string& name, const Rect& oneX, int width, int height);

 private:
  // The @2x form of `name` where the scale wants one and it decodes.
  const RgbaImage* DoubleSize(const std::string& name);

  SkinPictures& pictures_;
  DisplayScale scale_;
  std::map<std::string, RgbaImage> resampled_;
};
