#include "branding/pe_image.h"

#include <algorithm>
#include <cstring>
#include <span>

#include "package/image_end.h"

namespace {

// Offsets of the fields used here: in the file header (after the 4-byte
// signature at the NT headers), in the optional header, and in a section
// header. The optional header's fields up to the checksum lie at the same
// offsets in a 32-bit (PE32) and a 64-bit (PE32+) image; after them the
// 64-bit one widens the stack and heap sizes to 8 bytes each, which moves
// the directory count and the data directories 16 bytes on.
constexpr std::uint32_t kSectionCountField = 6;
constexpr std::uint32_t kSymbolTableField = 12;
constexpr std::uint32_t kSymbolCountField = 16;
constexpr std::uint32_t kOptionalHeaderSizeField = 20;
constexpr std::uint32_t kInitializedDataField = 8;
constexpr std::uint32_t kSectionAlignmentField = 32;
constexpr std::uint32_t kFileAlignmentField = 36;
constexpr std::uint32_t kImageSizeField = 56;
constexpr std::uint32_t kHeadersSizeField = 60;
constexpr std::uint32_t kChecksumField = 64;

struct OptionalHeaderLayout {
  std::uint32_t magic, size, directoryCountField, directoriesField;
};
constexpr OptionalHeaderLayout kPe32{0x10B, 224, 92, 96};
constexpr OptionalHeaderLayout kPe32Plus{0x20B, 240, 108, 112};
constexpr std::uint32_t kDirectoryCount = 16;
constexpr std::uint32_t kSectionHeaderSize = 40;
constexpr std::uint32_t kSymbolRecordSize = 18;
constexpr std::size_t kMaxSections = 96;                        // the loader's own limit
constexpr std::uint32_t kResourceCharacteristics = 0x40000040;  // initialised data, readable

std::uint32_t Read32(std::string_view bytes, std::size_t at) {
  std::uint32_t value = 0;
  for (int i = 3; i >= 0; --i) value = value << 8 | static_cast<unsigned char>(bytes[at + i]);
  return value;
}
std::uint32_t Read16(std::string_view bytes, std::size_t at) {
  return static_cast<unsigned char>(bytes[at]) | static_cast<unsigned char>(bytes[at + 1]) << 8;
}
void Write32(std::string& bytes, std::size_t at, std::uint32_t value) {
  for (int i = 0; i < 4; ++i) bytes[at + i] = static_cast<char>(value >> (8 * i) & 0xFF);
}

std::uint64_t AlignUp(std::uint64_t value, std::uint32_t alignment) {
  return (value + alignment - 1) / alignment * alignment;
}
bool IsPowerOfTwo(std::uint32_t value) { return value != 0 && (value & (value - 1)) == 0; }

std::uint32_t Span(const PeSection& section) {
  return section.virtualSize != 0 ? section.virtualSize : section.rawSize;
}

bool Fail(std::string* error, std::string why) {
  *error = std::move(why);
  return false;
}

}  // namespace

std::uint32_t PeImage::Get32(std::size_t at) const { return Read32(headers_, at); }
void PeImage::Put32(std::size_t at, std::uint32_t value) { Write32(headers_, at, value); }
std::uint32_t PeImage::SectionAlignment() const { return Get32(OptionalHeader() + kSectionAlignmentField); }
std::uint32_t PeImage::FileAlignment() const { return Get32(OptionalHeader() + kFileAlignmentField); }

