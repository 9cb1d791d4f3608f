#include <windows.h>

#include <algorithm>

#include "previews/canvas.h"
#include "previews/text_painter.h"
#include "win/dpi.h"

namespace {

// The pre-Vista size of NONCLIENTMETRICSA, which every system accepts.
constexpr UINT kNonClientMetricsSize = offsetof(NONCLIENTMETRICSA, lfMessageFont) + sizeof(LOGFONTA);

// The fonts the launcher draws with: the default GUI font in bold for the
// title, the menu font for button captions; at another DPI than 96 scaled
// from the system's, as the launcher scales them for a window at that DPI.
HFONT MakeFont(TextFont font, int dpi) {
  LOGFONTA description{};
  if (font == TextFont::kTitle) {
    GetObjectA(GetStockObject(DEFAULT_GUI_FONT), sizeof description, &description);
    description.lfWeight = FW_BOLD;
  } else {
    NONCLIENTMETRICSA metrics{};
    metrics.cbSize = kNonClientMetricsSize;
    SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, kNonClientMetricsSize, &metrics, 0);
    description = metrics.lfMenuFont;
  }
  if (dpi != kStandardDpi) {
    description.lfHeight = ScaleBetween(description.lfHeight, win::SystemDpi(), dpi);
    if (font == TextFont::kTitle) description.lfWidth = ScaleBetween(description.lfWidth, win::SystemDpi(), dpi);
  }
  return CreateFontIndirectA(&description);
}

// GDI draws the text white on black into a bitmap of its own; the grey it
// leaves is the coverage with which the colour is laid on the preview.
class GdiPainter : public TextPainter {
 public:
  explicit GdiPainter(int dpi) : dc_(CreateCompatibleDC(nullptr)) {
    fonts_[0] = MakeFont(TextFont::kTitle, dpi);
    fonts_[1] = MakeFont(TextFont::kCaption, dpi);
  }
  ~GdiPainter() override {
    for (HFONT font : fonts_) DeleteObject(font);
    DeleteDC(dc_);
  }

  void Draw(RgbaImage& canvas, int x, int y, std::string_view gbk, Rgba colour, TextFont font) override {
    const int width = Width(gbk, font), height = LineHeight(font);
    if (width <= 0 || height <= 0) return;
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(dc_, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (bitmap == nullptr) return;
    HGDIOBJ oldBitmap = SelectObject(dc_, bitmap);
    HGDIOBJ oldFont = SelectObject(dc_, Font(font));
    SetBkMode(dc_, OPAQUE);
    SetBkColor(dc_, RGB(0, 0, 0));
    SetTextColor(dc_, RGB(255, 255, 255));
    TextOutA(dc_, 0, 0, gbk.data(), static_cast<int>(gbk.size()));
    GdiFlush();
    const auto* pixels = static_cast<const std::uint8_t*>(bits);
    for (int row = 0; row < height; ++row)
      for (int column = 0; column < width; ++column) {
        const std::uint8_t* p = pixels + (static_cast<std::size_t>(row) * width + column) * 4;
        BlendPixel(canvas, x + column, y + row, colour, std::max({p[0], p[1], p[2]}));
      }
    SelectObject(dc_, oldFont);
    SelectObject(dc_, oldBitmap);
    DeleteObject(bitmap);
  }

  int Width(std::string_view gbk, TextFont font) override {
    HGDIOBJ old = SelectObject(dc_, Font(font));
    SIZE size{};
    GetTextExtentPoint32A(dc_, gbk.data(), static_cast<int>(gbk.size()), &size);
    SelectObject(dc_, old);
    return size.cx;
  }

  int LineHeight(TextFont font) override {
    HGDIOBJ old = SelectObject(dc_, Font(font));
    TEXTMETRICA metrics{};
    GetTextMetricsA(dc_, &metrics);
    SelectObject(dc_, old);
    return metrics.tmHeight;
  }

 private:
  HFONT Font(TextFont font) const { return fonts_[font == TextFont::kTitle ? 0 : 1]; }

  HDC dc_;
  HFONT fonts_[2];
};

}  // namespace

std::unique_ptr<TextPainter> MakeTextPainter(int dpi) { return std::make_unique<GdiPainter>(dpi); }
