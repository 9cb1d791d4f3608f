// The game window's size states as decisions: maximised to the work area,
// restored to a rectangle of its own, and full screen over either of them.
// The window reports the rectangles it has; the answers are the rectangles
// it takes. All rectangles are in screen coordinates.
#pragma once

#include "game/frame_geometry.h"

class SizeStates {
 public:
  FrameState State() const { return state_; }
  bool Maximised() const { return state_.maximised; }
  bool FullScreen() const { return state_.fullScreen; }

  // MaximizeWindow, with `current` the window's normal rectangle now. A
  // restored window's rectangle is kept to come back to, once the first
  // restore has made one; the answer is the new normal rectangle, the work
  // area itself (a normal window as large as it, not a system-maximised one).
  Rect Maximise(const Rect& current, const Rect& workArea);

  // RestoreWindow: the rectangle to move the window to. The first time, the
  // configured game size centred on the work area (never at a negative
  // position); after that, the rectangle the window had before it was last
  // maximised or made full screen.
  Rect Restore(const Rect& workArea, int gameWidth, int gameHeight);

  // Entering full screen with `current` the window's normal rectangle: a
  // restored window keeps it as its restore rectangle, without making a
  // first restore count as done.
  void EnterFullScreen(const Rect& current);
  // Leaving full screen; the window then maximises or restores itself as
  // Maximised() says, which full screen never changes.
  void LeaveFullScreen() { state_.fullScreen = false; }

 private:
  FrameState state_;
  Rect restoreRect_;
  bool restoreValid_ = false;
};