std::optional<PeImage> PeImage::Read(std::string_view file, std::string* error) {
  const auto fail = [&](std::string why) -> std::optional<PeImage> {
    *error = std::move(why);
    return std::nullopt;
  };
  if (file.size() < 0x40 || !file.starts_with("MZ")) return fail("not a Windows program (no \"MZ\" header)");
  PeImage image;
  image.ntHeaders_ = Read32(file, 0x3C);
  const std::uint64_t nt = image.ntHeaders_;
  if (nt % 4 != 0 || nt + 24 + kPe32.size > file.size() || file.substr(nt, 4) != std::string_view("PE\0\0", 4))
    return fail("not a Windows program (no \"PE\" header where the file says)");
  // The launcher tells the two kinds apart by the magic alone and looks for
  // the section table after the optional header that magic implies, so the
  // header's stated size must agree with it.
  const std::uint32_t magic = Read16(file, nt + 24), optionalSize = Read16(file, nt + kOptionalHeaderSizeField);
  if (magic == kPe32Plus.magic && optionalSize != kPe32Plus.size)
    return fail(
        "not a 64-bit program as its magic says: its optional header is not the 240-byte PE32+ one the launcher reads");
  if (magic != kPe32Plus.magic && (magic != kPe32.magic || optionalSize != kPe32.size))
    return fail("not a 32-bit program: its optional header is not the 224-byte PE32 one the launcher reads");
  const OptionalHeaderLayout& layout = magic == kPe32Plus.magic ? kPe32Plus : kPe32;
  image.optionalHeaderSize_ = layout.size;
  image.directoriesField_ = layout.directoriesField;
  if (Read32(file, nt + 24 + layout.directoryCountField) != kDirectoryCount)
    return fail(std::string("its optional header does not list the 16 data directories of a ") +
                (layout.magic == kPe32.magic ? "PE32" : "PE32+") + " image");
  // The table where the launcher looks for it, read by the launcher's own reader.
  const std::span<const std::uint8_t> bytes(reinterpret_cast<const std::uint8_t*>(file.data()), file.size());
  const auto table = FindSectionTable(bytes);
  if (!table || table->count > kMaxSections) return fail("its section table is empty or impossibly long");
  const std::uint32_t headersSize = Read32(file, nt + 24 + kHeadersSizeField);
  if (table->HeaderOffset(table->count) > headersSize || headersSize > file.size())
    return fail("its section table does not fit in its headers");
  image.headers_.assign(file.substr(0, headersSize));
  const std::uint32_t fileAlignment = image.FileAlignment(), sectionAlignment = image.SectionAlignment();
  if (!IsPowerOfTwo(fileAlignment) || !IsPowerOfTwo(sectionAlignment) || fileAlignment > sectionAlignment ||
      sectionAlignment > (1u << 28))
    return fail("its section and file alignments are not powers of two, the file's no larger than memory's");

  std::uint64_t nextAddress = 0;
  for (std::uint32_t i = 0; i < table->count; ++i) {
    const auto header = ReadSectionHeader(bytes, *table, i);
    if (!header) return fail("its section table does not fit in its headers");
    PeSection s;
    s.name = header->name;
    s.virtualSize = header->virtualSize;
    s.virtualAddress = header->virtualAddress;
    s.rawSize = header->rawSize;
    s.rawOffset = header->rawOffset;
    s.characteristics = header->characteristics;
    if (s.rawSize != 0 && (s.rawOffset < headersSize || std::uint64_t{s.rawOffset} + s.rawSize > file.size()))
      return fail("section " + s.name + " lies outside the file (is it cut short?)");
    if (s.virtualAddress < nextAddress) return fail("section " + s.name + " overlaps the one before it in memory");
    nextAddress = AlignUp(std::uint64_t{s.virtualAddress} + Span(s), sectionAlignment);
    if (s.rawSize != 0) s.data.assign(file.substr(s.rawOffset, s.rawSize));
    image.sections_.push_back(std::move(s));
  }

  const std::uint64_t imageEnd = image.ImageEnd();
  if (imageEnd > file.size()) return fail("its last section runs past the end of the file (is it cut short?)");
  for (const PeSection& s : image.sections_)
    if (s.rawSize != 0 && std::uint64_t{s.rawOffset} + s.rawSize > imageEnd)
      return fail("section " + s.name +
                  " ends after the table's last section, where the launcher looks for its package");
  if (const DataDirectory security = image.Directory(kSecurityDirectory); security.size != 0) {
    if (security.rva < imageEnd || std::uint64_t{security.rva} + security.size > file.size())
      return fail("its certificate table lies inside the image or past the end of the file");
    image.certificateTable_ = FileRange{security.rva, security.size};
  }
  if (const std::uint32_t symbols = Read32(file, nt + kSymbolTableField); symbols != 0) {
    // Records, then the string table, which starts with its own size.
    const std::uint64_t records = std::uint64_t{Read32(file, nt + kSymbolCountField)} * kSymbolRecordSize;
    FileRange range{symbols, records};
    if (range.End() + 4 <= file.size()) range.size += std::max<std::uint32_t>(4, Read32(file, range.End()));
    if (symbols < imageEnd || range.End() > file.size())
      return fail("its COFF symbol table lies inside the image or past the end of the file");
    image.symbolTable_ = range;
  }
  return image;
}

