#include "skin/button_face.h"

namespace {

ButtonFace ImageOrColour(bool present, ButtonFace image) { return present ? image : ButtonFace::kFaceColour; }

}  // namespace

ButtonLook ChooseButtonLook(bool disabled, bool pushed, bool hovering, const ButtonImages& images) {
  if (disabled) return {ImageOrColour(images.disabled, ButtonFace::kDisabledImage), CaptionStyle::kEmbossed};
  if (pushed) return {ImageOrColour(images.pressed, ButtonFace::kPressedImage), CaptionStyle::kPushed};
  if (!images.normal) return {ButtonFace::kFaceColour, CaptionStyle::kPlain};
  if (hovering && images.hover) return {ButtonFace::kHoverImage, CaptionStyle::kPlain};
  return {ButtonFace::kNormalImage, CaptionStyle::kPlain};
}
