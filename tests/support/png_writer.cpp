#include "png_writer.h"

#include <zlib.h>

#include <algorithm>
#include <cstdlib>
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

std::uint8_t Paeth(int a, int b, int c) {
  const int p = a + b - c, pa = std::abs(p - a), pb = std::abs(p - b), pc = std::abs(p - c);
  return static_cast<std::uint8_t>(pa <= pb && pa <= pc ? a : pb <= pc ? b : c);
}

// Appends the row with its filter byte, filtered against the row above.
void PutRow(Bytes& out, int filter, const Bytes& row, const Bytes& above, std::size_t bpp) {
  out.push_back(static_cast<std::uint8_t>(filter));
  for (std::size_t i = 0; i < row.size(); ++i) {
    const int a = i >= bpp ? row[i - bpp] : 0, b = above.empty() ? 0 : above[i];
    const int c = i >= bpp && !above.empty() ? above[i - bpp] : 0;
    const int predictor = filter == 1   ? a
                          : filter == 2 ? b
                          : filter == 3 ? (a + b) / 2
                          : filter == 4 ? Paeth(a, b, c)
                                        : 0;
    out.push_back(static_cast<std::uint8_t>(row[i] - predictor));
  }
}

// The image's rows, or with interlacing the rows of its seven passes, one
// pass after another, each with its own first row.
std::vector<std::vector<Bytes>> Passes(const PngSpec& layout, std::size_t rowBytes) {
  const auto row = [&](int y) {
    const auto begin = layout.rows.begin() + static_cast<std::ptrdiff_t>(y * rowBytes);
    return Bytes(begin, begin + static_cast<std::ptrdiff_t>(rowBytes));
  };
  std::vector<std::vector<Bytes>> passes(1);
  if (!layout.interlaced) {
    for (int y = 0; y < layout.height; ++y) passes[0].push_back(row(y));
    return passes;
  }
  const std::size_t pixelBytes = rowBytes / static_cast<std::size_t>(layout.width);
  constexpr int kAdam7[7][4] = {{0, 0, 8, 8}, {4, 0, 8, 8}, {0, 4, 4, 8}, {2, 0, 4, 4},
                                {0, 2, 2, 4}, {1, 0, 2, 2}, {0, 1, 1, 2}};
  passes.clear();
  for (const auto& [x0, y0, dx, dy] : kAdam7) {
    std::vector<Bytes> pass;
    for (int y = y0; y < layout.height; y += dy) {
      Bytes reduced;
      const Bytes full = row(y);
      for (int x = x0; x < layout.width; x += dx)
        reduced.insert(reduced.end(), full.begin() + static_cast<std::ptrdiff_t>(x * pixelBytes),
                       full.begin() + static_cast<std::ptrdiff_t>((x + 1) * pixelBytes));
      if (!reduced.empty()) pass.push_back(reduced);
    }
    passes.push_back(pass);
  }
  return passes;
}

}  // namespace

Bytes EncodePng(const PngSpec& layout) {
  Bytes out = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  Bytes header;
  Put32(header, layout.width);
  Put32(header, layout.height);
  header.insert(header.end(), {static_cast<std::uint8_t>(layout.bitDepth), static_cast<std::uint8_t>(layout.colourType), 0,
                               0, static_cast<std::uint8_t>(layout.interlaced ? 1 : 0)});
  Chunk(out, "IHDR", header);
  if (!layout.palette.empty()) Chunk(out, "PLTE", layout.palette);
  if (!layout.transparency.empty()) Chunk(out, "tRNS", layout.transparency);

  const std::size_t rowBytes = (static_cast<std::size_t>(layout.width) * Channels(layout.colourType) * layout.bitDepth + 7) / 8;
  const std::size_t bpp = std::max(1, Channels(layout.colourType) * layout.bitDepth / 8);
  Bytes filtered;
  for (const std::vector<Bytes>& pass : Passes(layout, rowBytes))
    for (std::size_t y = 0; y < pass.size(); ++y)
      PutRow(filtered, layout.filter, pass[y], y > 0 ? pass[y - 1] : Bytes(), bpp);
  uLongf size = compressBound(static_cast<uLong>(filtered.size()));
  Bytes compressed(size);
  compress(compressed.data(), &size, filtered.data(), static_cast<uLong>(filtered.size()));
  compressed.resize(size);
  Chunk(out, "IDAT", compressed);
  Chunk(out, "IEND", {});
  return out;
}

Bytes LauncherPackage(const std::string& config) {
  const Bytes background = RgbaPng(40, 30, [](int, int) { return 0xFF808080u; });
  return ZipBuilder()
      .Add("config/cg.txt", config)
      .Add("config/main1.png", std::string(background.begin(), background.end()))
      .Build();
}

}  // namespace testkit
