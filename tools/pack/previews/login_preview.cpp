#include "login/login_rules.h"
#include "previews/canvas.h"
#include "previews/preview.h"
#include "skins/tamed_config.h"

namespace {

// The companion is a dialog whose frame, 3 pixels wide, lies over the
// background's edge: its client area, where the links are placed, starts 3
// pixels right of and below the window's corner (measured under Wine).
constexpr int kCompanionFrame = 3;

Rect Framed(Rect r) {
  return {r.left + kCompanionFrame, r.top + kCompanionFrame, r.right + kCompanionFrame, r.bottom + kCompanionFrame};
}

}  // namespace

Preview DrawLoginPreview(const LauncherConfig& skinConfig, SkinPictures& pictures) {
  const LauncherConfig config = Tamed(skinConfig);
  Preview preview;
  const SkinPicture& background = pictures.Get(kBackgroundMember);
  if (!background.image) {
    preview.notes.push_back(std::string(kBackgroundMember) + (background.present ? " cannot be read" : " is missing"));
    return preview;
  }
  RgbaImage window = *background.image;
  // The companion lies over the background: its own pixels are opaque except
  // those of the key colour, pure green.
  const Rgba key = FromColour(kLoginKeyColour);
  std::optional<Rect> htmlArea;
  std::vector<std::pair<Point, const RgbaImage*>> buttons;
  for (const PlannedLink& link : PlanLinks(config.links)) {
    if (link.kind == LinkKind::kHtmlArea) htmlArea = Framed(link.rect);  // the last one is filled
    if (link.kind != LinkKind::kButton) continue;
    const RgbaImage* normal = pictures.Image(ButtonImageName(link.number, false));
    if (normal == nullptr || pictures.Image(ButtonImageName(link.number, true)) == nullptr) {
      preview.notes.push_back("the login window stops making links at [link" + std::to_string(link.number) +
                              "]: its pictures cannot be loaded");
      break;
    }
    const LinkSpec& record = config.links[static_cast<std::size_t>(link.number - 1)];
    buttons.push_back({{record.x + kCompanionFrame, record.y + kCompanionFrame}, normal});
  }
  // The fill is the companion's own painting; its buttons are child windows on top of it.
  if (htmlArea && FromColour(config.loginCenterColor) != key)
    FillRect(window, *htmlArea, FromColour(config.loginCenterColor));
  for (const auto& [at, picture] : buttons)
    CopyPixels(window, at, *picture, {0, 0, picture->Width(), picture->Height()}, key);
  preview.image = std::move(window);
  return preview;
}
