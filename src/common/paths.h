// Paths as the launcher builds them: in buffers of a fixed size, with a
// backslash between directory and name.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

// Paths live in buffers of this many bytes, the terminating zero included.
inline constexpr std::size_t kMaxPath = 260;

// `directory` + "\" + `name`, or nothing when it would not fit a path buffer.
std::optional<std::string> PathInDirectory(std::string_view directory, std::string_view name);
