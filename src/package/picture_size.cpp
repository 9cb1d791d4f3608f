#include "package/picture_size.h"

#include <algorithm>
#include <cstring>

#include "common/byte_order.h"

namespace {

using Bytes = std::span<const std::uint8_t>;


bool StartsWith(Bytes bytes, const char* magic, std::size_t size) {
  return bytes.size() >= size && std::memcmp(bytes.data(), magic, size) == 0;
}

PictureSize Larger(PictureSize a, PictureSize b) { return a.Pixels() >= b.Pixels() ? a : b; }

// GIF: the logical screen (width and height at 6, little-endian), then
// blocks: 0x2C an image descriptor (its size at 5), 0x21 an extension, 0x3B
// the end. Colour tables follow the screen and descriptors whose flags have
// bit 7 set, 3 * 2^(size + 1) bytes; image data and extensions are
// sub-blocks of a length byte and data, ended by a zero length.
std::optional<PictureSize> GifSize(Bytes b) {
  if (b.size() < 13) return std::nullopt;
  PictureSize size{LittleEndian16(&b[6]), LittleEndian16(&b[8])};
  auto colourTable = [](std::uint8_t flags) -> std::size_t { return flags & 0x80 ? 3u << ((flags & 7) + 1) : 0; };
  std::size_t at = 13 + colourTable(b[10]);
  auto skipSubBlocks = [&] {
    while (at < b.size() && b[at] != 0) at += 1 + std::size_t{b[at]};
    ++at;  // the zero length
  };
  while (at < b.size()) {
    const std::uint8_t block = b[at];
    if (block == 0x2C) {
      if (at + 10 > b.size()) break;
      size = Larger(size, {LittleEndian16(&b[at + 5]), LittleEndian16(&b[at + 7])});
      at += 10 + colourTable(b[at + 9]) + 1;  // the descriptor, its table, the code size
      skipSubBlocks();
    } else if (block == 0x21) {
      at += 2;  // introducer and label
      skipSubBlocks();
    } else {
      break;  // the trailer, or bytes the decoder will refuse
    }
  }
  return size;
}

// JPEG: markers from the start of image on; each segment but the
// stand-alone markers carries a big-endian length that counts itself. A
// start-of-frame segment (C0 to CF, but C4 tables, C8 reserved, CC
// arithmetic conditioning) holds the height at 3 and the width at 5.
std::optional<PictureSize> JpegSize(Bytes b) {
  std::size_t at = 2;
  while (at + 4 <= b.size()) {
    if (b[at] != 0xFF) return std::nullopt;
    const std::uint8_t marker = b[at + 1];
    if (marker == 0xFF) {  // fill byte
      ++at;
      continue;
    }
    if (marker == 0x01 || (marker >= 0xD0 && marker <= 0xD7)) {
      at += 2;
      continue;
    }
    if (marker == 0xD9 || marker == 0xDA) return std::nullopt;  // no frame before the data
    const std::size_t length = BigEndian16(&b[at + 2]);
    if (length < 2) return std::nullopt;
    if (marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC) {
      if (at + 9 > b.size()) return std::nullopt;
      return PictureSize{BigEndian16(&b[at + 7]), BigEndian16(&b[at + 5])};
    }
    at += 2 + length;
  }
  return std::nullopt;
}

// A bitmap's info header, whose own size says its kind: 12 bytes for the old
// core header with 16-bit width and height, otherwise 32-bit signed ones (a
// negative height is top-down).
std::optional<PictureSize> InfoHeaderSize(Bytes h) {
  if (h.size() < 12) return std::nullopt;
  if (LittleEndian32(&h[0]) == 12) return PictureSize{LittleEndian16(&h[4]), LittleEndian16(&h[6])};
  const std::uint32_t width = LittleEndian32(&h[4]), height = LittleEndian32(&h[8]);
  auto magnitude = [](std::uint32_t v) { return v & 0x80000000u ? 0u - v : v; };
  return PictureSize{magnitude(width), magnitude(height)};
}

// BMP: the file header (14 bytes), then the info header.
std::optional<PictureSize> BmpSize(Bytes b) {
  if (b.size() < 26) return std::nullopt;
  return InfoHeaderSize(b.subspan(14));
}

// TIFF: byte order ("II" little-endian, "MM" big-endian), 42, the offset of
// the first directory; a directory is a count of 12-byte entries of tag,
// type, count and value. Tags 256 and 257 are the width and the height,
// as a SHORT (type 3) or a LONG (type 4).
std::optional<PictureSize> TiffSize(Bytes b) {
  const bool little = b[0] == 'I';
  auto u16 = [&](std::size_t at) { return little ? LittleEndian16(&b[at]) : BigEndian16(&b[at]); };
  auto u32 = [&](std::size_t at) { return little ? LittleEndian32(&b[at]) : BigEndian32(&b[at]); };
  if (b.size() < 8) return std::nullopt;
  const std::size_t directory = u32(4);
  if (directory > b.size() || b.size() - directory < 2) return std::nullopt;
  const std::size_t entries = u16(directory);
  std::optional<std::uint32_t> width, height;
  for (std::size_t i = 0; i < entries; ++i) {
    const std::size_t entry = directory + 2 + i * 12;
    if (entry + 12 > b.size()) break;
    const std::uint32_t tag = u16(entry), type = u16(entry + 2);
    if (type != 3 && type != 4) continue;
    const std::uint32_t value = type == 3 ? u16(entry + 8) : u32(entry + 8);
    if (tag == 256) width = value;
    if (tag == 257) height = value;
  }
  if (!width || !height) return std::nullopt;
  return PictureSize{*width, *height};
}

// Icons and cursors: reserved 0, type 1 or 2, a count of 16-byte entries of
// width and height (a byte each, 0 for 256), then the offset and size of
// each picture, which is a BMP without its file header or a whole PNG. The
// decoder takes a picture's size from the picture's own header, whatever
// its entry says; a bitmap's height there counts its colours and its mask.
std::optional<PictureSize> IconSize(Bytes b) {
  if (b.size() < 6) return std::nullopt;
  const std::size_t count = LittleEndian16(&b[4]);
  if (count == 0 || b.size() < 6 + count * 16) return std::nullopt;
  PictureSize size;
  for (std::size_t i = 0; i < count; ++i) {
    const std::uint8_t* entry = &b[6 + i * 16];
    size = Larger(size, {entry[0] == 0 ? 256u : entry[0], entry[1] == 0 ? 256u : entry[1]});
    const std::uint32_t length = LittleEndian32(entry + 8), offset = LittleEndian32(entry + 12);
    if (offset >= b.size() || b.size() - offset < length) continue;
    const Bytes picture = b.subspan(offset, length);
    if (const auto inner = PngHeaderSize(picture)) size = Larger(size, *inner);
    else if (const auto header = InfoHeaderSize(picture)) size = Larger(size, *header);
  }
  return size;
}

}  // namespace

