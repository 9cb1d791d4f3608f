#include "package/image_end.h"

#include "common/byte_order.h"

namespace {

constexpr std::uint64_t kNtHeadersPointer = 0x3C;
// The section table follows the 24 bytes of signature and file header and
// the optional header: 224 bytes in a 32-bit image, 240 in a 64-bit one
// (optional-header magic 0x20B), whose launcher is built to be tested where
// no 32-bit code runs.
constexpr std::uint64_t kSectionTableOffset = 248;
constexpr std::uint64_t kSectionTableOffset64 = 264;
constexpr std::uint32_t kOptionalHeaderMagic64 = 0x20B;
constexpr std::uint64_t kSectionHeaderSize = 40;

// Little-endian integer of `bytes` bytes at `offset`, if it lies inside the file.
std::optional<std::uint32_t> ReadLittleEndian(std::span<const std::uint8_t> file, std::uint64_t offset, int bytes) {
  if (offset > file.size() || file.size() - offset < static_cast<std::uint64_t>(bytes)) return std::nullopt;
  return bytes == 2 ? LittleEndian16(&file[offset]) : LittleEndian32(&file[offset]);
}

}  // namespace

std::optional<std::uint64_t> FindImageEnd(std::span<const std::uint8_t> file) {
  const auto ntHeaders = ReadLittleEndian(file, kNtHeadersPointer, 4);
  if (!ntHeaders) return std::nullopt;
  const auto sectionCount = ReadLittleEndian(file, std::uint64_t{*ntHeaders} + 6, 2);
  if (!sectionCount || *sectionCount == 0) return std::nullopt;
  const auto magic = ReadLittleEndian(file, std::uint64_t{*ntHeaders} + 24, 2);
  const std::uint64_t tableOffset = magic == kOptionalHeaderMagic64 ? kSectionTableOffset64 : kSectionTableOffset;
  const std::uint64_t lastHeader = std::uint64_t{*ntHeaders} + tableOffset + kSectionHeaderSize * (*sectionCount - 1);
  const auto rawSize = ReadLittleEndian(file, lastHeader + 16, 4);
  const auto rawOffset = ReadLittleEndian(file, lastHeader + 20, 4);
  if (!rawSize || !rawOffset) return std::nullopt;
  return std::uint64_t{*rawOffset} + *rawSize;
}
