#include "game/title_bar.h"

int ButtonSpriteIndex(const GameButtonSpec& button, std::size_t spriteCount) {
  const long long index = static_cast<long long>(button.image) - 1;
  return index >= 0 && index < static_cast<long long>(spriteCount) ? static_cast<int>(index) : -1;
}

ButtonFrames ButtonFramesOf(const SpriteSpec& s) {
  const int step = s.height + s.interval;
  auto frame = [&](int n) { return Rect{s.x, s.y + n * step, s.x + s.width, s.y + n * step + s.height}; };
  return {frame(0), frame(1), frame(2)};
}

bool ButtonOpensLink(int kind) { return kind == kButtonLink || kind == kButtonPageLink; }
