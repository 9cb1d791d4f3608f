#include "game/frame_pieces_win.h"

#include "game/frame_pieces.h"
#include "package/scaled_images_win.h"

void FramePieces::Cut(const ScaledSheet& sheet, const LauncherConfig& config, const DisplayScale& scale) {
  metrics_ = FrameMetricsOf(config, scale);
  for (int piece = 1; piece <= 8; ++piece) {
    const auto sprite = EdgePieceSprite(config, piece);
    if (!sprite) continue;
    const Rect area{sprite->x, sprite->y, ClampToInt(static_cast<long long>(sprite->x) + sprite->width),
                    ClampToInt(static_cast<long long>(sprite->y) + sprite->height)};
    bitmaps_[piece - 1].Reset(sheet.Cut(area, scale.Length(sprite->width), scale.Length(sprite->height)));
  }
}

void FramePieces::Paint(HDC dc, const std::vector<PaintStep>& plan) const {
  if (plan.empty()) return;
  win::UniqueDc memory(CreateCompatibleDC(dc));
  if (!memory) return;
  const HGDIOBJ original = GetCurrentObject(memory.Get(), OBJ_BITMAP);
  for (const PaintStep& step : plan) {
    const HBITMAP bitmap = bitmaps_[step.piece - 1].Get();
    if (bitmap == nullptr) continue;
    SelectObject(memory.Get(), bitmap);
    StretchBlt(dc, step.target.left, step.target.top, step.target.Width(), step.target.Height(), memory.Get(), 0, 0,
               metrics_.W(step.piece), metrics_.H(step.piece), SRCCOPY);
  }
  SelectObject(memory.Get(), original);
}
