// Where the executable image inside a program file ends. The launcher's
// package is appended right after it.
#pragma once

#include <cstdint>
#include <optional>
#include <span>

// Reads a 32-bit PE image's headers: the NT headers offset at 0x3C, the
// number of sections at NT + 6, and the section table 248 bytes after the NT
// headers (signature, file header and a 224-byte optional header). The image
// ends where the last header of the table says its raw data ends (raw offset
// at byte 20 of the header plus raw size at byte 16), whatever the other
// sections say. Gives nothing when the headers are damaged: no section, or a
// header that lies outside the file.
std::optional<std::uint64_t> FindImageEnd(std::span<const std::uint8_t> file);
