// The title bar's buttons as the configuration defines them: which sprite
// they show, where their three pictures lie, their control identifiers.
#pragma once

#include <cstddef>
#include <string_view>

#include "game/frame_geometry.h"
#include "package/launcher_config.h"

// Button kinds, the [gamebuttonN] type.
enum ButtonKind : int {
  kButtonLink = 1,
  kButtonClose = 5,
  kButtonMaximise = 6,
  kButtonMinimise = 7,
  kButtonHideToTray = 8,
  kButtonRestore = 10,
  kButtonSettings = 11,
  kButtonPageLink = 12,
};

inline constexpr int kButtonIdBase = 180;  // a button's control identifier is its kind + 180
inline constexpr int kLogoId = 300;
inline constexpr int kGameBrowserId = 170;

// The index of the button's sprite in the sprite list, or -1 when its
// `image` names no sprite (the record then gets no button).
int ButtonSpriteIndex(const GameButtonSpec& button, std::size_t spriteCount);

// The three pictures of a button, one under the other, `interval` apart.
struct ButtonFrames {
  Rect normal, pressed, hover;
};
ButtonFrames ButtonFramesOf(const SpriteSpec& sprite);

// Whether a kind's button opens its `url` when pressed.
bool ButtonOpensLink(int kind);

// Whether a page may make `link` the link of a kind-12 button. Any page the
// player reaches in the game window can send it, and the shell opens
// whatever the link names, local programs and files included: only web
// addresses ("http://" or "https://", in any letter case) are taken.
bool PageMayLink(std::string_view link);
