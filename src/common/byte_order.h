// Integers as file formats store them, read from bytes that the caller has
// checked are there.
#pragma once

#include <cstdint>

inline std::uint32_t LittleEndian16(const std::uint8_t* p) { return static_cast<std::uint32_t>(p[1]) << 8 | p[0]; }
inline std::uint32_t LittleEndian32(const std::uint8_t* p) { return LittleEndian16(p + 2) << 16 | LittleEndian16(p); }
inline std::uint32_t BigEndian16(const std::uint8_t* p) { return static_cast<std::uint32_t>(p[0]) << 8 | p[1]; }
inline std::uint32_t BigEndian32(const std::uint8_t* p) { return BigEndian16(p) << 16 | BigEndian16(p + 2); }
