// WinINet's handles, closed by their owner.
#pragma once

#include <windows.h>
#include <wininet.h>

#include "win/handles.h"

namespace win {

struct InternetTraits {
  static HINTERNET Invalid() { return nullptr; }
  static bool IsValid(HINTERNET h) { return h != nullptr; }
  static void Close(HINTERNET h) { InternetCloseHandle(h); }
};
using UniqueInternet = Unique<HINTERNET, InternetTraits>;

}  // namespace win
