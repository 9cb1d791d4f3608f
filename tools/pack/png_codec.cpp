#include "png_codec.h"

#include <zlib.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdlib>
#include <vector>

namespace {

using Byte = std::uint8_t;
constexpr std::string_view kSignature = "\x89PNG\r\n\x1A\n";

std::uint32_t Big32(const Byte* p) {
  return static_cast<std::uint32_t>(p[0]) << 24 | static_cast<std::uint32_t>(p[1]) << 16 |
         static_cast<std::uint32_t>(p[2]) << 8 | p[3];
}

struct Header {
  std::uint32_t width = 0, height = 0;
  int depth = 0, colourType = 0;
  bool interlaced = false;
};

int Channels(int colourType) {
  switch (colourType) {
    case 2: return 3;
    case 4: return 2;
    case 6: return 4;
    default: return 1;
  }
}

bool ValidDepth(int colourType, int depth) {
  switch (colourType) {
    case 0: return depth == 1 || depth == 2 || depth == 4 || depth == 8 || depth == 16;
    case 3: return depth == 1 || depth == 2 || depth == 4 || depth == 8;
    case 2:
    case 4:
    case 6: return depth == 8 || depth == 16;
    default: return false;
  }
}

struct Chunks {
  Header header;
  std::string palette, transparency, data;
};

bool Fail(std::string* error, std::string why) {
  *error = std::move(why);
  return false;
}

bool ReadHeader(const Byte* p, Header* header, std::string* error) {
  header->width = Big32(p);
  header->height = Big32(p + 4);
  header->depth = p[8];
  header->colourType = p[9];
  if (p[10] != 0 || p[11] != 0 || p[12] > 1) return Fail(error, "damaged: unknown compression, filter or interlace");
  header->interlaced = p[12] == 1;
  if (!ValidDepth(header->colourType, header->depth)) return Fail(error, "damaged: impossible colour type or depth");
  if (header->width == 0 || header->height == 0 || header->width > 0x7FFFFFFF || header->height > 0x7FFFFFFF)
    return Fail(error, "damaged: no pixels");
  if (static_cast<long long>(header->width) * header->height > kMaxPngPixels)
    return Fail(error, "too large: " + std::to_string(header->width) + " x " + std::to_string(header->height) +
                           ", more pixels than the launcher decodes (7680 x 4320)");
  return true;
}

// Walks the chunks, checking each one's CRC, and gathers what decoding needs.
bool ReadChunks(std::string_view bytes, Chunks* chunks, std::string* error) {
  if (!bytes.starts_with(kSignature)) return Fail(error, "not a PNG picture");
  const Byte* p = reinterpret_cast<const Byte*>(bytes.data()) + kSignature.size();
  std::size_t left = bytes.size() - kSignature.size();
  bool sawHeader = false;
  while (true) {
    if (left < 12) return Fail(error, "damaged: ends before its IEND chunk");
    const std::uint32_t length = Big32(p);
    if (length > left - 12) return Fail(error, "damaged: a chunk runs past the end of the file");
    const std::string type(reinterpret_cast<const char*>(p + 4), 4);
    const Byte* data = p + 8;
    if (crc32(0, p + 4, length + 4) != Big32(data + length))
      return Fail(error, "damaged: bad checksum of chunk " + type);
    if (!sawHeader && type != "IHDR") return Fail(error, "damaged: does not start with IHDR");
    const std::string_view content(reinterpret_cast<const char*>(data), length);
    if (type == "IHDR") {
      if (sawHeader || length != 13) return Fail(error, "damaged: bad IHDR chunk");
      if (!ReadHeader(data, &chunks->header, error)) return false;
      sawHeader = true;
    } else if (type == "PLTE") {
      chunks->palette = content;
    } else if (type == "tRNS") {
      chunks->transparency = content;
    } else if (type == "IDAT") {
      chunks->data.append(content);
    } else if (type == "IEND") {
      return true;
    } else if (type[0] >= 'A' && type[0] <= 'Z') {
      return Fail(error, "damaged: unknown critical chunk " + type);
    }
    p += 12 + length;
    left -= 12 + length;
  }
}

bool Inflate(std::string_view compressed, std::vector<Byte>* out) {
  z_stream stream{};
  if (inflateInit(&stream) != Z_OK) return false;
  stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(compressed.data()));
  stream.avail_in = static_cast<uInt>(compressed.size());
  stream.next_out = out->data();
  stream.avail_out = static_cast<uInt>(out->size());
  const int status = inflate(&stream, Z_FINISH);
  inflateEnd(&stream);
  // Trailing data after the image's bytes is tolerated, as decoders do.
  return (status == Z_STREAM_END || status == Z_BUF_ERROR || status == Z_OK) && stream.avail_out == 0;
}

