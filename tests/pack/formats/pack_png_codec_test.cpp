#include <gtest/gtest.h>
#include <zlib.h>

#include <string>
#include <vector>

#include "formats/png_codec.h"
#include "png_writer.h"

namespace {

using testkit::Bytes;
using testkit::PngSpec;

std::string AsText(const Bytes& bytes) { return std::string(bytes.begin(), bytes.end()); }

std::vector<Rgba> Decoded(const PngSpec& layout) {
  std::string error;
  const auto image = DecodePng(AsText(testkit::EncodePng(layout)), &error);
  EXPECT_TRUE(image) << error;
  return image ? image->Pixels() : std::vector<Rgba>{};
}

// A picture of 3 x 2 pixels whose bytes differ from pixel to pixel and from
// row to row, so that every filter predicts something.
Bytes Gradient(int bytesPerPixel) {
  Bytes rows;
  for (int i = 0; i < 6 * bytesPerPixel; ++i) rows.push_back(static_cast<std::uint8_t>(17 * i + 3 * (i / 9) + 5));
  return rows;
}

}  // namespace

TEST(PackPngCodec, ReadsEveryColourTypeAndDepth) {
  const struct {
    const char* name;
    PngSpec layout;
    std::vector<Rgba> pixels;
  } cases[] = {
      {"grey 8", {2, 1, 0, 8, {0x80, 0xFF}}, {{128, 128, 128, 255}, {255, 255, 255, 255}}},
      {"grey 1", {3, 1, 0, 1, {0b10100000}}, {{255, 255, 255, 255}, {0, 0, 0, 255}, {255, 255, 255, 255}}},
      {"grey 2", {2, 1, 0, 2, {0b11010000}}, {{255, 255, 255, 255}, {85, 85, 85, 255}}},
      {"grey 4", {2, 1, 0, 4, {0xF8}}, {{255, 255, 255, 255}, {136, 136, 136, 255}}},
      {"grey 16", {1, 1, 0, 16, {0x12, 0x34}}, {{0x12, 0x12, 0x12, 255}}},
      {"grey with a transparent key", {2, 1, 0, 8, {5, 6}, {}, {0, 5}}, {{5, 5, 5, 0}, {6, 6, 6, 255}}},
      {"RGB 8", {1, 1, 2, 8, {1, 2, 3}}, {{1, 2, 3, 255}}},
      {"RGB 16", {1, 1, 2, 16, {1, 9, 2, 9, 3, 9}}, {{1, 2, 3, 255}}},
      {"RGB with a transparent key",
       {2, 1, 2, 8, {1, 2, 3, 1, 2, 4}, {}, {0, 1, 0, 2, 0, 3}},
       {{1, 2, 3, 0}, {1, 2, 4, 255}}},
      {"palette 8 with partial transparency",
       {3, 1, 3, 8, {0, 1, 2}, {10, 11, 12, 20, 21, 22, 30, 31, 32}, {0, 128}},
       {{10, 11, 12, 0}, {20, 21, 22, 128}, {30, 31, 32, 255}}},
      {"palette 2", {2, 1, 3, 2, {0b01100000}, {0, 0, 0, 1, 1, 1, 2, 2, 2}}, {{1, 1, 1, 255}, {2, 2, 2, 255}}},
      {"grey and alpha 8", {1, 1, 4, 8, {40, 50}}, {{40, 40, 40, 50}}},
      {"grey and alpha 16", {1, 1, 4, 16, {40, 0, 50, 0}}, {{40, 40, 40, 50}}},
      {"RGBA 8", {1, 1, 6, 8, {1, 2, 3, 4}}, {{1, 2, 3, 4}}},
      {"RGBA 16", {1, 1, 6, 16, {1, 0, 2, 0, 3, 0, 4, 0}}, {{1, 2, 3, 4}}},
  };
  for (const auto& c : cases) EXPECT_EQ(Decoded(c.layout), c.pixels) << c.name;
}

