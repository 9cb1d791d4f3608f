// Names of the files a self-update leaves in the working directory, and the
// paths built from them.
#pragma once

#include <optional>
#include <string>
#include <string_view>

inline constexpr char kBackupExeName[] = "Launcher_back_up.exe";
inline constexpr char kUpdateScriptName[] = "Launcher_update.bat";

// Paths live in buffers of this many bytes, the terminating zero included.
inline constexpr std::size_t kMaxPath = 260;

// `directory` + "\" + `name`, or nothing when it would not fit a path buffer.
std::optional<std::string> PathInDirectory(std::string_view directory, std::string_view name);
