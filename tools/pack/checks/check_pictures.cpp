// The pictures: present, readable, of fitting sizes, and inside the sprite
// sheet where the configuration cuts them out. Both windows copy pictures
// without their transparency, so transparent pixels show their colour.
#include <string>
#include <vector>

#include "checks/check_context.h"
#include "game/title_bar.h"
#include "login/login_rules.h"

namespace {

// The smallest screen many players still have: a login window of the
// background's size must fit on it.
constexpr struct { int width, height; } kCommonScreen{1366, 768};

std::string Size(int width, int height) { return std::to_string(width) + " × " + std::to_string(height); }
std::string Size(const RgbaImage& image) { return Size(image.Width(), image.Height()); }
std::string Place(const Rect& r) {
  return Size(r.Width(), r.Height()) + " at (" + std::to_string(r.left) + ", " + std::to_string(r.top) + ")";
}
// A size at the place the configuration gives, as the operator wrote it:
// the checks compute with the values tamed, which the operator never wrote.
std::string Place(int width, int height, const LinkSpec& configured) {
  return Size(width, height) + " at (" + std::to_string(configured.x) + ", " + std::to_string(configured.y) + ")";
}

bool Inside(const Rect& r, const RgbaImage& image) {
  return r.left >= 0 && r.top >= 0 && r.right <= image.Width() && r.bottom <= image.Height();
}

// Pixels of the rectangle (clipped to the picture) that are not fully
// opaque; on the login companion the key green is see-through whatever its
// alpha, so it does not count there.
long NotOpaque(const RgbaImage& image, const Rect& r, bool keyIsSeeThrough = false) {
  long count = 0;
  for (int y = std::max(r.top, 0); y < std::min(r.bottom, image.Height()); ++y)
    for (int x = std::max(r.left, 0); x < std::min(r.right, image.Width()); ++x) {
      const Rgba& p = image.At(x, y);
      if (p.a < 255 && !(keyIsSeeThrough && p.r == 0 && p.g == 255 && p.b == 0)) ++count;
    }
  return count;
}

Rect Whole(const RgbaImage& image) { return {0, 0, image.Width(), image.Height()}; }

std::string PixelsAre(long count) { return std::to_string(count) + (count == 1 ? " pixel is" : " pixels are"); }

// Loads a picture that a window needs; a finding when it cannot.
const RgbaImage* Needed(const CheckContext& c, const std::string& name, const std::string& outcome) {
  const SkinPicture& picture = c.pictures.Get(name);
  if (picture.image) return &*picture.image;
  if (picture.present)
    c.findings.Error(name, 0, "", "", picture.error + ": " + outcome);
  else
    c.findings.Error(name, 0, "", "", MissingMember(c.skin, name) + ": " + outcome + " (\"读取图片失败\")");
  return nullptr;
}

void CheckButtonPictures(const CheckContext& c, const PlannedLink& link, const RgbaImage* background) {
  const std::string section = "link" + std::to_string(link.number);
  const std::string outcome = "the login window makes none of the links from [" + section + "] on";
  const RgbaImage* normal = Needed(c, ButtonImageName(link.number, false), outcome);
  const RgbaImage* pressed = Needed(c, ButtonImageName(link.number, true), outcome);
  for (const bool isPressed : {false, true}) {
    const RgbaImage* picture = isPressed ? pressed : normal;
    if (picture == nullptr) continue;
    const long transparent = NotOpaque(*picture, Whole(*picture), true);
    if (transparent > 0)
      c.findings.Warning(ButtonImageName(link.number, isPressed), 0, "", "",
                         PixelsAre(transparent) +
                             " not fully opaque, but the login window draws buttons without transparency, "
                             "so their colour shows; paint see-through parts pure green (0, 255, 0) instead");
  }
  if (normal == nullptr) return;
  if (pressed != nullptr && (pressed->Width() != normal->Width() || pressed->Height() != normal->Height()))
    c.findings.Warning(ButtonImageName(link.number, true), 0, "", "",
                       "is " + Size(*pressed) + ", but the normal picture is " + Size(*normal) +
                           ": the button keeps the normal size, so the pressed picture is cut or leaves a gap");
  const LinkSpec& record = c.model.links[static_cast<std::size_t>(link.number - 1)];
  const Rect rect{record.x, record.y, record.x + normal->Width(), record.y + normal->Height()};
  if (background != nullptr && !Inside(rect, *background))
    c.KeyWarning(
        section, "x",
        "the button, " +
            Place(normal->Width(), normal->Height(), c.config.model.links[static_cast<std::size_t>(link.number - 1)]) +
            ", reaches outside the login window (" + Size(*background) + "): the part outside is not shown");
}

void CheckLoginPictures(const CheckContext& c) {
  const SkinPicture& background = c.pictures.Get(kBackgroundMember);
  if (background.present && !background.image)
    c.findings.Error(kBackgroundMember, 0, "", "", background.error + ": the login window would be 0 × 0, unseen");
  const RgbaImage* window = background.image ? &*background.image : nullptr;
  if (window != nullptr && (window->Width() > kCommonScreen.width || window->Height() > kCommonScreen.height))
    c.findings.Warning(kBackgroundMember, 0, "", "",
                       "is " + Size(*window) + ", larger than common screens (" +
                           Size(kCommonScreen.width, kCommonScreen.height) +
                           " on many laptops): the login window, which takes its size, reaches past their edges");
  for (const PlannedLink& link : PlanLinks(c.model.links)) {
    if (link.kind == LinkKind::kButton) CheckButtonPictures(c, link, window);
    if (link.kind != LinkKind::kHtmlArea || window == nullptr || Inside(link.rect, *window)) continue;
    c.KeyWarning("link" + std::to_string(link.number), "x",
                 "the browser area, " + Place(link.rect) + ", reaches outside the login window (" + Size(*window) +
                     "): the part outside is not shown");
  }
}

// What the game window cuts out of one sprite: the rectangle for a frame
// piece, three pictures one under the other for a button.
struct SpriteUse {
  bool edge = false, button = false;
};

void CheckSprite(const CheckContext& c, std::size_t index, SpriteUse use, const RgbaImage& sheet) {
  const SpriteSpec& sprite = c.model.sprites[index];
  const std::string section = "gamePic" + std::to_string(index + 1);
  const bool used = use.edge || use.button;
  const auto report = [&](const std::string& key, const std::string& message) {
    if (used)
      c.KeyError(section, key, message);
    else
      c.KeyWarning(section, key, message + " (no frame piece or button uses this sprite)");
  };
  if (sprite.width <= 0 || sprite.height <= 0) {
    if (used)
      c.KeyError(section, sprite.width <= 0 ? "width" : "height",
                 "the sprite is " + Size(sprite.width, sprite.height) + ": it has no picture");
    return;
  }
  std::vector<std::pair<std::string, Rect>> cuts{
      {"picture", {sprite.x, sprite.y, sprite.x + sprite.width, sprite.y + sprite.height}}};
  if (use.button) {
    const ButtonFrames frames = ButtonFramesOf(sprite);
    cuts = {{"normal picture", frames.normal}, {"pressed picture", frames.pressed}, {"hover picture", frames.hover}};
  }
  long transparent = 0;
  for (const auto& [what, rect] : cuts) {
    transparent += NotOpaque(sheet, rect);
    if (!Inside(rect, sheet))
      report(what == "picture" ? "x" : "interval",
             "the " + what + ", " + Place(rect) + ", reaches outside " + kSpriteSheetMember + " (" + Size(sheet) + ")");
  }
  if (used && transparent > 0)
    c.KeyWarning(section, "x",
                 std::to_string(transparent) + " of the sprite's " + (transparent == 1 ? "pixels is" : "pixels are") +
                     " not fully opaque, but the game window draws its frame and buttons without transparency, so "
                     "their colour shows");
}

void CheckSpriteSheet(const CheckContext& c) {
  const RgbaImage* sheet =
      Needed(c, kSpriteSheetMember, "the game window stops building before its frame and its page");
  if (sheet == nullptr) return;
  const LauncherConfig& model = c.model;
  std::vector<SpriteUse> uses(model.sprites.size());
  for (const int edge : model.edgeImages)
    if (edge >= 1 && static_cast<std::size_t>(edge) <= uses.size()) uses[edge - 1].edge = true;
  for (const GameButtonSpec& button : model.gameButtons) {
    const int index = ButtonSpriteIndex(button, uses.size());
    if (index >= 0) uses[index].button = true;
  }
  for (std::size_t i = 0; i < uses.size(); ++i) CheckSprite(c, i, uses[i], *sheet);
}

}  // namespace

void CheckPictures(const CheckContext& c) {
  if (!c.config.accepted) return;  // the launcher never gets as far as any window
  if (c.LoginShown()) CheckLoginPictures(c);
  CheckSpriteSheet(c);
  const RgbaImage* logo = Needed(c, kLogoMember,
                                 "the game window stops building at its logo: no title, no function keys, no "
                                 "task-bar button, and it is never laid out");
  if (logo == nullptr) return;
  if (const long transparent = NotOpaque(*logo, Whole(*logo)); transparent > 0)
    c.findings.Warning(kLogoMember, 0, "", "",
                       PixelsAre(transparent) +
                           " not fully opaque, but the game window shows its logo over its own grey face, "
                           "not over the title bar; paint the title bar behind the logo into the picture");
}