std::size_t RowBytes(std::size_t width, const Header& h) { return (width * Channels(h.colourType) * h.depth + 7) / 8; }

struct Pass {
  int x0, y0, dx, dy;
};
constexpr std::array<Pass, 7> kAdam7 = {
    {{0, 0, 8, 8}, {4, 0, 8, 8}, {0, 4, 4, 8}, {2, 0, 4, 4}, {0, 2, 2, 4}, {1, 0, 2, 2}, {0, 1, 1, 2}}};
constexpr std::array<Pass, 1> kWhole = {{{0, 0, 1, 1}}};

std::size_t PassSize(std::size_t total, int start, int step) {
  return total > static_cast<std::size_t>(start) ? (total - start + step - 1) / step : 0;
}

Byte Paeth(int a, int b, int c) {
  const int p = a + b - c, pa = std::abs(p - a), pb = std::abs(p - b), pc = std::abs(p - c);
  return static_cast<Byte>(pa <= pb && pa <= pc ? a : pb <= pc ? b : c);
}

// Undoes the row filters in place; `rows` holds each row's filter byte
// followed by its bytes.
bool Unfilter(Byte* rows, std::size_t height, std::size_t rowBytes, std::size_t bpp) {
  const Byte* previous = nullptr;
  for (std::size_t y = 0; y < height; ++y) {
    Byte* row = rows + y * (rowBytes + 1);
    const Byte filter = row[0];
    Byte* cur = row + 1;
    for (std::size_t i = 0; i < rowBytes; ++i) {
      const int a = i >= bpp ? cur[i - bpp] : 0;
      const int b = previous != nullptr ? previous[i] : 0;
      const int c = previous != nullptr && i >= bpp ? previous[i - bpp] : 0;
      switch (filter) {
        case 0: break;
        case 1: cur[i] = static_cast<Byte>(cur[i] + a); break;
        case 2: cur[i] = static_cast<Byte>(cur[i] + b); break;
        case 3: cur[i] = static_cast<Byte>(cur[i] + (a + b) / 2); break;
        case 4: cur[i] = static_cast<Byte>(cur[i] + Paeth(a, b, c)); break;
        default: return false;
      }
    }
    previous = cur;
  }
  return true;
}

unsigned Sample(const Byte* row, std::size_t index, int depth) {
  if (depth == 8) return row[index];
  if (depth == 16) return static_cast<unsigned>(row[2 * index]) << 8 | row[2 * index + 1];
  const std::size_t bit = index * depth;
  return (row[bit / 8] >> (8 - depth - bit % 8)) & ((1u << depth) - 1);
}

// What one pixel of a row means, by colour type, palette and transparency.
class PixelReader {
 public:
  PixelReader(const Chunks& chunks) : h_(chunks.header), palette_(chunks.palette), trns_(chunks.transparency) {}

  bool Read(const Byte* row, std::size_t x, Rgba* pixel) const {
    const int channels = Channels(h_.colourType);
    unsigned s[4] = {};
    for (int c = 0; c < channels; ++c) s[c] = Sample(row, x * channels + c, h_.depth);
    switch (h_.colourType) {
      case 0: {
        const Byte grey = Scale(s[0]);
        *pixel = {grey, grey, grey, static_cast<Byte>(KeyMatches(s, 1) ? 0 : 255)};
        return true;
      }
      case 2:
        *pixel = {Scale(s[0]), Scale(s[1]), Scale(s[2]), static_cast<Byte>(KeyMatches(s, 3) ? 0 : 255)};
        return true;
      case 3: {
        if ((s[0] + 1) * 3 > palette_.size()) return false;
        const auto entry = [&](std::size_t i) { return static_cast<Byte>(palette_[s[0] * 3 + i]); };
        const Byte alpha = s[0] < trns_.size() ? static_cast<Byte>(trns_[s[0]]) : 255;
        *pixel = {entry(0), entry(1), entry(2), alpha};
        return true;
      }
      case 4: *pixel = {Scale(s[0]), Scale(s[0]), Scale(s[0]), Scale(s[1])}; return true;
      default: *pixel = {Scale(s[0]), Scale(s[1]), Scale(s[2]), Scale(s[3])}; return true;
    }
  }

