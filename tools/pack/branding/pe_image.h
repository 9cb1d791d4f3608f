// A Windows program image as it lies in its file, 32-bit (PE32) or 64-bit
// (PE32+): the headers, the section table and each section's raw data, read
// and written by the tool itself so that an exe can be branded on any build
// machine. The shipped launcher is 32-bit; its 64-bit build is the one that
// runs where no 32-bit code does, and is branded the same way.
//
// The launcher finds its package where the last header of the section table
// says its raw data ends, so every image written here keeps that header the
// last section in the file, too.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

struct PeSection {
  std::string name;  // up to 8 bytes
  std::uint32_t virtualSize = 0, virtualAddress = 0, rawSize = 0, rawOffset = 0, characteristics = 0;
  std::string data;  // the raw data, rawSize bytes
};

struct DataDirectory {
  std::uint32_t rva = 0, size = 0;
};

// A stretch of the file after the image (file offsets, not addresses).
struct FileRange {
  std::uint64_t offset = 0, size = 0;
  std::uint64_t End() const { return offset + size; }
};

inline constexpr int kResourceDirectory = 2;
inline constexpr int kSecurityDirectory = 4;  // its "address" is a file offset
inline constexpr int kBaseRelocationDirectory = 5;
inline constexpr int kDebugDirectory = 6;

class PeImage {
 public:
  // The image at the start of `file`, or nothing with `error` saying what is
  // wrong with its headers in the operator's terms. Demands what the launcher
  // itself assumes: the optional header its magic implies, 224 bytes for
  // PE32 and 240 for PE32+ (the section table 248 or 264 bytes after the NT
  // headers), at least one section, every raw range inside the file,
  // sections in ascending order in memory.
  static std::optional<PeImage> Read(std::string_view file, std::string* error);

  // Where the raw data of the table's last section ends: the package's start.
  std::uint64_t ImageEnd() const;
  bool Is64Bit() const { return optionalHeaderSize_ != kPe32OptionalHeaderSize; }
  const std::vector<PeSection>& Sections() const { return sections_; }
  DataDirectory Directory(int index) const;
  // `size` bytes at `rva`, when they lie in one section's raw data.
  std::optional<std::string_view> At(std::uint32_t rva, std::uint32_t size) const;
  // From `rva` to the end of its section's raw data.
  std::optional<std::string_view> From(std::uint32_t rva) const;

  // The COFF symbol table with its string table, when the file header points
  // at one (an exe linked without -s), and the certificate table of an
  // Authenticode signature. Both lie after the image.
  std::optional<FileRange> SymbolTable() const { return symbolTable_; }
  std::optional<FileRange> CertificateTable() const { return certificateTable_; }

  // Makes `build(rva)` the image's resource section. The section holding the
  // resource directory is rebuilt where it is when nothing but the base
  // relocations follows it (their content holds no address of their own, so
  // they move up behind it); otherwise a new last section takes the
  // resources and the old one stays untouched, so nothing any code may
  // address ever moves. SizeOfImage, SizeOfInitializedData and the data
  // directories follow.
  bool PutResources(const std::function<std::string(std::uint32_t rva)>& build, std::string* error);

  // The headers stop pointing at the symbol table and the certificate
  // table, whose bytes do not follow the image written.
  void DetachTrailers();

  // The headers and the sections' raw data, ImageEnd() bytes. The checksum is
  // left to the caller, who knows what follows the image.
  std::string Write() const;

 private:
  std::uint32_t Get32(std::size_t at) const;
  void Put32(std::size_t at, std::uint32_t value);
  std::uint32_t OptionalHeader() const { return ntHeaders_ + 24; }
  std::uint32_t SectionAlignment() const;
  std::uint32_t FileAlignment() const;
  std::uint32_t NextVirtualAddress(const PeSection& section) const;
  bool AppendSection(PeSection section, std::string* error);
  void RelayoutAfter(std::size_t index);
  void SetDirectory(int index, DataDirectory directory);

  static constexpr std::uint32_t kPe32OptionalHeaderSize = 224;

  std::string headers_;  // [0, SizeOfHeaders)
  std::uint32_t ntHeaders_ = 0;
  // Where the optional header's layout differs between PE32 and PE32+: its
  // size, and the data directories' offset in it.
  std::uint32_t optionalHeaderSize_ = kPe32OptionalHeaderSize, directoriesField_ = 96;
  std::vector<PeSection> sections_;  // in table order
  std::optional<FileRange> symbolTable_, certificateTable_;
};

// The PE checksum of a whole file (the image and everything after it), the
// value Windows' MapFileAndCheckSum computes: its own field counts as zero.
std::uint32_t PeChecksum(std::string_view file);
// Writes PeChecksum into a file that starts with a PE image.
void StoreChecksum(std::string& file);
