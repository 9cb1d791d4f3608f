#include "png_writer.h"

#include <zlib.h>

#include <string>

namespace testkit {
namespace {

void Put32(Bytes& out, std::uint32_t v) {
  for (int shift = 24; shift >= 0; shift -= 8) out.push_back(static_cast<std::uint8_t>(v >> shift));
}

void Chunk(Bytes& out, const char* type, const Bytes& data) {
  Put32(out, static_cast<std::uint32_t>(data.size()));
  Bytes body(type, type + 4);
  body.insert(body.end(), data.begin(), data.end());
  out.insert(out.end(), body.begin(), body.end());
  Put32(out, static_cast<std::uint32_t>(crc32(0, body.data(), static_cast<uInt>(body.size()))));
}

int Channels(int colourType) {
  switch (colourType) {
    case 2: return 3;
    case 4: return 2;
    case 6: return 4;
    default: return 1;
  }
}

}  // namespace

Bytes EncodePng(const PngSpec& spec) {
  Bytes out = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  Bytes header;
  Put32(header, spec.width);
  Put32(header, spec.height);
  header.insert(header.end(), {static_cast<std::uint8_t>(spec.bitDepth), static_cast<std::uint8_t>(spec.colourType), 0,
                               0, 0});
  Chunk(out, "IHDR", header);
  if (!spec.palette.empty()) Chunk(out, "PLTE", spec.palette);
  if (!spec.transparency.empty()) Chunk(out, "tRNS", spec.transparency);

  const std::size_t rowBytes = (static_cast<std::size_t>(spec.width) * Channels(spec.colourType) * spec.bitDepth + 7) / 8;
  Bytes filtered;
  for (int y = 0; y < spec.height; ++y) {
    filtered.push_back(0);  // filter: none
    const auto row = spec.rows.begin() + static_cast<std::ptrdiff_t>(y * rowBytes);
    filtered.insert(filtered.end(), row, row + static_cast<std::ptrdiff_t>(rowBytes));
  }
  uLongf size = compressBound(static_cast<uLong>(filtered.size()));
  Bytes compressed(size);
  compress(compressed.data(), &size, filtered.data(), static_cast<uLong>(filtered.size()));
  compressed.resize(size);
  Chunk(out, "IDAT", compressed);
  Chunk(out, "IEND", {});
  return out;
}

}  // namespace testkit
