#include "login/login_rules.h"
#include "previews/canvas.h"
#include "previews/preview.h"
#include "previews/scaled_pictures.h"
#include "skins/tamed_config.h"

namespace {

// The links are placed in the companion's client area, which starts 3
// pixels right of and below the background's corner: the companion lies
// over the background's client area, inside the frame the background keeps
// from its template. Measured under Wine, at 96 DPI and at 144 alike: the
// frame is the system's and does not grow with a skin's scale.
constexpr int kCompanionFrame = 3;

Rect Framed(Rect r) {
  return {r.left + kCompanionFrame, r.top + kCompanionFrame, r.right + kCompanionFrame, r.bottom + kCompanionFrame};
}

}  // namespace

Preview DrawLoginPreview(const LauncherConfig& skinConfig, SkinPictures& skinPictures, const DisplayScale& scale) {
  const LauncherConfig config = Tamed(skinConfig);
  ScaledPictures pictures(skinPictures, scale);
  Preview preview;
  const RgbaImage* background = pictures.Whole(kBackgroundMember);
  if (background == nullptr) {
    preview.notes.push_back(std::string(kBackgroundMember) +
                            (skinPictures.Get(kBackgroundMember).present ? " cannot be read" : " is missing"));
    return preview;
  }
  RgbaImage window = *background;
  // The companion lies over the background: its own pixels are opaque except
  // those of the key colour, pure green.
  const Rgba key = FromColour(kLoginKeyColour);
  std::optional<Rect> htmlArea;
  std::vector<std::pair<Point, const RgbaImage*>> buttons;
  for (const PlannedLink& link : PlanLinks(config.links)) {
    if (link.kind == LinkKind::kHtmlArea) htmlArea = Framed(scale.Area(link.rect));  // the last one is filled
    if (link.kind != LinkKind::kButton) continue;
    const RgbaImage* normal = pictures.Whole(ButtonImageName(link.number, false));
    if (normal == nullptr || pictures.Whole(ButtonImageName(link.number, true)) == nullptr) {
      preview.notes.push_back("the login window stops making links at [link" + std::to_string(link.number) +
                              "]: its pictures cannot be loaded");
      break;
    }
    const LinkSpec& record = config.links[static_cast<std::size_t>(link.number - 1)];
    const Point at = scale.Position({record.x, record.y});
    buttons.push_back({{at.x + kCompanionFrame, at.y + kCompanionFrame}, normal});
  }
  // The fill is the companion's own painting; its buttons are child windows on top of it.
  if (htmlArea && FromColour(config.loginCenterColor) != key)
    FillRect(window, *htmlArea, FromColour(config.loginCenterColor));
  for (const auto& [at, picture] : buttons)
    CopyPixels(window, at, *picture, {0, 0, picture->Width(), picture->Height()}, key);
  preview.image = std::move(window);
  return preview;
}
