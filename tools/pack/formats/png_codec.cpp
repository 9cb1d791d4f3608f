#include "formats/png_codec.h"

#include <spng.h>

#include <cstdint>
#include <cstdlib>
#include <memory>
#include <vector>

namespace {

struct ContextDeleter {
  void operator()(spng_ctx* context) const { spng_ctx_free(context); }
};
using Context = std::unique_ptr<spng_ctx, ContextDeleter>;

// A decoder over `bytes` that is as strict as a checker should be: a chunk
// whose checksum fails is damage whether the chunk is needed or not, since
// another decoder (the launcher's) may need it.
Context Decoder(std::string_view bytes) {
  Context context(spng_ctx_new(0));
  if (context == nullptr) return context;
  spng_set_crc_action(context.get(), SPNG_CRC_ERROR, SPNG_CRC_ERROR);
  spng_set_png_buffer(context.get(), bytes.data(), bytes.size());
  return context;
}

// libspng's complaint in the words of the tool's findings; the common kinds
// of damage get a sentence an operator can act on.
std::string Why(int code) {
  switch (code) {
    case SPNG_ESIGNATURE: return "not a PNG picture";
    case SPNG_ECHUNK_CRC: return "damaged: a chunk's checksum does not match its bytes";
    case SPNG_IO_EOF:
    case SPNG_EOF:
    case SPNG_EIDAT_TOO_SHORT: return "damaged: the file is cut short";
    case SPNG_EBIT_DEPTH:
    case SPNG_ECOLOR_TYPE: return "damaged: impossible colour type or depth";
    case SPNG_EWIDTH:
    case SPNG_EHEIGHT: return "damaged: impossible width or height";
    case SPNG_ENOPLTE:
    case SPNG_ETRNS_NO_PLTE: return "damaged: a palette picture without a usable palette";
    case SPNG_ECHUNK_UNKNOWN_CRITICAL: return "damaged: an unknown critical chunk";
    case SPNG_EZLIB:
    case SPNG_EIDAT_STREAM: return "damaged: its pixel data does not inflate";
    case SPNG_EFILTER: return "damaged: unknown row filter";
    case SPNG_ECHUNK_LIMITS:
      return "holds more than 1000 chunks of text and other extras, more than the tool reads; save it again "
             "without them";
    default: return std::string("damaged: ") + spng_strerror(code);
  }
}

bool Fail(std::string* error, std::string why) {
  *error = std::move(why);
  return false;
}

// libspng gives a pixel whose palette index lies beyond the palette some
// colour of its own, while the picture is simply wrong: the indices are
// read raw (packed as the file holds them) and each one compared with the
// palette's size.
bool IndicesWithinPalette(std::string_view bytes, const spng_ihdr& header, std::string* error) {
  Context context = Decoder(bytes);
  if (context == nullptr) return Fail(error, "out of memory");
  spng_plte palette{};
  int code = spng_get_plte(context.get(), &palette);
  if (code == SPNG_ECHUNKAVAIL || (code == 0 && palette.n_entries == 0)) code = SPNG_ENOPLTE;
  if (code != 0) return Fail(error, Why(code));
  std::size_t size = 0;
  code = spng_decoded_image_size(context.get(), SPNG_FMT_PNG, &size);
  std::vector<std::uint8_t> raw(size);
  if (code == 0) code = spng_decode_image(context.get(), raw.data(), raw.size(), SPNG_FMT_PNG, 0);
  if (code != 0) return Fail(error, Why(code));
  const unsigned depth = header.bit_depth, mask = (1u << depth) - 1;
  const std::size_t rowBytes = (static_cast<std::size_t>(header.width) * depth + 7) / 8;
  for (std::uint32_t y = 0; y < header.height; ++y) {
    const std::uint8_t* row = raw.data() + y * rowBytes;
    for (std::uint32_t x = 0; x < header.width; ++x) {
      const std::size_t bit = static_cast<std::size_t>(x) * depth;
      const unsigned index = (row[bit / 8] >> (8 - depth - bit % 8)) & mask;
      if (index >= palette.n_entries) return Fail(error, "damaged: a pixel names no palette entry");
    }
  }
  return true;
}

}  // namespace

std::optional<RgbaImage> DecodePng(std::string_view bytes, std::string* error) {
  // A file too short for the signature is no PNG rather than a damaged one.
  if (!bytes.starts_with("\x89PNG\r\n\x1A\n")) {
    *error = Why(SPNG_ESIGNATURE);
    return std::nullopt;
  }
  Context context = Decoder(bytes);
  if (context == nullptr) {
    *error = "out of memory";
    return std::nullopt;
  }
  spng_ihdr header{};
  if (const int code = spng_get_ihdr(context.get(), &header); code != 0) {
    *error = Why(code);
    return std::nullopt;
  }
  // Refused from the header alone, before any memory is asked for the pixels.
  if (static_cast<long long>(header.width) * header.height > kMaxPngPixels) {
    *error = "too large: " + std::to_string(header.width) + " x " + std::to_string(header.height) +
             ", more pixels than the launcher decodes (7680 x 4320)";
    return std::nullopt;
  }
  if (header.color_type == SPNG_COLOR_TYPE_INDEXED && !IndicesWithinPalette(bytes, header, error)) return std::nullopt;

  std::size_t size = 0;
  int code = spng_decoded_image_size(context.get(), SPNG_FMT_RGBA8, &size);
  std::vector<std::uint8_t> pixels(size);
  if (code == 0) code = spng_decode_image(context.get(), pixels.data(), pixels.size(), SPNG_FMT_RGBA8, SPNG_DECODE_TRNS);
  // The chunks after the pixels up to IEND too: a file cut after its pixel
  // data is damaged, whatever a lenient decoder makes of it.
  if (code == 0) code = spng_decode_chunks(context.get());
  if (code != 0) {
    *error = Why(code);
    return std::nullopt;
  }
  RgbaImage image(static_cast<int>(header.width), static_cast<int>(header.height));
  const std::uint8_t* p = pixels.data();
  for (int y = 0; y < image.Height(); ++y)
    for (int x = 0; x < image.Width(); ++x, p += 4) image.At(x, y) = {p[0], p[1], p[2], p[3]};
  return image;
}

std::string EncodePng(const RgbaImage& image) {
  Context context(spng_ctx_new(SPNG_CTX_ENCODER));
  if (context == nullptr) return {};
  spng_set_option(context.get(), SPNG_ENCODE_TO_BUFFER, 1);
  spng_set_option(context.get(), SPNG_IMG_COMPRESSION_LEVEL, 9);
  spng_ihdr header{};
  header.width = static_cast<std::uint32_t>(image.Width());
  header.height = static_cast<std::uint32_t>(image.Height());
  header.bit_depth = 8;
  header.color_type = SPNG_COLOR_TYPE_TRUECOLOR_ALPHA;
  spng_set_ihdr(context.get(), &header);
  const std::size_t size = image.Pixels().size() * sizeof(Rgba);
  if (spng_encode_image(context.get(), image.Pixels().data(), size, SPNG_FMT_PNG, SPNG_ENCODE_FINALIZE) != 0) return {};
  std::size_t length = 0;
  int code = 0;
  void* png = spng_get_png_buffer(context.get(), &length, &code);
  if (png == nullptr) return {};
  std::string bytes(static_cast<const char*>(png), length);
  std::free(png);  // the buffer is the caller's now, from libspng's default allocator
  return bytes;
}
