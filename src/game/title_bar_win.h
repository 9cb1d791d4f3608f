// What the game window carries on its title bar: the configured buttons
// (skin buttons cut from the sprite sheet, anchored to the right edge), the
// logo picture and the title text (both at fixed places from the left).
#pragma once

#include <windows.h>

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "common/display_scale.h"
#include "common/text_encoding.h"
#include "game/frame_geometry.h"
#include "skin/skin_button_win.h"
#include "win/handles.h"

class AttachedPackage;
class DibImage;
class ScaledSheet;
struct GameButtonSpec;
struct LauncherConfig;
struct SpriteSpec;

class GameTitleBar {
 public:
  GameTitleBar() = default;
  GameTitleBar(const GameTitleBar&) = delete;
  GameTitleBar& operator=(const GameTitleBar&) = delete;

  // The bold variant of the default GUI font, for the title text; for a
  // window at `dpi` where one is given, else as the system has it.
  bool MakeFont(int dpi = 0);
  // One button per [gamebuttonN] record that names a sprite, control
  // identifier type + 180, put for now at the work area's right edge plus
  // its x (Layout places it), sized and positioned for `scale`. False when
  // a button window cannot be made; the buttons made until then stay.
  bool CreateButtons(const ScaledSheet& sheet, const LauncherConfig& config, HWND parent, const RECT& workArea,
                     const DisplayScale& scale);
  // The logo, config/logo.png at (logx, logy), as static control 300.
  // False when the picture cannot be loaded.
  bool CreateLogo(AttachedPackage* package, const LauncherConfig& config, HWND parent, const DisplayScale& scale);
  // The configured title text, its place and colour.
  void SetUpTitle(const LauncherConfig& config, const DisplayScale& scale);
  // Everything again for a new scale: the buttons' pictures and sizes, the
  // logo's picture and place, the title's place and font. Layout places
  // the buttons after it.
  void Rescale(const ScaledSheet& sheet, AttachedPackage* package, const LauncherConfig& config,
               const DisplayScale& scale);
  // The title's font, as it draws.
  HFONT TitleFont() const { return font_.Get(); }

  // The first button of `kind` in creation order, or null.
  CSkinButton* FindButtonByKind(int kind) const;

  // Moves every button to its place in a window `windowWidth` wide.
  void Layout(int windowWidth, const FrameMetrics& frame, bool maximised) const;
  // Of the maximise (6) and restore (10) buttons, shows the one that
  // changes the size state away from `maximised`.
  void ShowSizeButtons(bool maximised) const;
  // Every button and the logo (full screen hides them all).
  void ShowAll(bool show) const;
  // Has every button repaint itself at once.
  void RepaintButtons() const;

  // Draws the title text, one line, unclipped, over what is painted.
  void PaintTitle(HDC dc) const;
  // A configured title (in the skin's `encoding`), cut to 255 bytes.
  void SetTitleText(const std::string& text, TextEncoding encoding);
  // A page's title: `prefix` (the configured part, in the skin's
  // `encoding`) and the page's own text as it wrote it.
  void SetTitleText(const std::string& prefix, std::u16string_view pageText, TextEncoding encoding);
  // The title as shown, and as GBK bytes (a character GBK lacks becomes "?").
  const std::wstring& WideTitleText() const { return titleText_; }
  std::string TitleText() const;

 private:
  struct Button {
    std::unique_ptr<CSkinButton> control;
    int kind = 0;  // the record's type, whole (the button keeps a byte of it)
    int x = 0, y = 0, width = 0, height = 0;
  };
  void Show(int kind, bool show) const;
  // A button's place, size and pictures for `scale`.
  static void Fit(Button& button, const ScaledSheet& sheet, const GameButtonSpec& record, const SpriteSpec& sprite,
                  const DisplayScale& scale);
  // Has the logo control show `picture`, which it takes.
  void ShowLogoPicture(DibImage& picture);

  std::vector<Button> buttons_;
  win::UniqueBitmap logoBitmap_;  // what the logo control shows; it never frees it
  HWND logo_ = nullptr;
  win::UniqueFont font_;
  std::wstring titleText_;
  POINT titlePosition_{};
  COLORREF titleColour_ = 0;
};