std::uint64_t PeImage::ImageEnd() const {
  const PeSection& last = sections_.back();
  return std::uint64_t{last.rawOffset} + last.rawSize;
}

DataDirectory PeImage::Directory(int index) const {
  const std::size_t at = OptionalHeader() + directoriesField_ + 8 * index;
  return {Get32(at), Get32(at + 4)};
}

void PeImage::SetDirectory(int index, DataDirectory directory) {
  const std::size_t at = OptionalHeader() + directoriesField_ + 8 * index;
  Put32(at, directory.rva);
  Put32(at + 4, directory.size);
}

std::optional<std::string_view> PeImage::From(std::uint32_t rva) const {
  for (const PeSection& s : sections_)
    if (rva >= s.virtualAddress && rva - s.virtualAddress < s.rawSize)
      return std::string_view(s.data).substr(rva - s.virtualAddress);
  return std::nullopt;
}

std::optional<std::string_view> PeImage::At(std::uint32_t rva, std::uint32_t size) const {
  const auto rest = From(rva);
  if (!rest || rest->size() < size) return std::nullopt;
  return rest->substr(0, size);
}

std::uint32_t PeImage::NextVirtualAddress(const PeSection& section) const {
  return static_cast<std::uint32_t>(AlignUp(std::uint64_t{section.virtualAddress} + Span(section), SectionAlignment()));
}

// Sections after `index` follow it in memory and in the file, each where the
// one before it ends; the base relocation directory follows its section.
void PeImage::RelayoutAfter(std::size_t index) {
  const DataDirectory relocations = Directory(kBaseRelocationDirectory);
  std::uint64_t fileEnd =
      AlignUp(std::uint64_t{sections_[index].rawOffset} + sections_[index].rawSize, FileAlignment());
  for (std::size_t i = index + 1; i < sections_.size(); ++i) {
    PeSection& s = sections_[i];
    const std::uint32_t address = NextVirtualAddress(sections_[i - 1]);
    if (relocations.size != 0 && relocations.rva == s.virtualAddress)
      SetDirectory(kBaseRelocationDirectory, {address, relocations.size});
    s.virtualAddress = address;
    if (s.rawSize == 0) continue;
    s.rawOffset = static_cast<std::uint32_t>(fileEnd);
    fileEnd = AlignUp(fileEnd + s.rawSize, FileAlignment());
  }
}

bool PeImage::AppendSection(PeSection section, std::string* error) {
  const std::size_t header = OptionalHeader() + optionalHeaderSize_ + kSectionHeaderSize * sections_.size();
  if (header + kSectionHeaderSize > headers_.size() ||
      headers_.find_first_not_of('\0', header) < header + kSectionHeaderSize)
    return Fail(error, "its headers have no room for another section header");
  section.virtualAddress = NextVirtualAddress(sections_.back());
  section.rawOffset = static_cast<std::uint32_t>(AlignUp(ImageEnd(), FileAlignment()));
  sections_.push_back(std::move(section));
  return true;
}

