#include "skins/tamed_config.h"

#include <algorithm>

namespace {

void Tame(int& value) { value = std::clamp(value, -kPixelLimit, kPixelLimit); }

}  // namespace

bool IsFarBeyondAnyScreen(long long value) { return value < -kPixelLimit || value > kPixelLimit; }

LauncherConfig Tamed(const LauncherConfig& config) {
  LauncherConfig tamed = config;
  for (int* value : {&tamed.logx, &tamed.logy, &tamed.titlex, &tamed.titley, &tamed.titleWidth, &tamed.titleHeight,
                     &tamed.minGameWidth, &tamed.minGameHeight})
    Tame(*value);
  for (LinkSpec& link : tamed.links)
    for (int* value : {&link.x, &link.y, &link.width, &link.height}) Tame(*value);
  for (SpriteSpec& sprite : tamed.sprites)
    for (int* value : {&sprite.x, &sprite.y, &sprite.width, &sprite.height, &sprite.interval}) Tame(*value);
  for (GameButtonSpec& button : tamed.gameButtons)
    for (int* value : {&button.x, &button.y}) Tame(*value);
  return tamed;
}
