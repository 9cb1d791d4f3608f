#include "branding/pe_resources.h"

#include <gtest/gtest.h>

#include "pe_fixture.h"

namespace {

using pefixture::Role;

std::vector<Resource> ReadBack(const std::string& section, std::string* error) {
  const std::string file = pefixture::Image({{".text", "code"}, {".rsrc", section, Role::kResources}});
  auto image = PeImage::Read(file, error);
  if (!image) return {};
  return ReadResources(*image, error).value_or(std::vector<Resource>{});
}

Resource Make(ResourceId type, ResourceId name, std::uint16_t language, std::string data) {
  return {std::move(type), std::move(name), language, 0, std::move(data)};
}

}  // namespace

TEST(PeResources, ReadBackInTheOrderTheSystemSearches) {
  // Given out of order: names before numbers at each level, names by their
  // UTF-16 units, numbers and languages ascending.
  const std::vector<Resource> given = {
      Make(ResourceId::Number(24), ResourceId::Number(1), 0x0409, "manifest"),
      Make(ResourceId::Number(3), ResourceId::Number(2), 0x0409, "icon 2"),
      Make(ResourceId::Name(u"PNG"), ResourceId::Name(u"LOGO"), 0x0804, "logo"),
      Make(ResourceId::Number(3), ResourceId::Number(1), 0x0804, "icon 1, Chinese"),
      Make(ResourceId::Number(3), ResourceId::Number(1), 0x0409, "icon 1, English"),
      Make(ResourceId::Number(3), ResourceId::Name(u"\u6E38\u620F"), 0, "named icon"),  // 游戏
      Make(ResourceId::Name(u"AVI"), ResourceId::Number(7), 0, std::string(1000, '\0')),
  };
  const std::vector<Resource> expected = {given[6], given[2], given[5], given[4], given[3], given[1], given[0]};
  std::string error;
  auto image = PeImage::Read(pefixture::Image({{".text", "code"}}), &error);
  ASSERT_TRUE(image) << error;
  ASSERT_TRUE(image->PutResources([&](std::uint32_t at) { return BuildResourceSection(given, at); }, &error));
  auto reread = PeImage::Read(image->Write(), &error);
  ASSERT_TRUE(reread) << error;
  EXPECT_EQ(ReadResources(*reread, &error), expected) << error;
}

TEST(PeResources, DataEntriesHoldAddressesForTheSectionsPlace) {
  const std::vector<Resource> one = {Make(ResourceId::Number(16), ResourceId::Number(1), 0, "version")};
  const std::string atLow = BuildResourceSection(one, 0x1000), atHigh = BuildResourceSection(one, 0x50000);
  ASSERT_EQ(atLow.size(), atHigh.size());
  // Root, type and name directories of one entry each (24 bytes), the
  // language directory's entry points at the data entry.
  const std::uint32_t dataEntry = pefixture::Get32(atLow, 2 * 24 + 20);
  EXPECT_EQ(pefixture::Get32(atHigh, dataEntry) - pefixture::Get32(atLow, dataEntry), 0x50000u - 0x1000u);
  EXPECT_EQ(atLow.substr(pefixture::Get32(atLow, dataEntry) - 0x1000, 7), "version");
}

TEST(PeResources, DamagedTreesAreReportedNotFollowed) {
  const std::string good = BuildResourceSection({Make(ResourceId::Number(3), ResourceId::Number(1), 0, "icon")}, 0x2000);
  const auto with = [&](std::size_t at, std::uint32_t value) {
    std::string bad = good;
    pefixture::Put32(bad, at, value);
    return bad;
  };
  std::string loop = good;  // the type directory's entry points back at the root, and so on
  pefixture::Put32(loop, 16 + 4, 0x80000000);
  // 65535 types sharing one directory of 65535 names, each an empty
  // directory of languages: billions of entries to walk, no resource.
  const std::uint32_t level = 16 + 8 * 0xFFFF;
  std::string wide(2 * level + 16, '\0');
  for (std::uint32_t directory : {0u, level}) {
    pefixture::Put32(wide, directory + 12, 0xFFFF0000);
    for (std::uint32_t i = 0; i < 0xFFFF; ++i) pefixture::Put32(wide, directory + 16 + 8 * i + 4, 0x80000000 | (directory + level));
  }
  const struct {
    const char* what;
    std::string section;
  } cases[] = {
      {"a subdirectory past the end", with(16 + 4, 0x80001000)},
      {"a data entry past the end", with(2 * 24 + 20, 0x1000)},
      {"data outside the image", with(pefixture::Get32(good, 2 * 24 + 20), 0x900000)},
      {"a name past the end", with(16, 0x80000F00)},
      {"data where a directory belongs", with(16 + 4, 0x18)},
      {"a loop", loop},
      {"entries beyond the section", with(12, 0x00400000)},
      {"a wide tree of empty directories", wide},
  };
  for (const auto& c : cases) {
    std::string error;
    const auto read = ReadBack(c.section, &error);
    EXPECT_TRUE(read.empty()) << c.what;
    EXPECT_NE(error.find("damaged"), std::string::npos) << c.what << ": " << error;
  }
}

TEST(PeResources, AnImageWithoutResourcesHasAnEmptyList) {
  std::string error;
  auto image = PeImage::Read(pefixture::Image({{".text", "code"}}), &error);
  ASSERT_TRUE(image) << error;
  const auto resources = ReadResources(*image, &error);
  ASSERT_TRUE(resources) << error;
  EXPECT_TRUE(resources->empty());
}
