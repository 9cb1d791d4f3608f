// Pictures of the launcher's windows drawn from a skin with the geometry the
// launcher itself uses, so that an operator sees a skin before shipping it.
// Coordinates far beyond any screen are tamed first (see tamed_config.h).
// At a display scale other than 96 DPI they are drawn as a skin that takes
// the display's scale shows them: every configured length scaled by the
// launcher's rounding, each picture's @2x form where the launcher shows it,
// else its 1x form resampled (see scaled_pictures.h).
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "common/display_scale.h"
#include "formats/rgba_image.h"
#include "package/launcher_config.h"
#include "previews/text_painter.h"
#include "skins/skin_pictures.h"

struct Preview {
  std::optional<RgbaImage> image;  // nothing when the window cannot be drawn
  std::vector<std::string> notes;  // what is missing from the picture, and why
};

// The login window as it first shows: the background with its own alpha,
// the link buttons at rest, and the html area filled with loginCenterColor
// until its page loads. Links are made in order, as the launcher makes them,
// up to the first button whose pictures it cannot load.
Preview DrawLoginPreview(const LauncherConfig& config, SkinPictures& pictures, const DisplayScale& scale = {});

// Which of its three pictures every title-bar button shows.
enum class ButtonFace { kNormal, kPressed, kHover };

// The game window of `width` x `height` screen pixels: its frame, its title
// bar with the buttons of the state, logo and title, and the page's area
// left white. `text` draws at the same scale.
Preview DrawGamePreview(const LauncherConfig& config, SkinPictures& pictures, TextPainter& text, int width, int height,
                        bool maximised, ButtonFace face = ButtonFace::kNormal, const DisplayScale& scale = {});
