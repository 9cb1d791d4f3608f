#include "branding/icon_file.h"

#include <gtest/gtest.h>

#include "pe_fixture.h"

namespace {

// A 40-byte bitmap header of `bits` per pixel, followed by pixel bytes.
std::string Dib(std::uint32_t size, std::uint16_t bits) {
  std::string dib(40 + size * size * bits / 8, '\x11');
  pefixture::Put32(dib, 0, 40);
  pefixture::Put32(dib, 4, size);
  pefixture::Put32(dib, 8, size * 2);  // colour and mask
  dib[12] = 1, dib[13] = 0;
  dib[14] = static_cast<char>(bits), dib[15] = 0;
  return dib;
}

// A PNG's signature and header chunk: enough for an icon's directory.
std::string PngStart(std::uint32_t size, char depth, char colourType) {
  std::string png = std::string("\x89PNG\r\n\x1a\n", 8) + std::string("\0\0\0\x0dIHDR", 8) + std::string(8, '\0') +
                    std::string{depth, colourType, 0, 0, 0} + "CRC!";
  for (int i = 0; i < 2; ++i)
    for (int b = 0; b < 4; ++b) png[16 + 4 * i + b] = static_cast<char>(size >> (24 - 8 * b) & 0xFF);
  return png;
}

struct Entry {
  std::uint8_t width;
  std::uint16_t planes, bits;
  std::string data;
};

std::string IcoFile(const std::vector<Entry>& entries) {
  std::string file = std::string("\0\0\1\0", 4) + std::string{static_cast<char>(entries.size()), 0};
  std::string images;
  const std::size_t first = 6 + 16 * entries.size();
  for (const Entry& e : entries) {
    std::string entry(16, '\0');
    entry[0] = entry[1] = static_cast<char>(e.width);
    entry[4] = static_cast<char>(e.planes);
    entry[6] = static_cast<char>(e.bits);
    pefixture::Put32(entry, 8, static_cast<std::uint32_t>(e.data.size()));
    pefixture::Put32(entry, 12, static_cast<std::uint32_t>(first + images.size()));
    file += entry;
    images += e.data;
  }
  return file + images;
}

}  // namespace

TEST(IconFile, TakesEveryImageAndFillsInWhatTheDirectoryLeftOut) {
  const std::string dib16 = Dib(16, 4), dib32 = Dib(32, 32), png = PngStart(256, 8, 6), grey = PngStart(48, 8, 4);
  std::string error;
  const auto images = ReadIconFile(IcoFile({{16, 1, 4, dib16}, {32, 0, 0, dib32}, {0, 0, 0, png}, {48, 0, 0, grey}}), &error);
  ASSERT_TRUE(images) << error;
  const std::vector<IconImage> expected = {
      {16, 16, 0, 1, 4, dib16}, {32, 32, 0, 1, 32, dib32}, {0, 0, 0, 1, 32, png}, {48, 48, 0, 1, 16, grey}};
  EXPECT_EQ(*images, expected);
}

TEST(IconFile, MalformedFilesAreRefusedWithTheirReason) {
  const std::string good = IcoFile({{16, 1, 32, Dib(16, 32)}});
  std::string pointsOut = good;
  pefixture::Put32(pointsOut, 6 + 12, 0x7FFFFFF0);
  std::string hugeSize = good;
  pefixture::Put32(hugeSize, 6 + 8, 0xFFFFFFFF);
  const struct {
    const char* what;
    std::string file;
    const char* says;
  } cases[] = {
      {"empty", "", "not an icon file"},
      {"a cursor", std::string("\0\0\2\0\1\0", 6) + good.substr(6), "not an icon file"},
      {"a PNG file", PngStart(16, 8, 6), "not an icon file"},
      {"no image", std::string("\0\0\1\0\0\0", 6), "no image"},
      {"cut in its directory", good.substr(0, 12), "cut short"},
      {"cut in its image", good.substr(0, good.size() - 1), "cut short"},
      {"an image offset past the end", pointsOut, "cut short"},
      {"an image size past the end", hugeSize, "cut short"},
      {"an image of text", IcoFile({{16, 1, 32, std::string(60, 'x')}}), "neither a bitmap nor a PNG"},
      {"a PNG of an unknown colour type", IcoFile({{16, 0, 0, PngStart(16, 8, 5)}}), "neither a bitmap nor a PNG"},
      {"a PNG cut in its header", IcoFile({{16, 0, 0, PngStart(16, 8, 6).substr(0, 20)}}), "neither a bitmap nor a PNG"},
  };
  for (const auto& c : cases) {
    std::string error;
    EXPECT_FALSE(ReadIconFile(c.file, &error)) << c.what;
    EXPECT_NE(error.find(c.says), std::string::npos) << c.what << ": " << error;
  }
}

