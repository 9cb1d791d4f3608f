#include "branding/pe_image.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "branding/pe_resources.h"
#include "pe_fixture.h"

namespace {

using pefixture::Role;
using pefixture::Section;
using pefixture::Width;

std::vector<Resource> SomeResources(std::size_t dataSize) {
  return {{ResourceId::Name(u"SKIN"), ResourceId::Name(u"MAIN"), 0x0409, 1252, "named"},
          {ResourceId::Number(kVersionType), ResourceId::Number(1), 0x0804, 0, std::string(dataSize, 'v')}};
}

std::uint32_t AlignUp(std::uint32_t value, std::uint32_t alignment) {
  return (value + alignment - 1) / alignment * alignment;
}

// What any image written must hold to: the loader's contiguous memory
// layout, SizeOfImage, raw data in order with the last header ending it,
// the section table where the optional header of its width ends.
void ExpectWellFormed(const PeImage& image, const std::string& file) {
  const auto& sections = image.Sections();
  for (std::size_t i = 0; i < sections.size(); ++i) {
    const std::size_t header = pefixture::SectionTable(file) + 40 * i;
    EXPECT_EQ(file.substr(header, sections[i].name.size()), sections[i].name) << i;
    EXPECT_EQ(pefixture::Get32(file, header + 12), sections[i].virtualAddress) << i;
    EXPECT_EQ(pefixture::Get32(file, header + 20), sections[i].rawOffset) << i;
    if (i == 0) continue;
    const PeSection& before = sections[i - 1];
    EXPECT_EQ(sections[i].virtualAddress, AlignUp(before.virtualAddress + before.virtualSize, 0x1000)) << i;
    EXPECT_GE(sections[i].rawOffset, before.rawOffset + before.rawSize) << i;
    EXPECT_EQ(sections[i].rawOffset % pefixture::kFileAlignment, 0u) << i;
  }
  const PeSection& last = sections.back();
  EXPECT_EQ(pefixture::Get32(file, pefixture::OptionalHeader(file) + 56), AlignUp(last.virtualAddress + last.virtualSize, 0x1000));
  EXPECT_EQ(image.ImageEnd(), file.size());
}

}  // namespace

TEST(PeImage, PutsResourcesWhereverTheLayoutAllows) {
  const std::string code(0x300, 'c'), relocations(0x80, 'r'), data(0x90, 'd');
  const std::vector<Section> resourcesLast = {{".text", code}, {".rsrc", std::string(0x40, 'o'), Role::kResources}};
  const std::vector<Section> beforeRelocations = {
      {".text", code}, {".rsrc", std::string(0x40, 'o'), Role::kResources}, {".reloc", relocations, Role::kRelocations}};
  const std::vector<Section> noResources = {{".text", code}, {".reloc", relocations, Role::kRelocations}};
  const std::vector<Section> beforeData = {{".text", code}, {".rsrc", std::string(0x40, 'o'), Role::kResources}, {".data", data}};
  const struct {
    const char* layout;
    Width width;
    std::vector<Section> sections;
    std::size_t sectionsAfter;  // the table's length afterwards
    std::size_t resourceIndex;  // where the resources are afterwards
  } cases[] = {
      {"resources last", Width::k32, resourcesLast, 2, 1},
      {"resources before the relocations", Width::k32, beforeRelocations, 3, 1},
      {"no resources", Width::k32, noResources, 3, 2},
      {"resources before other data", Width::k32, beforeData, 4, 3},
      {"resources last", Width::k64, resourcesLast, 2, 1},
      {"resources before the relocations", Width::k64, beforeRelocations, 3, 1},
      {"no resources", Width::k64, noResources, 3, 2},
      {"resources before other data", Width::k64, beforeData, 4, 3},
  };
  for (const auto& c : cases) {
    for (std::size_t size : {std::size_t{0x10}, std::size_t{0x2345}}) {  // smaller, and beyond the old memory span
      SCOPED_TRACE(std::string(pefixture::Name(c.width)) + ", " + c.layout + ", " + std::to_string(size) + " bytes");
      const std::string original = pefixture::Image(c.sections, 0, c.width);
      std::string error;
      auto image = PeImage::Read(original, &error);
      ASSERT_TRUE(image) << error;
      const PeImage before = *image;
      const std::uint32_t initialised = pefixture::Get32(original, pefixture::OptionalHeader(original) + 8);
      ASSERT_TRUE(image->PutResources([&](std::uint32_t rva) { return BuildResourceSection(SomeResources(size), rva); }, &error)) << error;
      const std::string written = image->Write();

      auto reread = PeImage::Read(written, &error);
      ASSERT_TRUE(reread) << error;
      ExpectWellFormed(*reread, written);
      ASSERT_EQ(reread->Sections().size(), c.sectionsAfter);
      EXPECT_EQ(reread->Is64Bit(), c.width == Width::k64);
      const PeSection& resources = reread->Sections()[c.resourceIndex];
      EXPECT_EQ(reread->Directory(kResourceDirectory).rva, resources.virtualAddress);
      // Where the loader of that width reads the directory, not only where
      // this reader does.
      EXPECT_EQ(pefixture::Get32(written, pefixture::DataDirectories(written) + 8 * 2), resources.virtualAddress);
      // The fields between the alignments and the directories (PE32's base
      // of data and image base, PE32+'s 8-byte image base, the stack and
      // heap sizes of either) are kept as they were.
      const std::size_t optional = pefixture::OptionalHeader(original);
      EXPECT_EQ(written.substr(optional + 24, 8), original.substr(optional + 24, 8));
      EXPECT_EQ(written.substr(optional + 68, pefixture::DataDirectories(original) - optional - 68),
                original.substr(optional + 68, pefixture::DataDirectories(original) - optional - 68));
      EXPECT_EQ(ReadResources(*reread, &error), SomeResources(size)) << error;
      // Everything but the resources keeps its bytes; only the relocations
      // may move in memory, and their directory moves with them.
      for (std::size_t i = 0; i < c.sections.size(); ++i) {
        const Section& s = c.sections[i];
        if (s.role == Role::kResources) continue;
        const auto moved = std::find_if(reread->Sections().begin(), reread->Sections().end(),
                                        [&](const PeSection& p) { return p.name == s.name; });
        ASSERT_NE(moved, reread->Sections().end()) << s.name;
        EXPECT_EQ(moved->data.substr(0, s.data.size()), s.data) << s.name;
        if (s.role == Role::kRelocations)
          EXPECT_EQ(reread->Directory(kBaseRelocationDirectory).rva, moved->virtualAddress);
        else
          EXPECT_EQ(moved->virtualAddress, before.Sections()[i].virtualAddress) << s.name << " may be addressed by code";
      }
      const bool inPlace = c.sectionsAfter == c.sections.size();
      EXPECT_EQ(pefixture::Get32(written, pefixture::OptionalHeader(written) + 8),
                initialised + resources.rawSize - (inPlace ? pefixture::kFileAlignment : 0));
    }
  }
}

