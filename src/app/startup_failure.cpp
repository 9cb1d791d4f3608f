#include "app/startup_failure.h"

#include <windows.h>

#include "common/texts.h"

void ShowStartupFailure(const char* message) {
  MessageBoxA(nullptr, message, texts::kStartupFailedCaption, MB_OK);
}
