#include <iconv.h>

#include <cerrno>

#include "formats/gbk_text.h"

namespace {

// iconv's descriptor, closed on every path.
class Converter {
 public:
  Converter(const char* to, const char* from) : cd_(iconv_open(to, from)) {}
  ~Converter() {
    if (Valid()) iconv_close(cd_);
  }
  Converter(const Converter&) = delete;
  Converter& operator=(const Converter&) = delete;
  bool Valid() const { return cd_ != reinterpret_cast<iconv_t>(-1); }

  // Converts as far as it can; returns the number of input bytes consumed.
  std::size_t Run(std::string_view input, std::string* output) {
    char* in = const_cast<char*>(input.data());
    std::size_t inLeft = input.size();
    char buffer[256];
    while (inLeft > 0) {
      char* out = buffer;
      std::size_t outLeft = sizeof buffer;
      const std::size_t result = iconv(cd_, &in, &inLeft, &out, &outLeft);
      output->append(buffer, static_cast<std::size_t>(out - buffer));
      if (result == static_cast<std::size_t>(-1) && errno != E2BIG) break;
    }
    return input.size() - inLeft;
  }

 private:
  iconv_t cd_;
};

}  // namespace

std::string GbkToUtf8(std::string_view gbk) {
  Converter converter("UTF-8", "GBK");
  std::string text;
  if (!converter.Valid()) return std::string(gbk);
  while (!gbk.empty()) {
    gbk.remove_prefix(converter.Run(gbk, &text));
    if (gbk.empty()) break;
    text += "\xEF\xBF\xBD";  // U+FFFD for the byte that is no character
    gbk.remove_prefix(1);
  }
  return text;
}

GbkConversion Utf8ToGbk(std::string_view utf8) {
  Converter converter("GBK", "UTF-8");
  GbkConversion result;
  if (!converter.Valid()) {
    result.failedAt = 0;
    return result;
  }
  const std::size_t consumed = converter.Run(utf8, &result.text);
  if (consumed < utf8.size()) result.failedAt = consumed;
  return result;
}