TEST(PackPngCodec, UndoesEveryRowFilterAndInterlacing) {
  const PngSpec plain{3, 2, 6, 8, Gradient(4)};
  const std::vector<Rgba> expected = Decoded(plain);
  ASSERT_EQ(expected.size(), 6u);
  for (int filter = 1; filter <= 4; ++filter) {
    PngSpec layout = plain;
    layout.filter = filter;
    EXPECT_EQ(Decoded(layout), expected) << "filter " << filter;
    layout.interlaced = true;
    EXPECT_EQ(Decoded(layout), expected) << "interlaced, filter " << filter;
  }
  PngSpec wide{11, 9, 2, 8};  // every pass of the interlacing holds pixels
  for (int i = 0; i < 11 * 9 * 3; ++i) wide.rows.push_back(static_cast<std::uint8_t>(i * 7));
  const std::vector<Rgba> flat = Decoded(wide);
  wide.interlaced = true;
  EXPECT_EQ(Decoded(wide), flat);
}

TEST(PackPngCodec, WritesWhatItReads) {
  RgbaImage image(3, 2);
  image.At(0, 0) = {1, 2, 3, 4};
  image.At(2, 1) = {250, 251, 252, 253};
  std::string error;
  const auto back = DecodePng(EncodePng(image), &error);
  ASSERT_TRUE(back) << error;
  EXPECT_EQ(back->Pixels(), image.Pixels());
}

TEST(PackPngCodec, RefusesDamagedFilesWithAReason) {
  const std::string good = AsText(testkit::EncodePng({1, 1, 2, 8, {1, 2, 3}}));
  std::string badChecksum = good;
  badChecksum[29] ^= 1;  // inside IHDR's CRC
  std::string huge = good;
  huge.replace(16, 8, std::string("\x00\x01\x00\x00\x00\x01\x00\x00", 8));  // 65536 x 65536
  const uLong crc = crc32(0, reinterpret_cast<const Bytef*>(huge.data() + 12), 17);
  for (int i = 0; i < 4; ++i) huge[29 + i] = static_cast<char>(crc >> (24 - 8 * i));
  // A chunk that decoders may skip is damaged all the same: the launcher's
  // decoder may need the transparency that a lenient one drops.
  std::string badTransparency = AsText(testkit::EncodePng({2, 1, 3, 8, {0, 1}, {1, 2, 3, 4, 5, 6}, {0, 128}}));
  badTransparency[badTransparency.find("tRNS") + 4 + 2] ^= 1;  // its CRC, after two bytes of content
  const struct {
    const char* name;
    std::string bytes;
    std::string error;
  } cases[] = {
      {"not a PNG", "GIF89a", "not a PNG picture"},
      {"cut short", good.substr(0, good.size() - 20), "damaged: the file is cut short"},
      {"without its IEND chunk", good.substr(0, good.size() - 12), "damaged: the file is cut short"},
      {"bad checksum", badChecksum, "damaged: a chunk's checksum does not match its bytes"},
      {"bad checksum of an ancillary chunk", badTransparency, "damaged: a chunk's checksum does not match its bytes"},
      {"too large", huge, "too large: 65536 x 65536, more pixels than the launcher decodes (7680 x 4320)"},
      {"palette index beyond the palette", AsText(testkit::EncodePng({1, 1, 3, 8, {5}, {1, 2, 3}})),
       "damaged: a pixel names no palette entry"},
      {"palette picture without a palette", AsText(testkit::EncodePng({1, 1, 3, 8, {0}})),
       "damaged: a palette picture without a usable palette"},
      {"impossible depth", AsText(testkit::EncodePng({1, 1, 2, 4, {0, 0}})),
       "damaged: impossible colour type or depth"},
  };
  for (const auto& c : cases) {
    std::string error;
    EXPECT_FALSE(DecodePng(c.bytes, &error)) << c.name;
    EXPECT_EQ(error, c.error) << c.name;
  }
}
