// What a package picture announces before the decoder gets it. Checked two
// ways, neither by reading the headers as the check does:
//  - the input as it is: when another PNG reader (libspng) reads a header
//    from it, the check announces that size, so that nothing it lets
//    through decodes larger than the limit;
//  - a picture built from the input by the formats' own rules, of sizes the
//    input chooses, with what a file may carry before and between its
//    sizes (chunks, colour tables, extensions, segments, fill bytes,
//    directory entries of other tags, several frames or icon entries): the
//    check announces the largest size the picture holds, no more and no
//    less, and refuses it exactly when that is over the limit.
#include <fuzzer/FuzzedDataProvider.h>
#include <spng.h>
#include <zlib.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "package/picture_size.h"

namespace {

void Require(bool condition) {
  if (!condition) std::abort();
}

std::span<const std::uint8_t> AsBytes(const std::string& text) {
  return {reinterpret_cast<const std::uint8_t*>(text.data()), text.size()};
}

void CheckAgainstLibspng(std::span<const std::uint8_t> bytes) {
  const std::unique_ptr<spng_ctx, decltype(&spng_ctx_free)> context(spng_ctx_new(0), spng_ctx_free);
  if (!context) return;
  // A reader that forgives a damaged checksum reads more headers, not fewer.
  spng_set_crc_action(context.get(), SPNG_CRC_USE, SPNG_CRC_USE);
  spng_set_png_buffer(context.get(), bytes.data(), bytes.size());
  spng_ihdr header{};
  if (spng_get_ihdr(context.get(), &header) != 0) return;
  const auto announced = AnnouncedPictureSize(bytes);
  Require(announced && announced->width == header.width && announced->height == header.height);
  Require(PictureTooLarge(bytes) == (std::uint64_t{header.width} * header.height > kMaxPicturePixels));
}

// Writes a picture's bytes in the byte order of its format.
class Writer {
 public:
  explicit Writer(bool bigEndian = false) : bigEndian_(bigEndian) {}
  Writer& Text(const std::string& text) {
    bytes_ += text;
    return *this;
  }
  Writer& U8(unsigned v) { return Text(std::string(1, static_cast<char>(v))); }
  Writer& U16(unsigned v) { return bigEndian_ ? U8(v >> 8).U8(v & 0xFF) : U8(v & 0xFF).U8(v >> 8); }
  Writer& U32(std::uint32_t v) { return bigEndian_ ? U16(v >> 16).U16(v & 0xFFFF) : U16(v & 0xFFFF).U16(v >> 16); }
  std::size_t Size() const { return bytes_.size(); }
  const std::string& Bytes() const { return bytes_; }

