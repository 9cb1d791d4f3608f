#include "game/frame_pieces.h"

#include <algorithm>

std::optional<SpriteSpec> EdgePieceSprite(const LauncherConfig& config, int piece) {
  if (piece < 1 || piece > 8) return std::nullopt;
  const long long index = static_cast<long long>(config.edgeImages[piece - 1]) - 1;
  if (index < 0 || index >= static_cast<long long>(config.sprites.size())) return std::nullopt;
  return config.sprites[static_cast<std::size_t>(index)];
}

FrameMetrics FrameMetricsOf(const LauncherConfig& config, const DisplayScale& scale) {
  FrameMetrics metrics;
  for (int piece = 1; piece <= 8; ++piece) {
    const std::optional<SpriteSpec> sprite = EdgePieceSprite(config, piece);
    if (!sprite) continue;
    metrics.widths[piece - 1] = scale.Length(std::max(0, sprite->width));
    metrics.heights[piece - 1] = scale.Length(std::max(0, sprite->height));
  }
  return metrics;
}
