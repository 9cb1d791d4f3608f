// Registers the document mode of [global] browserMode for the running
// program, under the current user's key, before any browser is made: the
// browser control reads it when its engine starts in the process.
#pragma once

#include <windows.h>

#include <optional>
#include <string_view>

struct LauncherConfig;

enum class BrowserModeRegistration {
  kNone,       // no mode to register: nothing written
  kUnchanged,  // the value already holds the mode: nothing written
  kWritten,
  kFailed,
};

// Makes the FEATURE_BROWSER_EMULATION value `valueName` hold `mode`,
// writing only when it holds something else (or nothing).
BrowserModeRegistration RegisterBrowserMode(std::wstring_view valueName, std::optional<DWORD> mode);

// The configured mode, for the program file's own name.
BrowserModeRegistration RegisterBrowserMode(const LauncherConfig& config);