std::optional<PictureSize> PngHeaderSize(Bytes bytes) {
  // Signature, then the first chunk: length, "IHDR", width, height.
  if (bytes.size() < 24 || !StartsWith(bytes, "\x89PNG\r\n\x1A\n", 8) || std::memcmp(bytes.data() + 12, "IHDR", 4) != 0)
    return std::nullopt;
  return PictureSize{BigEndian32(bytes.data() + 16), BigEndian32(bytes.data() + 20)};
}

std::optional<PictureSize> AnnouncedPictureSize(Bytes bytes) {
  if (StartsWith(bytes, "\x89PNG", 4)) return PngHeaderSize(bytes);
  if (StartsWith(bytes, "GIF87a", 6) || StartsWith(bytes, "GIF89a", 6)) return GifSize(bytes);
  if (StartsWith(bytes, "\xFF\xD8", 2)) return JpegSize(bytes);
  if (StartsWith(bytes, "BM", 2)) return BmpSize(bytes);
  if (StartsWith(bytes, "II*\0", 4) || StartsWith(bytes, "MM\0*", 4)) return TiffSize(bytes);
  if (StartsWith(bytes, "\0\0\1\0", 4) || StartsWith(bytes, "\0\0\2\0", 4)) return IconSize(bytes);
  return std::nullopt;
}

bool PictureTooLarge(Bytes bytes) {
  const auto size = AnnouncedPictureSize(bytes);
  return size && size->Pixels() > kMaxPicturePixels;
}
