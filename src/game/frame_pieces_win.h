// The eight frame pieces of the game window as bitmaps, cut once from the
// sprite sheet and then drawn by the frame's paint plan.
#pragma once

#include <windows.h>

#include <array>
#include <vector>

#include "common/display_scale.h"
#include "game/frame_geometry.h"
#include "win/handles.h"

struct LauncherConfig;
class ScaledSheet;

class FramePieces {
 public:
  // Cuts the piece that [global] edgeImageN names for each N out of
  // `sheet`, at the size a window at `scale` shows it. A piece without a
  // sprite stays empty and measures 0 x 0.
  void Cut(const ScaledSheet& sheet, const LauncherConfig& config, const DisplayScale& scale);
  const FrameMetrics& Metrics() const { return metrics_; }

  // Draws each step's whole piece stretched over its target, through one
  // memory context for the whole plan.
  void Paint(HDC dc, const std::vector<PaintStep>& plan) const;

 private:
  std::array<win::UniqueBitmap, 8> bitmaps_;
  FrameMetrics metrics_;
};
