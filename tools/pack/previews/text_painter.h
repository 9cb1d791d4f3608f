// Text on a preview: the game window's title and its buttons' captions. The
// system draws them in the launcher; here the build machine's fonts draw
// them (FreeType with a font that has Chinese), or on Windows the same
// system fonts the launcher uses.
#pragma once

#include <memory>
#include <string_view>

#include "common/display_scale.h"
#include "formats/rgba_image.h"

enum class TextFont {
  kTitle,    // the default GUI font in bold, as the title is drawn
  kCaption,  // the menu font, as button captions are drawn
};

class TextPainter {
 public:
  virtual ~TextPainter() = default;
  // Draws GBK text with the top-left corner of its line at (x, y).
  virtual void Draw(RgbaImage& canvas, int x, int y, std::string_view gbk, Rgba colour, TextFont font) = 0;
  virtual int Width(std::string_view gbk, TextFont font) = 0;
  virtual int LineHeight(TextFont font) = 0;
};

// The platform's painter with the fonts a window at `dpi` uses (96: the
// launcher's at 100 %); one that draws nothing when no font can be found.
std::unique_ptr<TextPainter> MakeTextPainter(int dpi = kStandardDpi);
