#include "game/frame_geometry.h"
#include "game/frame_pieces.h"
#include "game/title_bar.h"
#include "previews/canvas.h"
#include "previews/preview.h"
#include "previews/scaled_pictures.h"
#include "skins/tamed_config.h"

namespace {

constexpr Rgba kDialogFace{240, 240, 240, 255};  // the dialog's own background, under everything
constexpr Rgba kPageColour{255, 255, 255, 255};
constexpr Rgba kPageLabelColour{170, 170, 170, 255};

Rect SpriteRect(const SpriteSpec& s) {
  return {s.x, s.y, ClampToInt(static_cast<long long>(s.x) + s.width),
          ClampToInt(static_cast<long long>(s.y) + s.height)};
}

void DrawCentred(TextPainter& text, RgbaImage& canvas, const Rect& box, std::string_view gbk, Rgba colour,
                 TextFont font) {
  const int x = box.left + (box.Width() - text.Width(gbk, font)) / 2;
  const int y = box.top + (box.Height() - text.LineHeight(font)) / 2;
  text.Draw(canvas, x, y, gbk, colour, font);
}

Rect FaceOf(const SpriteSpec& sprite, ButtonFace face) {
  const ButtonFrames frames = ButtonFramesOf(sprite);
  return face == ButtonFace::kPressed ? frames.pressed : face == ButtonFace::kHover ? frames.hover : frames.normal;
}

void DrawButtons(const LauncherConfig& config, ScaledPictures& pictures, const FrameMetrics& metrics, bool maximised,
                 ButtonFace face, TextPainter& text, RgbaImage& window) {
  const DisplayScale& scale = pictures.Scale();
  // Maximised the restore button shows and the maximise button hides; restored the other way round.
  const int hidden = maximised ? kButtonMaximise : kButtonRestore;
  for (const GameButtonSpec& button : config.gameButtons) {
    const int index = ButtonSpriteIndex(button, config.sprites.size());
    if (index < 0 || button.type == hidden) continue;
    const SpriteSpec& sprite = config.sprites[static_cast<std::size_t>(index)];
    const int width = scale.Length(sprite.width), height = scale.Length(sprite.height);
    const Point at = ButtonPosition(window.Width(), scale.Length(button.x), scale.Length(button.y), metrics, maximised);
    if (const auto piece = pictures.Cut(kSpriteSheetMember, FaceOf(sprite, face), width, height))
      CopyPixels(window, at, piece->Image(), piece->From());
    // Captions are centred in the face less 2 pixels at each side.
    const Rect caption{at.x + 2, at.y, at.x + width - 2, at.y + height};
    DrawCentred(text, window, caption, button.title, FromColour(button.color), TextFont::kCaption);
  }
}

}  // namespace

Preview DrawGamePreview(const LauncherConfig& skinConfig, SkinPictures& skinPictures, TextPainter& text, int width,
                        int height, bool maximised, ButtonFace face, const DisplayScale& scale) {
  const LauncherConfig config = Tamed(skinConfig);
  ScaledPictures pictures(skinPictures, scale);
  Preview preview;
  if (skinPictures.Image(kSpriteSheetMember) == nullptr) {
    preview.notes.push_back(std::string(kSpriteSheetMember) + " cannot be loaded: the game window stops building");
    return preview;
  }
  for (int piece = 1; piece <= 8; ++piece)
    if (!EdgePieceSprite(config, piece))
      preview.notes.push_back("frame piece " + std::to_string(piece) + " names no sprite ([global] edgeImage" +
                              std::to_string(piece) + ")");
  const FrameMetrics metrics = FrameMetricsOf(config, scale);
  RgbaImage window(width, height, kDialogFace);
  for (const PaintStep& step : FramePaintPlan(width, height, metrics, {maximised, false})) {
    const auto sprite = EdgePieceSprite(config, step.piece);
    if (!sprite) continue;
    // Each piece is cut at the size the window shows it, then stretched over its place.
    const auto piece =
        pictures.Cut(kSpriteSheetMember, SpriteRect(*sprite), metrics.W(step.piece), metrics.H(step.piece));
    if (piece) StretchPixels(window, step.target, piece->Image(), piece->From());
  }
  // The title is the window's own painting: its children cover it.
  const Point title = scale.Position({config.titlex, config.titley});
  text.Draw(window, title.x, title.y, config.title, FromColour(config.titleColor), TextFont::kTitle);
  const Rect page = BrowserRect(width, height, metrics, maximised);
  FillRect(window, page, kPageColour);
  DrawCentred(text, window, page, "game page", kPageLabelColour, TextFont::kCaption);
  DrawButtons(config, pictures, metrics, maximised, face, text, window);
  if (const RgbaImage* logo = pictures.Whole(kLogoMember)) {
    // The logo control lays the picture's transparency over the window's own
    // face, not over what is painted beneath it.
    RgbaImage shown(logo->Width(), logo->Height(), kDialogFace);
    BlendOver(shown, {0, 0}, *logo);
    const Point at = scale.Position({config.logx, config.logy});
    CopyPixels(window, at, shown, {0, 0, shown.Width(), shown.Height()});
  } else
    preview.notes.push_back(std::string(kLogoMember) + " cannot be loaded: the game window stops building at its logo");
  preview.image = std::move(window);
  return preview;
}