bool PeImage::PutResources(const std::function<std::string(std::uint32_t rva)>& build, std::string* error) {
  const DataDirectory current = Directory(kResourceDirectory);
  const DataDirectory relocations = Directory(kBaseRelocationDirectory);
  std::optional<std::size_t> holder;
  for (std::size_t i = 0; i < sections_.size(); ++i)
    if (current.size != 0 && sections_[i].virtualAddress == current.rva && sections_[i].rawSize != 0) holder = i;
  // Only the base relocations may follow a section rebuilt where it is, and
  // only when the debug directory points at no file offset that would move.
  bool inPlace = holder.has_value() && Directory(kDebugDirectory).size == 0;
  for (std::size_t i = 0; inPlace && i < *holder; ++i)
    inPlace = std::uint64_t{sections_[i].rawOffset} + sections_[i].rawSize <= sections_[*holder].rawOffset;
  for (std::size_t i = holder.value_or(0) + 1; inPlace && i < sections_.size(); ++i)
    inPlace = relocations.size != 0 && sections_[i].virtualAddress == relocations.rva &&
              sections_[i].rawOffset >= sections_[i - 1].rawOffset;

  const std::uint32_t initialisedField = OptionalHeader() + kInitializedDataField;
  std::uint32_t initialised = Get32(initialisedField);
  std::size_t index = 0;
  if (inPlace) {
    index = *holder;
    initialised -= sections_[index].rawSize;
  } else {
    PeSection fresh;
    fresh.name = ".rsrc";
    fresh.characteristics = kResourceCharacteristics;
    if (!AppendSection(std::move(fresh), error)) return false;
    index = sections_.size() - 1;
  }
  PeSection& section = sections_[index];
  section.data = build(section.virtualAddress);
  section.virtualSize = static_cast<std::uint32_t>(section.data.size());
  section.data.resize(AlignUp(section.data.size(), FileAlignment()), '\0');
  section.rawSize = static_cast<std::uint32_t>(section.data.size());
  SetDirectory(kResourceDirectory, {section.virtualAddress, section.virtualSize});
  Put32(initialisedField, initialised + section.rawSize);
  RelayoutAfter(index);
  Put32(OptionalHeader() + kImageSizeField, NextVirtualAddress(sections_.back()));
  return true;
}

void PeImage::DetachTrailers() {
  SetDirectory(kSecurityDirectory, {});
  Put32(ntHeaders_ + kSymbolTableField, 0);
  Put32(ntHeaders_ + kSymbolCountField, 0);
  symbolTable_.reset();
  certificateTable_.reset();
}

std::string PeImage::Write() const {
  std::string file(ImageEnd(), '\0');
  std::string headers = headers_;
  headers[ntHeaders_ + kSectionCountField] = static_cast<char>(sections_.size() & 0xFF);
  headers[ntHeaders_ + kSectionCountField + 1] = static_cast<char>(sections_.size() >> 8);
  for (std::size_t i = 0; i < sections_.size(); ++i) {
    const PeSection& s = sections_[i];
    const std::size_t at = OptionalHeader() + optionalHeaderSize_ + kSectionHeaderSize * i;
    std::memset(&headers[at], 0, 8);
    std::memcpy(&headers[at], s.name.data(), std::min<std::size_t>(s.name.size(), 8));
    Write32(headers, at + 8, s.virtualSize);
    Write32(headers, at + 12, s.virtualAddress);
    Write32(headers, at + 16, s.rawSize);
    Write32(headers, at + 20, s.rawOffset);
    Write32(headers, at + 36, s.characteristics);
    if (s.rawSize != 0) file.replace(s.rawOffset, s.data.size(), s.data);
  }
  file.replace(0, headers.size(), headers);
  return file;
}

std::uint32_t PeChecksum(std::string_view file) {
  const std::size_t field = Read32(file, 0x3C) + 24 + kChecksumField;
  std::uint64_t sum = 0;
  for (std::size_t i = 0; i < file.size(); i += 2) {
    if (i == field || i == field + 2) continue;
    const std::uint32_t low = static_cast<unsigned char>(file[i]);
    const std::uint32_t high = i + 1 < file.size() ? static_cast<unsigned char>(file[i + 1]) : 0;
    sum += low | high << 8;
    sum = (sum & 0xFFFF) + (sum >> 16);
  }
  sum = (sum & 0xFFFF) + (sum >> 16);
  return static_cast<std::uint32_t>(sum + file.size());
}

void StoreChecksum(std::string& file) { Write32(file, Read32(file, 0x3C) + 24 + kChecksumField, PeChecksum(file)); }
