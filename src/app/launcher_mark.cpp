// The launcher's mark in its own image (update/launcher_mark.h): a section
// that no other program built from these sources has.
#include "update/launcher_mark.h"

__attribute__((section(".lmark"))) extern const std::array<char, 16> kLauncherImageMark = kLauncherMark;
