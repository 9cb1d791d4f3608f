// Pictures out of the package: PNG members decoded by GDI+ into a bottom-up
// device-independent bitmap (for buttons and the sprite sheet) or kept as a
// GDI+ picture (for the login background, which GDI+ draws with its alpha).
#pragma once

#include <windows.h>
// GDI+ needs the OLE types that a lean windows.h leaves out.
#include <ole2.h>
#include <gdiplus.h>

#include <cstdint>
#include <memory>
#include <span>

#include "package/load_outcome.h"
#include "win/com_ptr.h"
#include "win/handles.h"

class AttachedPackage;

// A bottom-up DIB section: 32 bits with straight alpha for pictures with
// alpha, 24 bits for truecolour, 1, 4 or 8 bits with the picture's palette.
class DibImage {
 public:
  bool Create(int width, int height, int bitsPerPixel, const RGBQUAD* palette = nullptr, int paletteSize = 0);
  HBITMAP Get() const { return bitmap_.Get(); }
  // The caller owns the bitmap from here on and must delete it.
  HBITMAP Detach() { return bitmap_.Release(); }
  bool IsNull() const { return !bitmap_; }

  int Width() const { return width_; }
  int Height() const { return height_; }
  int BitsPerPixel() const { return bitsPerPixel_; }
  bool HasAlpha() const { return hasAlpha_; }
  void SetHasAlpha(bool hasAlpha) { hasAlpha_ = hasAlpha; }
  // Bytes of a row, padded to a multiple of 4.
  int Pitch() const { return ((width_ * bitsPerPixel_ + 31) / 32) * 4; }
  // Row y counted from the top of the picture.
  std::uint8_t* Row(int y) const { return bits_ + static_cast<std::size_t>(height_ - 1 - y) * Pitch(); }

 private:
  win::UniqueBitmap bitmap_;
  std::uint8_t* bits_ = nullptr;
  int width_ = 0, height_ = 0, bitsPerPixel_ = 0;
  bool hasAlpha_ = false;
};

// A GDI+ picture with the stream it decodes from: GDI+ may read the stream
// for as long as the picture lives, so the picture holds it, and the stream
// holds the member's bytes. Both go when the picture goes.
class PackagePicture {
 public:
  PackagePicture(win::ComPtr<IStream> stream, std::unique_ptr<Gdiplus::Image> image);
  ~PackagePicture();
  PackagePicture(const PackagePicture&) = delete;
  PackagePicture& operator=(const PackagePicture&) = delete;

  Gdiplus::Image* Image() const { return image_.get(); }
  // Pictures alive in the process: GDI+ may be shut down only when none is,
  // since Windows' GDI+ crashes on an object deleted after its shutdown.
  static int LiveCount();
  // 0 x 0 for bytes that do not decode.
  UINT Width() const;
  UINT Height() const;

 private:
  win::ComPtr<IStream> stream_;
  std::unique_ptr<Gdiplus::Image> image_;
};

// Whether `bytes` decode whole as LoadPackageImage decodes a member: what a
// release's pictures must do before it is installed.
bool PictureDecodes(std::span<const std::uint8_t> bytes);

// Decodes member `path` into `image`: kPictureMissing for a missing member,
// kPictureUndecodable for bytes that do not decode.
LoadOutcome LoadPackageImage(AttachedPackage* package, const char* path, DibImage* image);

// Loads member `path` as a GDI+ picture. Fails only when the member is
// missing or no stream can be made; bytes that do not decode give a 0 x 0
// picture, loaded.
LoadOutcome LoadPackagePicture(AttachedPackage* package, const char* path, std::unique_ptr<PackagePicture>* picture);

// A new bitmap holding an exact copy of the rectangle (x, y, width, height) of
// `source` (y from the top), in the source's pixel format, alpha included.
// Null when the rectangle is empty or the bitmap cannot be made.
HBITMAP CutBitmap(HBITMAP source, int x, int y, int width, int height);
