#include "game/title_bar.h"

#include "common/web_address.h"

int ButtonSpriteIndex(const GameButtonSpec& button, std::size_t spriteCount) {
  const long long index = static_cast<long long>(button.image) - 1;
  return index >= 0 && index < static_cast<long long>(spriteCount) ? static_cast<int>(index) : -1;
}

ButtonFrames ButtonFramesOf(const SpriteSpec& s) {
  const long long step = static_cast<long long>(s.height) + s.interval;
  auto frame = [&](int n) {
    const long long top = s.y + n * step;
    return Rect{s.x, ClampToInt(top), ClampToInt(static_cast<long long>(s.x) + s.width), ClampToInt(top + s.height)};
  };
  return {frame(0), frame(1), frame(2)};
}

bool ButtonOpensLink(int kind) { return kind == kButtonLink || kind == kButtonPageLink; }

bool PageMayLink(std::string_view link) { return IsWebAddress(link); }
