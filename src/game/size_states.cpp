#include "game/size_states.h"

Rect SizeStates::Maximise(const Rect& current, const Rect& workArea) {
  if (restoreValid_ && !state_.maximised) restoreRect_ = current;
  state_.maximised = true;
  return workArea;
}

Rect SizeStates::Restore(const Rect& workArea, int gameWidth, int gameHeight) {
  state_.maximised = false;
  if (!restoreValid_) {
    restoreRect_ = FirstRestoreRect(workArea, gameWidth, gameHeight);
    restoreValid_ = true;
  }
  return restoreRect_;
}

void SizeStates::EnterFullScreen(const Rect& current) {
  if (!state_.maximised) restoreRect_ = current;
  state_.fullScreen = true;
}
