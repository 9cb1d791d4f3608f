#include "update/ending_gate.h"

bool EndingGate::BeginEnding() {
  int open = kOpen;
  return state_.compare_exchange_strong(open, kEnding);
}

void EndingGate::CancelEnding() {
  int ending = kEnding;
  if (state_.compare_exchange_strong(ending, kOpen)) state_.notify_all();
}

void EndingGate::GameBegins() {
  for (;;) {
    int seen = kOpen;
    if (state_.compare_exchange_strong(seen, kGame) || seen == kGame) return;
    state_.wait(kEnding);
  }
}
