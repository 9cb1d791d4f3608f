// The version information of a program (RT_VERSION, VS_VERSIONINFO): what
// Explorer's properties and the task manager show. Built from the operator's
// texts, stored as UTF-16 as the system reads it, and read back.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

using VersionNumber = std::array<std::uint16_t, 4>;

// "1", "1.2", "1.2.3" or "1.2.3.4", each part 0 to 65535; missing parts are 0.
std::optional<VersionNumber> ParseVersionNumber(std::string_view text);

// The texts as (key, value) in UTF-8, in the order they are stored; the
// numbers as the fixed part holds them.
struct VersionInfo {
  VersionNumber fileVersion{}, productVersion{};
  std::vector<std::pair<std::string, std::string>> strings;
  std::uint16_t language = 0;  // of the string table and the translation
  bool operator==(const VersionInfo&) const = default;
};

// The resource's bytes: the fixed part (a 32-bit Windows application), one
// string table for `info.language` in Unicode (code page 1200) and the
// translation that points at it. Nothing when a text is not UTF-8.
std::optional<std::string> BuildVersionResource(const VersionInfo& info);

// The resource read back, or nothing when it is damaged.
std::optional<VersionInfo> ReadVersionResource(std::string_view data);

// UTF-8 to UTF-16 and back; nothing when the input is malformed.
std::optional<std::u16string> Utf8ToUtf16(std::string_view utf8);
std::optional<std::string> Utf16ToUtf8(std::u16string_view utf16);
