// A small game-window skin for tests: a generated sprite sheet whose eight
// frame pieces have different sizes and colours of their own, one button
// sprite with three faces, a logo, and a configuration that puts every kind
// of title-bar button and settings item on the window.
#pragma once

#include <windows.h>

#include <string>

#include "zip_builder.h"

namespace testkit {

// W(n), H(n) and the colour of frame piece n (index n - 1), as the sheet
// has them.
inline constexpr int kPieceWidths[8] = {12, 8, 16, 5, 7, 9, 10, 11};
inline constexpr int kPieceHeights[8] = {30, 28, 26, 10, 10, 14, 6, 10};
inline constexpr COLORREF kPieceColours[8] = {RGB(192, 0, 0),   RGB(0, 192, 0),   RGB(0, 0, 192),   RGB(192, 192, 0),
                                              RGB(192, 0, 192), RGB(0, 192, 192), RGB(255, 128, 0), RGB(128, 0, 255)};
inline constexpr int kTitleBarHeight = 28;  // H(2)

// Every button is 20 x 16: normal, pressed and hover faces in these colours.
inline constexpr int kButtonWidth = 20, kButtonHeight = 16;
inline constexpr COLORREF kButtonFaces[3] = {RGB(64, 64, 64), RGB(32, 32, 32), RGB(96, 96, 96)};
// The logo: 40 x 20 at (4, 4).
inline constexpr int kLogoX = 4, kLogoY = 4, kLogoWidth = 40, kLogoHeight = 20;
inline constexpr COLORREF kLogoColour = RGB(16, 160, 240);
// The title: white, at (60, 6).
inline constexpr int kTitleX = 60, kTitleY = 6;
inline constexpr int kGameWidth = 800, kGameHeight = 600;  // minGameWidth, minGameHeight

// The @2x forms of the sheet and the logo: the same layout at twice the
// pixels, every piece, face and the logo in a colour of its own, so that
// the screen tells which form a window shows.
inline constexpr COLORREF kDoubleSizePieceColours[8] = {RGB(160, 0, 0),   RGB(0, 160, 0),   RGB(0, 0, 160),
                                                        RGB(160, 160, 0), RGB(160, 0, 160), RGB(0, 160, 160),
                                                        RGB(224, 96, 0),  RGB(96, 0, 224)};
inline constexpr COLORREF kDoubleSizeButtonFaces[3] = {RGB(80, 40, 40), RGB(40, 80, 40), RGB(40, 40, 80)};
inline constexpr COLORREF kDoubleSizeLogoColour = RGB(240, 160, 16);

// Where each kind of button sits: its x from the right edge, y 4. The
// maximise (6) and restore (10) buttons share a place.
struct SkinButton {
  int kind;
  int x;
  int shortCut;
};
inline constexpr SkinButton kSkinButtons[] = {{5, -30, 0},  {10, -55, 3},  {6, -55, 10}, {7, -80, 12},
                                              {8, -105, 9}, {11, -130, 0}, {12, -155, 0}};
inline constexpr int kButtonY = 4;

// The settings items in file order: re-login (F5), clear cache, full
// screen (F11), version (its title "Version" joined to version "1.2.3").
inline constexpr const char* kMenuLabels[] = {"Relogin", "Clear cache", "Full screen", "Version1.2.3"};

// The configuration: the game window at `firstUrl` (the login window when
// it is 2 bytes or shorter), [global] lines of `extraGlobal` added last
// (where a key repeats, the later value counts), and the buttons and items
// above unless `buttons` or `menus` give other records and counts.
struct GameSkinOptions {
  std::string firstUrl = "about:blank";
  std::string extraGlobal{};
  std::string buttons{};  // "gameButtonCount=N\r\n" followed by the records, or empty for the standard ones
  std::string menus{};    // likewise with "menuCount=N"
  std::string loginUrl = "about:blank";
  std::string secondLoginUrl{};  // a second html area (151) at this address, unless empty
  std::string gameheader = "test-game-header|";
  bool withStyle = true;
  bool withLogo = true;
  bool withDoubleSize = false;  // config/style@2x.png and config/logo@2x.png too
};
std::string GameConfig(const GameSkinOptions& options = {});
// The package: config/cg.txt, main1.png, style.png and logo.png.
Bytes GameSkin(const GameSkinOptions& options = {});

}  // namespace testkit
