// Paths as the launcher builds them: UTF-8 text that the system holds as
// UTF-16, in buffers of a fixed size, with a backslash between directory
// and name.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

// Paths live in buffers of this many UTF-16 units, the terminating zero included.
inline constexpr std::size_t kMaxPath = 260;

// How many UTF-16 units the UTF-8 `text` takes: one per character, two for a
// character beyond the basic plane.
std::size_t Utf16Length(std::string_view text);

// `directory` + "\" + `name`, or nothing when it would not fit a path buffer.
std::optional<std::string> PathInDirectory(std::string_view directory, std::string_view name);