 private:
  Byte Scale(unsigned sample) const {
    if (h_.depth == 16) return static_cast<Byte>(sample >> 8);
    return static_cast<Byte>(sample * 255 / ((1u << h_.depth) - 1));
  }
  // tRNS of a grey or RGB picture names one colour, in 16-bit fields, that is transparent.
  bool KeyMatches(const unsigned* s, int channels) const {
    if (trns_.size() < static_cast<std::size_t>(2 * channels)) return false;
    for (int c = 0; c < channels; ++c) {
      const unsigned key = static_cast<Byte>(trns_[2 * c]) << 8 | static_cast<Byte>(trns_[2 * c + 1]);
      if (key != s[c]) return false;
    }
    return true;
  }

  const Header& h_;
  const std::string& palette_;
  const std::string& trns_;
};

template <std::size_t N>
bool Decode(const Chunks& chunks, const std::array<Pass, N>& passes, RgbaImage* image, std::string* error) {
  const Header& h = chunks.header;
  std::size_t total = 0;
  for (const Pass& pass : passes) {
    const std::size_t w = PassSize(h.width, pass.x0, pass.dx), rows = PassSize(h.height, pass.y0, pass.dy);
    if (w > 0 && rows > 0) total += rows * (RowBytes(w, h) + 1);
  }
  std::vector<Byte> raw(total);
  if (!Inflate(chunks.data, &raw)) return Fail(error, "damaged: its pixel data does not inflate");
  const std::size_t bpp = std::max<std::size_t>(1, Channels(h.colourType) * h.depth / 8);
  const PixelReader reader(chunks);
  Byte* at = raw.data();
  for (const Pass& pass : passes) {
    const std::size_t w = PassSize(h.width, pass.x0, pass.dx), rows = PassSize(h.height, pass.y0, pass.dy);
    if (w == 0 || rows == 0) continue;
    const std::size_t rowBytes = RowBytes(w, h);
    if (!Unfilter(at, rows, rowBytes, bpp)) return Fail(error, "damaged: unknown row filter");
    for (std::size_t y = 0; y < rows; ++y, at += rowBytes + 1)
      for (std::size_t x = 0; x < w; ++x) {
        Rgba& pixel = image->At(static_cast<int>(pass.x0 + x * pass.dx), static_cast<int>(pass.y0 + y * pass.dy));
        if (!reader.Read(at + 1, x, &pixel)) return Fail(error, "damaged: a pixel names no palette entry");
      }
  }
  return true;
}

void PutBig32(std::string* out, std::uint32_t v) {
  for (int shift = 24; shift >= 0; shift -= 8) out->push_back(static_cast<char>(v >> shift));
}

void PutChunk(std::string* out, const char* type, const std::string& data) {
  PutBig32(out, static_cast<std::uint32_t>(data.size()));
  const std::string body = type + data;
  out->append(body);
  PutBig32(out, static_cast<std::uint32_t>(crc32(0, reinterpret_cast<const Bytef*>(body.data()), body.size())));
}

}  // namespace

std::optional<RgbaImage> DecodePng(std::string_view bytes, std::string* error) {
  Chunks chunks;
  if (!ReadChunks(bytes, &chunks, error)) return std::nullopt;
  const Header& h = chunks.header;
  if (h.colourType == 3 && (chunks.palette.empty() || chunks.palette.size() % 3 != 0 || chunks.palette.size() > 768)) {
    *error = "damaged: a palette picture without a usable palette";
    return std::nullopt;
  }
  RgbaImage image(static_cast<int>(h.width), static_cast<int>(h.height));
  const bool decoded = h.interlaced ? Decode(chunks, kAdam7, &image, error) : Decode(chunks, kWhole, &image, error);
  if (!decoded) return std::nullopt;
  return image;
}

std::string EncodePng(const RgbaImage& image) {
  std::string header;
  PutBig32(&header, static_cast<std::uint32_t>(image.Width()));
  PutBig32(&header, static_cast<std::uint32_t>(image.Height()));
  header += std::string("\x08\x06\x00\x00\x00", 5);  // 8 bits, RGBA, deflate, no filter, no interlace

  std::vector<Byte> rows;
  rows.reserve(static_cast<std::size_t>(image.Height()) * (image.Width() * 4 + 1));
  for (int y = 0; y < image.Height(); ++y) {
    rows.push_back(0);
    for (int x = 0; x < image.Width(); ++x) {
      const Rgba& p = image.At(x, y);
      rows.insert(rows.end(), {p.r, p.g, p.b, p.a});
    }
  }
  uLongf size = compressBound(static_cast<uLong>(rows.size()));
  std::string compressed(size, '\0');
  compress2(reinterpret_cast<Bytef*>(compressed.data()), &size, rows.data(), static_cast<uLong>(rows.size()), 9);
  compressed.resize(size);

  std::string png(kSignature);
  PutChunk(&png, "IHDR", header);
  PutChunk(&png, "IDAT", compressed);
  PutChunk(&png, "IEND", "");
  return png;
}
