// The game window's frame: the eight pieces drawn around the page, the size
// states (maximised to the work area, restored to a rectangle of its own,
// full screen over either) and what the pointer does on the frame: sizing by
// the edges and corners, moving by the title bar, the double-click that
// toggles the size. What to do is decided by the core (frame_geometry,
// size_states); this carries it out on the window and its children.
#pragma once

#include <windows.h>

#include <optional>

#include "game/frame_geometry.h"
#include "game/frame_pieces_win.h"
#include "game/size_states.h"
#include "game/title_bar_win.h"
#include "win/window.h"

class GameFrame {
 public:
  // The frame moves, shows and hides what `window` carries: the title bar's
  // buttons and logo, and the page's `browser`. It keeps the references.
  GameFrame(const win::Window& window, const GameTitleBar& titleBar, const win::Window& browser);
  GameFrame(const GameFrame&) = delete;
  GameFrame& operator=(const GameFrame&) = delete;

  // The configured game size: the first restored size and, within the work
  // area, the smallest the window is sized to.
  void SetGameSize(int width, int height, const Rect& workArea);
  // The pieces that [global] edgeImageN names, out of the sprite sheet, as
  // a window at `scale` shows them.
  void CutPieces(const ScaledSheet& sheet, const LauncherConfig& config, const DisplayScale& scale) {
    pieces_.Cut(sheet, config, scale);
  }
  const FrameMetrics& Metrics() const { return pieces_.Metrics(); }
  // The end of the window's initialisation: from now on a size change lays
  // the children out; the window starts maximised.
  void Start();

  // Start has run: the frame lays the children out.
  bool Started() const { return started_; }
  FrameState State() const { return sizes_.State(); }
  bool FullScreen() const { return sizes_.FullScreen(); }

  void Maximise();
  void Restore();
  void ToggleFullScreen();
  // Places the title-bar buttons and the browser for the current state.
  void LayoutChildren();
  // After a change of scale: a restored window takes the rectangle the
  // system suggests; the children are laid out for the new sizes.
  void FitToNewScale(const RECT& suggested);

  // A double-click at a screen point: true when it fell on the title bar
  // and toggled maximised and restored.
  bool OnTitleBarDoubleClick(POINT screen);
  // Draws the pieces for a client area of `client`'s size.
  void Paint(HDC dc, const RECT& client) const;
  // The window's messages about its size and the pointer on its frame: an
  // answer when the frame has answered, nothing when the window's default
  // handling goes on (also after a size change the frame has acted on).
  std::optional<LRESULT> HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);

  // The primary monitor's work area, in screen coordinates.
  static Rect WorkArea();

 private:
  HWND Window() const { return window_.Handle(); }
  LRESULT OnHitTest(LPARAM lParam) const;
  void OnSize(WPARAM kind);
  bool OnMouseMove(WPARAM keys, LPARAM lParam);
  void EnterFullScreen();
  void LeaveFullScreen();
  RECT NormalRect() const;
  void SetNormalRect(const RECT& rect);

  const win::Window& window_;
  const GameTitleBar& titleBar_;
  const win::Window& browser_;
  FramePieces pieces_;
  SizeStates sizes_;
  MinimumSize minimum_;
  int gameWidth_ = 0, gameHeight_ = 0;
  WINDOWPLACEMENT beforeFullScreen_{};
  TitleBarDrag drag_;
  bool started_ = false;
};
