// The configuration with its coordinates and sizes brought within reach of
// any screen. The launcher adds them up in plain integers, and a number near
// the integer's limit (a slip of the hand, or a hostile file) would overflow
// there; the tool reports such numbers and computes with tamed ones.
#pragma once

#include "package/launcher_config.h"

// Far beyond any screen, and small enough that sums of a few never overflow.
inline constexpr int kPixelLimit = 1 << 20;

bool IsFarBeyondAnyScreen(long long value);

LauncherConfig Tamed(const LauncherConfig& config);
