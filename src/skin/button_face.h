// Which face an image button shows, decided from its state alone.
#pragma once

enum class ButtonFace { kDisabledImage, kPressedImage, kHoverImage, kNormalImage, kFaceColour };
enum class CaptionStyle {
  kPlain,     // in the caption colour at the caption rectangle
  kPushed,    // in the caption colour, moved by (+1, +1)
  kEmbossed,  // highlight colour at the rectangle, grey at (-1, -1)
};

struct ButtonImages {
  bool normal = false, pressed = false, hover = false, disabled = false;
};

struct ButtonLook {
  ButtonFace face;
  CaptionStyle caption;
  bool operator==(const ButtonLook&) const = default;
};

// Disabled wins over pushed, pushed over hovering; a missing image falls
// back to the face colour (hovering without a hover image shows the normal
// image).
ButtonLook ChooseButtonLook(bool disabled, bool pushed, bool hovering, const ButtonImages& images);