 private:
  bool bigEndian_;
  std::string bytes_;
};

struct Built {
  std::string bytes;
  std::uint64_t largest = 0;  // pixels of the largest picture the file holds
};

std::uint64_t Pixels(std::uint64_t width, std::uint64_t height) { return width * height; }

std::string Filler(FuzzedDataProvider& input, std::size_t most) {
  return input.ConsumeBytesAsString(input.ConsumeIntegralInRange<std::size_t>(0, most));
}

std::string PngChunk(const std::string& type, const std::string& data) {
  Writer chunk(true);
  chunk.U32(static_cast<std::uint32_t>(data.size())).Text(type).Text(data);
  const std::string checked = type + data;
  return chunk.U32(static_cast<std::uint32_t>(crc32(0, reinterpret_cast<const Bytef*>(checked.data()),
                                                    static_cast<uInt>(checked.size()))))
      .Bytes();
}

// A PNG: the header chunk comes first, whatever chunks follow.
std::string Png(std::uint32_t width, std::uint32_t height, const std::string& after = "") {
  Writer header(true);
  header.U32(width).U32(height).U8(8).U8(6).U8(0).U8(0).U8(0);
  return std::string("\x89PNG\r\n\x1A\n", 8) + PngChunk("IHDR", header.Bytes()) + after;
}

Built BuildPng(FuzzedDataProvider& input) {
  const auto width = input.ConsumeIntegralInRange<std::uint32_t>(1, 0x7FFFFFFF);
  const auto height = input.ConsumeIntegralInRange<std::uint32_t>(1, 0x7FFFFFFF);
  return {Png(width, height, PngChunk("tEXt", Filler(input, 40))), Pixels(width, height)};
}

// GIF: a colour table after the screen and after a frame whose flags ask
// for one; extensions and frame data as length-prefixed sub-blocks.
void SubBlocks(Writer& out, FuzzedDataProvider& input) {
  for (int blocks = input.ConsumeIntegralInRange(0, 3); blocks > 0; --blocks) {
    const auto length = input.ConsumeIntegralInRange<unsigned>(1, 255);
    std::string block = input.ConsumeBytesAsString(length);
    block.resize(length, '\0');
    out.U8(length).Text(block);
  }
  out.U8(0);
}

std::string ColourTable(FuzzedDataProvider& input, unsigned flags) {
  if ((flags & 0x80) == 0) return "";
  const std::size_t size = 3u << ((flags & 7) + 1);
  std::string table = input.ConsumeBytesAsString(size);
  return table + std::string(size - table.size(), '\0');
}

Built BuildGif(FuzzedDataProvider& input) {
  Writer out;
  const auto width = input.ConsumeIntegral<std::uint16_t>(), height = input.ConsumeIntegral<std::uint16_t>();
  const auto flags = input.ConsumeIntegral<std::uint8_t>();
  out.Text(input.ConsumeBool() ? "GIF89a" : "GIF87a").U16(width).U16(height).U8(flags).U8(0).U8(0);
  out.Text(ColourTable(input, flags));
  std::uint64_t largest = Pixels(width, height);
  for (int blocks = input.ConsumeIntegralInRange(0, 5); blocks > 0; --blocks) {
    if (input.ConsumeBool()) {
      out.U8(0x21).U8(input.ConsumeIntegral<std::uint8_t>());
    } else {
      const auto frameWidth = input.ConsumeIntegral<std::uint16_t>(), frameHeight = input.ConsumeIntegral<std::uint16_t>();
      const auto frameFlags = input.ConsumeIntegral<std::uint8_t>();
      out.U8(0x2C).U16(input.ConsumeIntegral<std::uint16_t>()).U16(input.ConsumeIntegral<std::uint16_t>());
      out.U16(frameWidth).U16(frameHeight).U8(frameFlags).Text(ColourTable(input, frameFlags)).U8(8);
      largest = std::max(largest, Pixels(frameWidth, frameHeight));
    }
    SubBlocks(out, input);
  }
  out.U8(0x3B);
  return {out.Bytes(), largest};
}

// JPEG: segments before the frame header, each a marker and a length that
// counts itself; fill bytes before a marker, and markers without a segment.
Built BuildJpeg(FuzzedDataProvider& input) {
  static constexpr std::uint8_t kSegments[] = {0xE0, 0xE1, 0xEE, 0xEF, 0xFE, 0xDB, 0xC4, 0xC8, 0xCC, 0xDD};
  static constexpr std::uint8_t kFrames[] = {0xC0, 0xC1, 0xC2, 0xC3, 0xC5, 0xC6, 0xC7,
                                             0xC9, 0xCA, 0xCB, 0xCD, 0xCE, 0xCF};
  Writer out(true);
  out.U8(0xFF).U8(0xD8);
  for (int segments = input.ConsumeIntegralInRange(0, 5); segments > 0; --segments) {
    for (int fill = input.ConsumeIntegralInRange(0, 2); fill > 0; --fill) out.U8(0xFF);
    if (input.ConsumeBool()) {
      out.U8(0xFF).U8(input.ConsumeBool() ? 0x01 : input.ConsumeIntegralInRange(0xD0, 0xD7));
      continue;
    }
    const std::string content = Filler(input, 300);
    out.U8(0xFF).U8(input.PickValueInArray(kSegments)).U16(static_cast<unsigned>(content.size() + 2)).Text(content);
  }
  const auto width = input.ConsumeIntegral<std::uint16_t>(), height = input.ConsumeIntegral<std::uint16_t>();
  const auto components = input.ConsumeIntegralInRange<unsigned>(1, 4);
  out.U8(0xFF).U8(input.PickValueInArray(kFrames)).U16(8 + 3 * components).U8(8).U16(height).U16(width).U8(components);
  for (unsigned c = 1; c <= components; ++c) out.U8(c).U8(0x11).U8(0);
  out.U8(0xFF).U8(0xD9);
  return {out.Bytes(), Pixels(width, height)};
}

// BMP: the old core header of 16-bit sizes, or a later one of signed 32-bit
// sizes, where a negative height means top-down rows.
Built BuildBmp(FuzzedDataProvider& input) {
  static constexpr std::uint32_t kHeaders[] = {12, 40, 52, 56, 108, 124};
  const std::uint32_t header = input.PickValueInArray(kHeaders);
  Writer out;
  out.Text("BM").U32(0).U32(0).U32(14 + header).U32(header);
  if (header == 12) {
    const auto width = input.ConsumeIntegral<std::uint16_t>(), height = input.ConsumeIntegral<std::uint16_t>();
    out.U16(width).U16(height).U16(1).U16(24);
    return {out.Bytes(), Pixels(width, height)};
  }
  const auto width = input.ConsumeIntegralInRange<std::int32_t>(1, 0x7FFFFFFF);
  const auto height = input.ConsumeIntegralInRange<std::int32_t>(1, 0x7FFFFFFF);
  const bool topDown = input.ConsumeBool();
  out.U32(static_cast<std::uint32_t>(width)).U32(static_cast<std::uint32_t>(topDown ? -height : height));
  out.U16(1).U16(32).Text(std::string(header - 16, '\0'));
  return {out.Bytes(), Pixels(width, height)};
}

// TIFF: the first directory anywhere after the header, its entries in tag
// order; the sizes as SHORT or LONG values among entries of other tags.
Built BuildTiff(FuzzedDataProvider& input) {
  const bool bigEndian = input.ConsumeBool();
  Writer out(bigEndian);
  const std::string gap = Filler(input, 64);
  out.Text(bigEndian ? "MM" : "II").U16(42).U32(static_cast<std::uint32_t>(8 + gap.size())).Text(gap);
  struct Entry {
    unsigned tag, type;
    std::uint32_t count, value;
  };
  std::vector<Entry> entries;
  const auto size = [&](unsigned tag) {
    const bool asShort = input.ConsumeBool();
    const std::uint32_t value = asShort ? input.ConsumeIntegral<std::uint16_t>() : input.ConsumeIntegral<std::uint32_t>();
    entries.push_back({tag, asShort ? 3u : 4u, 1, value});
    return value;
  };
  const std::uint32_t width = size(256), height = size(257);
  for (int others = input.ConsumeIntegralInRange(0, 6); others > 0; --others) {
    unsigned tag = input.ConsumeIntegralInRange(254u, 340u);
    if (tag == 256 || tag == 257) tag = 258;
    entries.push_back({tag, input.ConsumeIntegralInRange(1u, 12u), input.ConsumeIntegral<std::uint32_t>(),
                       input.ConsumeIntegral<std::uint32_t>()});
  }
  std::stable_sort(entries.begin(), entries.end(), [](const Entry& a, const Entry& b) { return a.tag < b.tag; });
  out.U16(static_cast<unsigned>(entries.size()));
  for (const Entry& e : entries) {
    out.U16(e.tag).U16(e.type).U32(e.count);
    // A SHORT value sits in the first two bytes of the value field.
    if (e.type == 3) out.U16(e.value).U16(0);
    else out.U32(e.value);
  }
  out.U32(0);
  return {out.Bytes(), Pixels(width, height)};
}

// Icons and cursors: a directory of entries, each a size of one byte (0 for
// 256) and the place of its picture, a PNG or a bitmap's info header (whose
// height counts the colours and the mask) of sizes of their own: the
// decoder takes those.
Built BuildIcon(FuzzedDataProvider& input) {
  const int count = input.ConsumeIntegralInRange(1, 6);
  Writer out;
  out.U16(0).U16(input.ConsumeBool() ? 1 : 2).U16(static_cast<unsigned>(count));
  std::string pictures;
  std::uint64_t largest = 0;
  const std::size_t directoryEnd = 6 + 16 * static_cast<std::size_t>(count);
  for (int i = 0; i < count; ++i) {
    const auto w = input.ConsumeIntegral<std::uint8_t>(), h = input.ConsumeIntegral<std::uint8_t>();
    const unsigned width = w == 0 ? 256 : w, height = h == 0 ? 256 : h;
    std::string picture;
    if (input.ConsumeBool()) {
      const auto innerWidth = input.ConsumeIntegralInRange<std::uint32_t>(1, 0x7FFFFFFF);
      const auto innerHeight = input.ConsumeIntegralInRange<std::uint32_t>(1, 0x7FFFFFFF);
      picture = Png(innerWidth, innerHeight);
      largest = std::max(largest, Pixels(innerWidth, innerHeight));
    } else {
      const auto innerWidth = input.ConsumeIntegralInRange<std::int32_t>(1, 0x7FFFFFFF);
      const auto innerHeight = input.ConsumeIntegralInRange<std::int32_t>(1, 0x7FFFFFFF);
      Writer bitmap;
      bitmap.U32(40).U32(static_cast<std::uint32_t>(innerWidth));
      bitmap.U32(static_cast<std::uint32_t>(input.ConsumeBool() ? -innerHeight : innerHeight));
      bitmap.U16(1).U16(32).Text(std::string(24, '\0'));
      picture = bitmap.Bytes();
      largest = std::max(largest, Pixels(innerWidth, innerHeight));
    }
    largest = std::max(largest, Pixels(width, height));
    out.U8(w).U8(h).U8(0).U8(0).U16(1).U16(32).U32(static_cast<std::uint32_t>(picture.size()));
    out.U32(static_cast<std::uint32_t>(directoryEnd + pictures.size()));
    pictures += picture;
  }
  return {out.Bytes() + pictures, largest};
}

void CheckBuilt(FuzzedDataProvider& input) {
  Built (*const builders[])(FuzzedDataProvider&) = {BuildPng, BuildGif, BuildJpeg, BuildBmp, BuildTiff, BuildIcon};
  const Built built = input.PickValueInArray(builders)(input);
  const auto bytes = AsBytes(built.bytes);
  const auto announced = AnnouncedPictureSize(bytes);
  Require(announced && announced->Pixels() == built.largest);
  Require(PictureTooLarge(bytes) == (built.largest > kMaxPicturePixels));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  CheckAgainstLibspng({data, size});
  FuzzedDataProvider input(data, size);
  CheckBuilt(input);
  return 0;
}
