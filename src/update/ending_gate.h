// Who may end the process: the update worker, to let its script replace the
// program, or nobody, once the game is on. The worker's replacement ends the
// process from its own thread; the game window opens on the window thread
// after the login window. Whichever comes first settles it, so a game is
// never ended under the player, and a replacement that has begun is never
// cut short by the windows (the window thread waits for it instead).
#pragma once

#include <atomic>

class EndingGate {
 public:
  // The worker: true when the process may end now; from then on the window
  // thread's GameBegins waits until CancelEnding. False once GameBegins has
  // passed.
  bool BeginEnding();
  // The worker: the replacement did not happen; a waiting GameBegins goes on.
  void CancelEnding();
  // The window thread, when the login window's run has ended, before the
  // game window (or the end of the process) follows: returns once no
  // replacement is under way, and from then on BeginEnding is refused. A
  // replacement under way ends the process while this waits.
  void GameBegins();

 private:
  enum State { kOpen, kEnding, kGame };
  std::atomic<int> state_{kOpen};
};
