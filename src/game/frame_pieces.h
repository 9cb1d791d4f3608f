// Which part of the sprite sheet each of the eight frame pieces is: the
// [global] edgeImageN keys name, for piece N, a [gamePicK] record (1 is the
// first).
#pragma once

#include <optional>

#include "common/display_scale.h"
#include "game/frame_geometry.h"
#include "package/launcher_config.h"

// The sprite of piece `piece` (1 to 8), or nothing when its key names no
// record.
std::optional<SpriteSpec> EdgePieceSprite(const LauncherConfig& config, int piece);

// W(n) and H(n) of every piece, as a window at `scale` shows it. A piece
// without a sprite, or with a size below zero, measures 0 x 0: it is
// neither drawn nor a border to grab.
FrameMetrics FrameMetricsOf(const LauncherConfig& config, const DisplayScale& scale = {});
