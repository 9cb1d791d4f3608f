#include "package/load_outcome_win.h"

#include <windows.h>

#include "common/texts.h"
#include "win/text.h"

bool ReportLoad(LoadOutcome outcome) {
  if (const char* text = FailureText(outcome)) win::ShowMessage(nullptr, text, texts::kStartupFailedCaption, MB_OK);
  return outcome == LoadOutcome::kLoaded;
}
