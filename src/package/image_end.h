// Where the executable image inside a program file ends. The launcher's
// package is appended right after it.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>

// The section table of a PE image's headers, as the launcher finds it: the
// NT headers offset at 0x3C, the number of sections at NT + 6, and the table
// 248 bytes after the NT headers (signature, file header and a 224-byte
// optional header), or 264 in a 64-bit image (optional-header magic 0x20B).
struct SectionTable {
  std::uint64_t ntHeaders = 0;
  std::uint64_t offset = 0;  // of the first 40-byte header
  std::uint32_t count = 0;   // at least 1
  std::uint64_t HeaderOffset(std::uint32_t index) const { return offset + std::uint64_t{40} * index; }
};

// Nothing when the NT headers offset or the count lie outside the file, or
// the table has no section.
std::optional<SectionTable> FindSectionTable(std::span<const std::uint8_t> file);

// One 40-byte header of the table.
struct SectionHeader {
  std::string name;  // up to 8 bytes, up to the first zero byte
  std::uint32_t virtualSize = 0, virtualAddress = 0, rawSize = 0, rawOffset = 0, characteristics = 0;
};

// Header `index` of the table; nothing when it does not lie whole inside the file.
std::optional<SectionHeader> ReadSectionHeader(std::span<const std::uint8_t> file, const SectionTable& table,
                                               std::uint32_t index);

// The image ends where the last header of the table says its raw data ends
// (raw offset at byte 20 of the header plus raw size at byte 16), whatever
// the other sections say. Gives nothing when the headers are damaged: no
// section, or a header that lies outside the file.
std::optional<std::uint64_t> FindImageEnd(std::span<const std::uint8_t> file);
