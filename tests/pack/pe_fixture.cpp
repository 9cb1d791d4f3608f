#include "pe_fixture.h"

namespace pefixture {

namespace {

constexpr std::uint32_t kNt = 0x80;
constexpr std::uint32_t kOptional = kNt + 24;

std::uint32_t AlignUp(std::uint32_t value, std::uint32_t alignment) {
  return (value + alignment - 1) / alignment * alignment;
}

void Put16(std::string& bytes, std::size_t at, std::uint32_t value) {
  bytes[at] = static_cast<char>(value & 0xFF);
  bytes[at + 1] = static_cast<char>(value >> 8 & 0xFF);
}

}  // namespace

std::uint32_t Get32(const std::string& bytes, std::size_t at) {
  std::uint32_t value = 0;
  for (int i = 3; i >= 0; --i) value = value << 8 | static_cast<unsigned char>(bytes.at(at + i));
  return value;
}

void Put32(std::string& bytes, std::size_t at, std::uint32_t value) {
  for (int i = 0; i < 4; ++i) bytes.at(at + i) = static_cast<char>(value >> (8 * i) & 0xFF);
}

std::size_t OptionalHeader(const std::string& image) { return Get32(image, 0x3C) + 24; }

namespace {
bool Is64(const std::string& image) { return (Get32(image, OptionalHeader(image)) & 0xFFFF) == 0x20B; }
}  // namespace

std::size_t DataDirectories(const std::string& image) { return OptionalHeader(image) + (Is64(image) ? 112 : 96); }
std::size_t SectionTable(const std::string& image) { return OptionalHeader(image) + (Is64(image) ? 240 : 224); }

std::string Image(const std::vector<Section>& sections, std::uint32_t symbols, Width width) {
  const bool wide = width == Width::k64;
  const std::uint32_t optionalSize = wide ? 240 : 224, directories = kOptional + (wide ? 112 : 96);
  std::string file(kHeadersSize, '\0');
  file[0] = 'M';
  file[1] = 'Z';
  Put32(file, 0x3C, kNt);
  file.replace(kNt, 4, std::string("PE\0\0", 4));
  Put16(file, kNt + 4, wide ? 0x8664 : 0x14C);  // x86-64 or i386
  Put16(file, kNt + 6, static_cast<std::uint32_t>(sections.size()));
  Put16(file, kNt + 20, optionalSize);
  Put16(file, kNt + 22, wide ? 0x0022 : 0x0102);  // executable; large-address-aware or 32-bit
  Put16(file, kOptional, wide ? 0x20B : 0x10B);
  if (wide) {
    // An image base above 4 GB, as 64-bit linkers choose, so that its high
    // half is not zero where a PE32 field would be read.
    Put32(file, kOptional + 24, 0x40000000);
    Put32(file, kOptional + 28, 0x1);
  } else {
    Put32(file, kOptional + 28, 0x400000);
  }
  Put32(file, kOptional + 32, kSectionAlignment);
  Put32(file, kOptional + 36, kFileAlignment);
  Put16(file, kOptional + 48, 4);
  Put32(file, kOptional + 60, kHeadersSize);
  Put16(file, kOptional + 68, 2);  // GUI
  // Stack and heap, reserve and commit: four 4-byte fields of PE32, four
  // 8-byte ones of PE32+, then the number of data directories.
  const std::uint32_t sizes = kOptional + 72, step = wide ? 8 : 4;
  for (std::uint32_t i = 0; i < 4; ++i) Put32(file, sizes + step * i, i % 2 == 0 ? 0x100000 : 0x1000);
  Put32(file, directories - 4, 16);

  std::uint32_t address = kSectionAlignment, initialised = 0;
  for (std::size_t i = 0; i < sections.size(); ++i) {
    const Section& s = sections[i];
    const std::uint32_t rawOffset = static_cast<std::uint32_t>(file.size());
    const std::uint32_t rawSize = AlignUp(static_cast<std::uint32_t>(s.data.size()), kFileAlignment);
    const std::uint32_t virtualSize = s.virtualSize != 0 ? s.virtualSize : static_cast<std::uint32_t>(s.data.size());
    const std::size_t header = kOptional + optionalSize + 40 * i;
    file.replace(header, s.name.size(), s.name);
    Put32(file, header + 8, virtualSize);
    Put32(file, header + 12, address);
    Put32(file, header + 16, rawSize);
    Put32(file, header + 20, rawOffset);
    Put32(file, header + 36, 0x40000040);
    if (s.role == Role::kResources)
      Put32(file, directories + 8 * 2, address), Put32(file, directories + 4 + 8 * 2, virtualSize);
    if (s.role == Role::kRelocations)
      Put32(file, directories + 8 * 5, address), Put32(file, directories + 4 + 8 * 5, virtualSize);
    std::string raw = s.data;
    raw.resize(rawSize, '\0');
    file += raw;
    initialised += rawSize;
    address = AlignUp(address + virtualSize, kSectionAlignment);
  }
  Put32(file, kOptional + 8, initialised);
  Put32(file, kOptional + 56, address);
  if (symbols != 0) {
    Put32(file, kNt + 12, static_cast<std::uint32_t>(file.size()));
    Put32(file, kNt + 16, symbols);
    file += std::string(18 * symbols, 'S');
    file += std::string("\4\0\0\0", 4);  // the string table: only its size
  }
  return file;
}

std::string WithCertificateTable(std::string file, const std::string& certificate) {
  file.resize(AlignUp(static_cast<std::uint32_t>(file.size()), 8), '\0');
  const std::size_t security = DataDirectories(file) + 8 * 4;
  Put32(file, security, static_cast<std::uint32_t>(file.size()));
  Put32(file, security + 4, static_cast<std::uint32_t>(certificate.size()));
  return file + certificate;
}

}  // namespace pefixture
