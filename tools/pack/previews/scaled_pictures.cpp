#include "previews/scaled_pictures.h"

#include "package/picture_scale.h"
#include "previews/resample.h"

namespace {

PictureSize SizeOf(const RgbaImage& image) {
  return {static_cast<std::uint32_t>(image.Width()), static_cast<std::uint32_t>(image.Height())};
}

Rect Whole(const RgbaImage& image) { return {0, 0, image.Width(), image.Height()}; }

}  // namespace

const RgbaImage* ScaledPictures::DoubleSize(const std::string& name) {
  return WantsDoubleSize(scale_.Dpi()) ? pictures_.Image(DoubleSizeName(name)) : nullptr;
}

const RgbaImage* ScaledPictures::Whole(const std::string& name) {
  const RgbaImage* single = pictures_.Image(name);
  if (single == nullptr || !scale_.Scales()) return single;
  if (const auto done = resampled_.find(name); done != resampled_.end()) return &done->second;
  const RgbaImage* twice = DoubleSize(name);
  const PictureChoice choice =
      ChoosePicture(scale_, SizeOf(*single), twice != nullptr ? std::optional(SizeOf(*twice)) : std::nullopt);
  const RgbaImage& shown = choice.doubleSize ? *twice : *single;
  if (shown.Width() == choice.width && shown.Height() == choice.height) return &shown;
  return &resampled_.emplace(name, Resample(shown, ::Whole(shown), choice.width, choice.height)).first->second;
}

std::optional<SheetPiece> ScaledPictures::Cut(const std::string& name, const Rect& oneX, int width, int height) {
  const RgbaImage* sheet = pictures_.Image(name);
  if (sheet == nullptr) return std::nullopt;
  const RgbaImage* twice = DoubleSize(name);
  const bool doubled = twice != nullptr && IsDoubleSizeOf(SizeOf(*twice), SizeOf(*sheet));
  const int factor = doubled ? 2 : 1;
  const auto at = [factor](int length) { return ClampToInt(static_cast<long long>(length) * factor); };
  const Rect from{at(oneX.left), at(oneX.top), at(oneX.right), at(oneX.bottom)};
  const RgbaImage& shown = doubled ? *twice : *sheet;
  if (from.Width() == width && from.Height() == height) return SheetPiece(shown, from);
  return SheetPiece(Resample(shown, from, width, height));
}
