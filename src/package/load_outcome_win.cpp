#include "package/load_outcome_win.h"

#include <windows.h>

#include "common/texts.h"

bool ReportLoad(LoadOutcome outcome) {
  if (const char* text = FailureText(outcome)) MessageBoxA(nullptr, text, texts::kStartupFailedCaption, MB_OK);
  return outcome == LoadOutcome::kLoaded;
}
