#include "formats/zip_directory.h"

namespace {

std::uint32_t Little(std::string_view bytes, std::size_t at, int size) {
  std::uint32_t value = 0;
  for (int i = size - 1; i >= 0; --i) value = value << 8 | static_cast<unsigned char>(bytes[at + i]);
  return value;
}

constexpr std::size_t kEndRecordSize = 22;
constexpr std::size_t kEntryHeaderSize = 46;
constexpr std::size_t kSearchedBytes = 65535;

// The end record nearest the end, not at the package's first byte.
std::size_t FindEndRecord(std::string_view package) {
  if (package.size() < kEndRecordSize) return std::string_view::npos;
  const std::size_t lowest = package.size() > kSearchedBytes ? package.size() - kSearchedBytes : 1;
  for (std::size_t at = package.size() - kEndRecordSize + 1; at-- > lowest;)
    if (package.substr(at, 4) == std::string_view("PK\x05\x06", 4)) return at;
  return std::string_view::npos;
}

}  // namespace

std::vector<ZipDirectoryEntry> ReadZipDirectory(std::string_view package) {
  std::vector<ZipDirectoryEntry> entries;
  const std::size_t end = FindEndRecord(package);
  if (end == std::string_view::npos) return entries;
  const std::uint64_t count = Little(package, end + 10, 2), size = Little(package, end + 12, 4),
                      offset = Little(package, end + 16, 4);
  if (offset + size > end) return entries;
  const std::size_t start = end - (offset + size);  // where this archive begins in the package
  std::size_t at = start + offset;
  for (std::uint64_t i = 0; i < count; ++i) {
    if (at + kEntryHeaderSize > end || package.substr(at, 4) != std::string_view("PK\x01\x02", 4)) break;
    const std::size_t nameLength = Little(package, at + 28, 2), extra = Little(package, at + 30, 2),
                      comment = Little(package, at + 32, 2);
    if (at + kEntryHeaderSize + nameLength > end) break;
    entries.push_back({std::string(package.substr(at + kEntryHeaderSize, nameLength)),
                       static_cast<std::uint16_t>(Little(package, at + 10, 2)),
                       static_cast<std::uint16_t>(Little(package, at + 8, 2))});
    at += kEntryHeaderSize + nameLength + extra + comment;
  }
  return entries;
}

std::string UnreadableBecause(const ZipDirectoryEntry& entry) {
  if (entry.flags & 1) return "encrypted";
  if (entry.method == 0 || entry.method == 8) return "";
  const struct {
    std::uint16_t method;
    const char* name;
  } kMethods[] = {{1, "Shrink"},     {6, "Implode"}, {9, "Deflate64"}, {12, "BZip2"},         {14, "LZMA"},
                  {93, "Zstandard"}, {95, "XZ"},     {98, "PPMd"},     {99, "AES encryption"}};
  for (const auto& m : kMethods)
    if (m.method == entry.method)
      return std::string("compressed with ") + m.name + " (method " + std::to_string(entry.method) + ")";
  return "compressed with method " + std::to_string(entry.method);
}