TEST(PeImage, RefusesHeadersItCannotRewriteSafely) {
  const std::vector<Section> sections = {{".text", std::string(0x300, 'c')}, {".rsrc", "r", Role::kResources}};
  const std::string good = pefixture::Image(sections), good64 = pefixture::Image(sections, 0, Width::k64);
  const std::size_t optional = pefixture::OptionalHeader(good);
  const auto within = [](const std::string& image, std::size_t at, std::uint32_t value) {
    std::string bad = image;
    pefixture::Put32(bad, at, value);
    return bad;
  };
  const auto with = [&](std::size_t at, std::uint32_t value) { return within(good, at, value); };
  const auto with64 = [&](std::size_t at, std::uint32_t value) { return within(good64, at, value); };
  const std::size_t table64 = pefixture::SectionTable(good64), directories64 = pefixture::DataDirectories(good64);
  const struct {
    const char* what;
    std::string file;
  } cases[] = {
      {"empty", ""},
      {"cut inside the headers", good.substr(0, 0x100)},
      {"cut inside a section", good.substr(0, good.size() - 1)},
      {"no MZ", "ZM" + good.substr(2)},
      {"NT headers past the end", with(0x3C, 0xFFFFFFF0)},
      {"NT headers misaligned", with(0x3C, 0x81)},
      // The optional header's size, then the characteristics.
      {"PE32 with a 240-byte optional header", with(optional - 4, 0x0102 << 16 | 240)},
      {"PE32+ with a 224-byte optional header", with64(optional - 4, 0x0022 << 16 | 224)},
      {"PE32+ listing 15 data directories", with64(directories64 - 4, 15)},
      {"PE32+ cut inside the headers", good64.substr(0, 0x180)},
      {"PE32+ with a section past the end of the file", with64(table64 + 40 + 20, 0x10000)},
      {"PE32+ with a certificate table inside the image", with64(directories64 + 8 * 4 + 4, 0x10)},
      {"no section", with(optional - 20, 0x14C)},
      {"alignment not a power of two", with(optional + 36, 0x300)},
      {"a section before the one before it", with(optional + 224 + 40 + 12, 0x800)},
      {"a section past the end of the file", with(optional + 224 + 40 + 20, 0x10000)},
      {"a certificate table inside the image", with(optional + 96 + 8 * 4 + 4, 0x10)},
      {"a symbol table past the end", with(0x80 + 12, 0x100000)},
  };
  for (const auto& c : cases) {
    std::string error;
    EXPECT_FALSE(PeImage::Read(c.file, &error)) << c.what;
    EXPECT_FALSE(error.empty()) << c.what;
  }
}

TEST(PeImage, ANewSectionNeedsRoomInTheHeaders) {
  // As many sections as fill the headers' 0x400 bytes: PE32+'s longer
  // optional header leaves room for one fewer.
  for (const auto& [width, count] : {std::pair{Width::k32, 16}, std::pair{Width::k64, 15}}) {
    std::vector<Section> sections;
    for (int i = 0; i < count; ++i) sections.push_back({".s" + std::to_string(i), "x"});
    std::string error;
    auto image = PeImage::Read(pefixture::Image(sections, 0, width), &error);
    ASSERT_TRUE(image) << pefixture::Name(width) << ": " << error;
    EXPECT_FALSE(image->PutResources([](std::uint32_t) { return std::string("r"); }, &error));
    EXPECT_NE(error.find("no room"), std::string::npos) << pefixture::Name(width) << ": " << error;
  }
}

TEST(PeChecksum, CoversEveryByteButItsOwnField) {
  std::string file = pefixture::Image({{".text", std::string(0x301, 'c')}}) + "odd";
  const std::size_t field = pefixture::OptionalHeader(file) + 64;
  const std::uint32_t sum = PeChecksum(file);
  pefixture::Put32(file, field, 0xDEADBEEF);
  EXPECT_EQ(PeChecksum(file), sum);
  for (std::size_t at : {std::size_t{0x200}, file.size() - 1}) {
    std::string changed = file;
    changed[at] = static_cast<char>(changed[at] + 1);
    EXPECT_NE(PeChecksum(changed), sum) << at;
  }
  StoreChecksum(file);
  EXPECT_EQ(pefixture::Get32(file, field), sum);
}
