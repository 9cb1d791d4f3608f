// Small, well-formed PE images built in the test, 32-bit (PE32) or 64-bit
// (PE32+), with the section layouts the branding code must handle: resources last, resources before
// the base relocations or before other data, no resources at all; a COFF
// symbol table or a certificate table after the image.
#pragma once

#include <cstdint>
#include <ostream>
#include <string>
#include <vector>

#include "pe_resources.h"

// Resources print readably in failures.
inline void PrintTo(const Resource& r, std::ostream* out) {
  const auto id = [](const ResourceId& i) { return i.named ? "\"" + std::string(i.name.begin(), i.name.end()) + "\"" : std::to_string(i.number); };
  *out << "{type " << id(r.type) << ", name " << id(r.name) << ", language " << r.language << ", " << r.data.size() << " bytes}";
}

namespace pefixture {

enum class Role { kData, kResources, kRelocations };

// PE32: i386, a 224-byte optional header. PE32+: x86-64, a 240-byte one
// with an 8-byte image base and stack and heap sizes, its data directories
// 16 bytes further on.
enum class Width { k32, k64 };
inline const char* Name(Width width) { return width == Width::k32 ? "PE32" : "PE32+"; }

struct Section {
  std::string name;
  std::string data;
  Role role = Role::kData;
  std::uint32_t virtualSize = 0;  // 0: the data's size
};

inline constexpr std::uint32_t kFileAlignment = 0x200;
inline constexpr std::uint32_t kSectionAlignment = 0x1000;
inline constexpr std::uint32_t kHeadersSize = 0x400;

// The image: headers of kHeadersSize bytes, then each section in table order
// at the next file alignment, at the next section alignment in memory; the
// resource and relocation directories point at their sections. With
// `symbols`, a COFF symbol table of that many records (and an empty string
// table) follows the last section.
std::string Image(const std::vector<Section>& sections, std::uint32_t symbols = 0, Width width = Width::k32);

// `file` (an image followed by anything) signed as Authenticode lays it out:
// padded to 8 bytes, then the certificate table, to which the security
// directory points.
std::string WithCertificateTable(std::string file, const std::string& certificate);

std::uint32_t Get32(const std::string& bytes, std::size_t at);
void Put32(std::string& bytes, std::size_t at, std::uint32_t value);
// Offsets in an image of either width, found from its own headers: the
// optional header, its data directories (entry `index` at +8 * index) and
// the section table.
std::size_t OptionalHeader(const std::string& image);
std::size_t DataDirectories(const std::string& image);
std::size_t SectionTable(const std::string& image);

}  // namespace pefixture
