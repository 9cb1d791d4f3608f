// Names of the files a self-update leaves in the working directory.
#pragma once

#include "common/paths.h"

inline constexpr char kBackupExeName[] = "Launcher_back_up.exe";
inline constexpr char kUpdateScriptName[] = "Launcher_update.bat";
