#include "package/scaled_images_win.h"

#include <string>
#include <utility>

#include "package/picture_scale.h"

namespace {

PictureSize SizeOf(const DibImage& image) {
  return {static_cast<std::uint32_t>(image.Width()), static_cast<std::uint32_t>(image.Height())};
}

// The @2x form of `path` where `scale` wants one and the package holds one
// that decodes; its size is not looked at here.
bool LoadDoubleSize(AttachedPackage* package, const char* path, const DisplayScale& scale, DibImage* image) {
  return WantsDoubleSize(scale.Dpi()) &&
         LoadPackageImage(package, DoubleSizeName(path).c_str(), image) == LoadOutcome::kLoaded;
}

// GDI+'s view of a 32-bit DIB's pixels, top row first.
Gdiplus::Bitmap View(const DibImage& image) {
  return Gdiplus::Bitmap(image.Width(), image.Height(), -image.Pitch(),
                         image.HasAlpha() ? PixelFormat32bppARGB : PixelFormat32bppRGB, image.Row(0));
}

}  // namespace

bool DrawResampled(Gdiplus::Image* image, const Rect& from, Gdiplus::Bitmap* target, int width, int height) {
  Gdiplus::Graphics graphics(target);
  graphics.SetCompositingMode(Gdiplus::CompositingModeSourceCopy);
  graphics.SetInterpolationMode(Gdiplus::InterpolationModeHighQualityBicubic);
  graphics.SetPixelOffsetMode(Gdiplus::PixelOffsetModeHalf);
  Gdiplus::ImageAttributes edges;
  edges.SetWrapMode(Gdiplus::WrapModeTileFlipXY);
  return graphics.DrawImage(image, Gdiplus::Rect(0, 0, width, height), from.left, from.top, from.Width(),
                            from.Height(), Gdiplus::UnitPixel, &edges) == Gdiplus::Ok;
}

bool ResampleBitmap(HBITMAP source, bool hasAlpha, const Rect& from, int width, int height, DibImage* target) {
  // The rectangle first becomes a 32-bit picture of its own: GDI converts
  // any format, and a copy between 32-bit pictures keeps the alpha.
  DibImage piece;
  if (source == nullptr || !piece.Create(from.Width(), from.Height(), 32) || !target->Create(width, height, 32))
    return false;
  piece.SetHasAlpha(hasAlpha);
  target->SetHasAlpha(hasAlpha);
  {
    win::UniqueDc sourceDc(CreateCompatibleDC(nullptr)), pieceDc(CreateCompatibleDC(nullptr));
    if (!sourceDc || !pieceDc) return false;
    win::SelectedObject selectedSource(sourceDc.Get(), source), selectedPiece(pieceDc.Get(), piece.Get());
    BitBlt(pieceDc.Get(), 0, 0, from.Width(), from.Height(), sourceDc.Get(), from.left, from.top, SRCCOPY);
  }
  GdiFlush();  // GDI's copy is in the pixels before GDI+ reads them
  Gdiplus::Bitmap input = View(piece);
  Gdiplus::Bitmap output = View(*target);
  return DrawResampled(&input, Rect{0, 0, from.Width(), from.Height()}, &output, width, height);
}

LoadOutcome LoadScaledImage(AttachedPackage* package, const char* path, const DisplayScale& scale, DibImage* image) {
  if (!scale.Scales()) return LoadPackageImage(package, path, image);
  DibImage single, twice;
  if (const LoadOutcome loaded = LoadPackageImage(package, path, &single); loaded != LoadOutcome::kLoaded)
    return loaded;
  const bool haveDouble = LoadDoubleSize(package, path, scale, &twice);
  const PictureChoice choice =
      ChoosePicture(scale, SizeOf(single), haveDouble ? std::optional(SizeOf(twice)) : std::nullopt);
  DibImage& shown = choice.doubleSize ? twice : single;
  if (shown.Width() == choice.width && shown.Height() == choice.height) {
    *image = std::move(shown);
    return LoadOutcome::kLoaded;
  }
  return ResampleBitmap(shown.Get(), shown.HasAlpha(), {0, 0, shown.Width(), shown.Height()}, choice.width,
                        choice.height, image)
             ? LoadOutcome::kLoaded
             : LoadOutcome::kPictureUndecodable;
}

LoadOutcome ScaledSheet::Load(AttachedPackage* package, const char* path, const DisplayScale& scale) {
  factor_ = 1;
  if (const LoadOutcome loaded = LoadPackageImage(package, path, &image_); loaded != LoadOutcome::kLoaded)
    return loaded;
  DibImage twice;
  if (LoadDoubleSize(package, path, scale, &twice) && IsDoubleSizeOf(SizeOf(twice), SizeOf(image_))) {
    image_ = std::move(twice);
    factor_ = 2;
  }
  return LoadOutcome::kLoaded;
}

HBITMAP ScaledSheet::Cut(const Rect& oneX, int width, int height) const {
  const auto at = [this](int length) { return ClampToInt(static_cast<long long>(length) * factor_); };
  const Rect from{at(oneX.left), at(oneX.top), at(oneX.right), at(oneX.bottom)};
  if (from.Width() == width && from.Height() == height)
    return CutBitmap(image_.Get(), from.left, from.top, width, height);
  if (width <= 0 || height <= 0 || from.Width() <= 0 || from.Height() <= 0) return nullptr;
  DibImage scaled;
  return ResampleBitmap(image_.Get(), image_.HasAlpha(), from, width, height, &scaled) ? scaled.Detach() : nullptr;
}