TEST(IconGroup, ReplacesTheGroupAndOnlyTheImagesNoOtherGroupUses) {
  const auto group = [](std::uint16_t id, std::vector<std::uint16_t> icons) {
    std::string data = std::string("\0\0\1\0", 4) + std::string{static_cast<char>(icons.size()), 0};
    for (std::uint16_t icon : icons) data += std::string(12, '\0') + std::string{static_cast<char>(icon), 0};
    return Resource{ResourceId::Number(kGroupIconType), ResourceId::Number(id), 0x0409, 0, data};
  };
  const auto icon = [](std::uint16_t id) {
    return Resource{ResourceId::Number(kIconType), ResourceId::Number(id), 0x0409, 0, "old " + std::to_string(id)};
  };
  const Resource dialog{ResourceId::Number(5), ResourceId::Number(102), 0x0409, 0, "dialog"};
  std::vector<Resource> resources = {icon(1), icon(2), icon(3), icon(5), group(128, {1, 2, 3}), group(7, {3, 5}), dialog};
  const std::vector<IconImage> images = {{16, 16, 0, 1, 32, Dib(16, 32)}, {32, 32, 0, 1, 32, Dib(32, 32)}, {0, 0, 0, 1, 32, PngStart(256, 8, 6)}};
  PutIconGroup(resources, 128, images, 0);

  EXPECT_EQ(IconGroupImages(resources, 128), images);
  // Icon 3 stays for group 7; the new images take 1, 2 and then 4.
  const auto has = [&](std::uint16_t id, const std::string& data) {
    return std::count_if(resources.begin(), resources.end(), [&](const Resource& r) {
      return r.type == ResourceId::Number(kIconType) && r.name == ResourceId::Number(id) && r.data == data;
    }) == 1;
  };
  EXPECT_TRUE(has(1, images[0].data));
  EXPECT_TRUE(has(2, images[1].data));
  EXPECT_TRUE(has(3, "old 3"));
  EXPECT_TRUE(has(4, images[2].data));
  EXPECT_TRUE(has(5, "old 5"));
  EXPECT_EQ(std::count(resources.begin(), resources.end(), group(7, {3, 5})), 1);
  EXPECT_EQ(std::count(resources.begin(), resources.end(), dialog), 1);
  EXPECT_EQ(resources.size(), 8u);  // 5 icons, 2 groups, the dialog
  for (const Resource& r : resources) EXPECT_EQ(r.language, 0x0409) << "the group keeps its language";
}

TEST(IconGroup, ANewGroupTakesTheLanguageGiven) {
  std::vector<Resource> resources;
  const std::vector<IconImage> images = {{16, 16, 0, 1, 32, Dib(16, 32)}};
  PutIconGroup(resources, 128, images, 0x0804);
  EXPECT_EQ(IconGroupImages(resources, 128), images);
  ASSERT_EQ(resources.size(), 2u);
  EXPECT_EQ(resources[0].language, 0x0804);
  EXPECT_EQ(resources[1].language, 0x0804);
}
