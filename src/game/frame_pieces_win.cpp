#include "game/frame_pieces_win.h"

#include "game/frame_pieces.h"
#include "package/package_images_win.h"

void FramePieces::Cut(HBITMAP sheet, const LauncherConfig& config) {
  metrics_ = FrameMetricsOf(config);
  for (int piece = 1; piece <= 8; ++piece) {
    const auto sprite = EdgePieceSprite(config, piece);
    if (sprite) bitmaps_[piece - 1].Reset(CutBitmap(sheet, sprite->x, sprite->y, sprite->width, sprite->height));
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
