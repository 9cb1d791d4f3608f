// Whole files in and out. Outputs are written to a new file of an
// unpredictable name beside their final name, created exclusively, and
// renamed into place: a failed run never leaves half an exe behind, and a
// link planted in the output's folder is never written through.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

// No skin file or launcher comes near this; a larger input is a mistake.
inline constexpr std::uintmax_t kMaxInputFileSize = 512ull * 1024 * 1024;

// The file's bytes, or nothing with `error` saying why in the operator's terms.
std::optional<std::string> ReadWholeFile(const std::filesystem::path& path, std::string* error);

bool WriteWholeFile(const std::filesystem::path& path, std::string_view bytes, std::string* error);

// The path as the operator wrote it, for messages, and back: arguments and
// messages are UTF-8 on every system.
std::string Shown(const std::filesystem::path& path);
std::filesystem::path PathOf(const std::string& utf8);
