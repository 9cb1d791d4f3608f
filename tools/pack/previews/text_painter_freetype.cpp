#include <fontconfig/fontconfig.h>
#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_SYNTHESIS_H

#include <string>

#include "formats/gbk_text.h"
#include "formats/text_encoding.h"
#include "previews/canvas.h"
#include "previews/text_painter.h"

namespace {

// The launcher's texts are 9-point system fonts: 12 pixels at 96 dots per
// inch, scaled as the launcher scales its fonts at other DPIs.
constexpr int kPixelSize = 12;

// A font that covers Chinese, as fontconfig chooses it.
std::string FindFontFile(int* index) {
  std::string file;
  FcConfig* config = FcInitLoadConfigAndFonts();
  if (config == nullptr) return file;
  FcPattern* pattern = FcNameParse(reinterpret_cast<const FcChar8*>("sans-serif:lang=zh-cn"));
  FcConfigSubstitute(config, pattern, FcMatchPattern);
  FcDefaultSubstitute(pattern);
  FcResult result;
  if (FcPattern* match = FcFontMatch(config, pattern, &result)) {
    FcChar8* path = nullptr;
    if (FcPatternGetString(match, FC_FILE, 0, &path) == FcResultMatch) file = reinterpret_cast<const char*>(path);
    if (FcPatternGetInteger(match, FC_INDEX, 0, index) != FcResultMatch) *index = 0;
    FcPatternDestroy(match);
  }
  FcPatternDestroy(pattern);
  FcConfigDestroy(config);
  return file;
}

std::u32string CodePoints(std::string_view utf8) {
  std::u32string points;
  while (!utf8.empty()) {
    const std::size_t length = Utf8CharacterLength(utf8);
    if (length == 0) {
      points.push_back(0xFFFD);
      utf8.remove_prefix(1);
      continue;
    }
    const auto byte = [&](std::size_t i) { return static_cast<char32_t>(static_cast<unsigned char>(utf8[i])); };
    char32_t point = length == 1 ? byte(0) : byte(0) & (0xFF >> (length + 1));
    for (std::size_t i = 1; i < length; ++i) point = point << 6 | (byte(i) & 0x3F);
    points.push_back(point);
    utf8.remove_prefix(length);
  }
  return points;
}

class FreeTypePainter : public TextPainter {
 public:
  ~FreeTypePainter() override {
    if (face_ != nullptr) FT_Done_Face(face_);
    if (library_ != nullptr) FT_Done_FreeType(library_);
  }

  bool Open(int dpi) {
    int index = 0;
    const std::string file = FindFontFile(&index);
    if (file.empty() || FT_Init_FreeType(&library_) != 0) return false;
    if (FT_New_Face(library_, file.c_str(), index, &face_) != 0) return false;
    const int pixels = ScaleBetween(kPixelSize, kStandardDpi, dpi);
    return FT_Set_Pixel_Sizes(face_, 0, static_cast<FT_UInt>(pixels)) == 0;
  }

  void Draw(RgbaImage& canvas, int x, int y, std::string_view gbk, Rgba colour, TextFont font) override {
    const int baseline = y + static_cast<int>(face_->size->metrics.ascender >> 6);
    for (const char32_t point : CodePoints(GbkToUtf8(gbk))) {
      if (!Load(point, font)) continue;
      const FT_Bitmap& bitmap = face_->glyph->bitmap;
      for (unsigned row = 0; row < bitmap.rows; ++row)
        for (unsigned column = 0; column < bitmap.width; ++column)
          BlendPixel(canvas, x + face_->glyph->bitmap_left + static_cast<int>(column),
                     baseline - face_->glyph->bitmap_top + static_cast<int>(row), colour,
                     bitmap.buffer[row * bitmap.pitch + column]);
      x += static_cast<int>(face_->glyph->advance.x >> 6);
    }
  }

  int Width(std::string_view gbk, TextFont font) override {
    int width = 0;
    for (const char32_t point : CodePoints(GbkToUtf8(gbk)))
      if (Load(point, font)) width += static_cast<int>(face_->glyph->advance.x >> 6);
    return width;
  }

  int LineHeight(TextFont) override {
    return static_cast<int>((face_->size->metrics.ascender - face_->size->metrics.descender) >> 6);
  }

 private:
  // Renders one character; the title's bold is made from the regular face
  // when the font has no bold of its own.
  bool Load(char32_t point, TextFont font) {
    if (FT_Load_Char(face_, point, FT_LOAD_DEFAULT) != 0) return false;
    if (font == TextFont::kTitle && (face_->style_flags & FT_STYLE_FLAG_BOLD) == 0) FT_GlyphSlot_Embolden(face_->glyph);
    return FT_Render_Glyph(face_->glyph, FT_RENDER_MODE_NORMAL) == 0;
  }

  FT_Library library_ = nullptr;
  FT_Face face_ = nullptr;
};

class SilentPainter : public TextPainter {
 public:
  void Draw(RgbaImage&, int, int, std::string_view, Rgba, TextFont) override {}
  int Width(std::string_view, TextFont) override { return 0; }
  int LineHeight(TextFont) override { return 0; }
};

}  // namespace

std::unique_ptr<TextPainter> MakeTextPainter(int dpi) {
  auto painter = std::make_unique<FreeTypePainter>();
  if (painter->Open(dpi)) return painter;
  return std::make_unique<SilentPainter>();
}
