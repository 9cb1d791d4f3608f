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
// Fields of a section header.
constexpr std::uint64_t kVirtualSizeField = 8;
constexpr std::uint64_t kVirtualAddressField = 12;
constexpr std::uint64_t kRawSizeField = 16;
constexpr std::uint64_t kRawOffsetField = 20;
constexpr std::uint64_t kCharacteristicsField = 36;
constexpr std::size_t kNameBytes = 8;

// Little-endian integer of `bytes` bytes at `offset`, if it lies inside the file.
std::optional<std::uint32_t> ReadLittleEndian(std::span<const std::uint8_t> file, std::uint64_t offset, int bytes) {
  if (offset > file.size() || file.size() - offset < static_cast<std::uint64_t>(bytes)) return std::nullopt;
  return bytes == 2 ? LittleEndian16(&file[offset]) : LittleEndian32(&file[offset]);
}

}  // namespace

std::optional<SectionTable> FindSectionTable(std::span<const std::uint8_t> file) {
  const auto ntHeaders = ReadLittleEndian(file, kNtHeadersPointer, 4);
  if (!ntHeaders) return std::nullopt;
  const auto sectionCount = ReadLittleEndian(file, std::uint64_t{*ntHeaders} + 6, 2);
  if (!sectionCount || *sectionCount == 0) return std::nullopt;
  const auto magic = ReadLittleEndian(file, std::uint64_t{*ntHeaders} + 24, 2);
  const std::uint64_t tableOffset = magic == kOptionalHeaderMagic64 ? kSectionTableOffset64 : kSectionTableOffset;
  return SectionTable{*ntHeaders, std::uint64_t{*ntHeaders} + tableOffset, *sectionCount};
}

std::optional<SectionHeader> ReadSectionHeader(std::span<const std::uint8_t> file, const SectionTable& table,
                                               std::uint32_t index) {
  const std::uint64_t at = table.HeaderOffset(index);
  if (!ReadLittleEndian(file, at + kSectionHeaderSize - 4, 4)) return std::nullopt;
  SectionHeader header;
  for (std::size_t i = 0; i < kNameBytes && file[at + i] != 0; ++i) header.name += static_cast<char>(file[at + i]);
  header.virtualSize = LittleEndian32(&file[at + kVirtualSizeField]);
  header.virtualAddress = LittleEndian32(&file[at + kVirtualAddressField]);
  header.rawSize = LittleEndian32(&file[at + kRawSizeField]);
  header.rawOffset = LittleEndian32(&file[at + kRawOffsetField]);
  header.characteristics = LittleEndian32(&file[at + kCharacteristicsField]);
  return header;
}

std::optional<std::uint64_t> FindImageEnd(std::span<const std::uint8_t> file) {
  const auto table = FindSectionTable(file);
  if (!table) return std::nullopt;
  // Only the two raw fields of the last header are needed, so only they must lie inside the file.
  const std::uint64_t lastHeader = table->HeaderOffset(table->count - 1);
  const auto rawSize = ReadLittleEndian(file, lastHeader + kRawSizeField, 4);
  const auto rawOffset = ReadLittleEndian(file, lastHeader + kRawOffsetField, 4);
  if (!rawSize || !rawOffset) return std::nullopt;
  return std::uint64_t{*rawOffset} + *rawSize;
}
