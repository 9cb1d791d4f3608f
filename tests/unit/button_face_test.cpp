#include "skin/button_face.h"

#include <gtest/gtest.h>

TEST(ChooseButtonLook, FollowsDisabledThenPushedThenHovering) {
  const ButtonImages all{true, true, true, true};
  const ButtonImages loginButton{true, true, false, true};  // no hover image
  const ButtonImages none{};
  const ButtonImages hoverOnly{false, false, true, false};
  using F = ButtonFace;
  using C = CaptionStyle;
  struct Case {
    bool disabled, pushed, hovering;
    ButtonImages images;
    ButtonLook look;
  } cases[] = {
      {true, true, true, all, {F::kDisabledImage, C::kEmbossed}},
      {true, false, false, none, {F::kFaceColour, C::kEmbossed}},
      {false, true, true, all, {F::kPressedImage, C::kPushed}},
      {false, true, false, none, {F::kFaceColour, C::kPushed}},
      {false, false, true, all, {F::kHoverImage, C::kPlain}},
      {false, false, true, loginButton, {F::kNormalImage, C::kPlain}},
      {false, false, true, hoverOnly, {F::kFaceColour, C::kPlain}},  // no normal image: colour even when hovering
      {false, false, false, all, {F::kNormalImage, C::kPlain}},
      {false, false, false, none, {F::kFaceColour, C::kPlain}},
  };
  for (const Case& c : cases)
    EXPECT_EQ(ChooseButtonLook(c.disabled, c.pushed, c.hovering, c.images), c.look)
        << c.disabled << c.pushed << c.hovering;
}
