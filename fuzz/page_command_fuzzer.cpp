// The input is what a game page can send with JsCallClient, and the text of
// a call into the page. The first byte's length prefix gives the configured
// title; the next byte the number of arguments, and with its high bit a
// skin in UTF-8 rather than GBK; then each argument of the parameter block,
// in block order, is a type byte, four bytes of number and a length-prefixed
// UTF-16LE text. What
// is left after the block is split as a page function's argument text.
#include <cstdint>
#include <cstring>
#include <string>

#include "browser/page_arguments.h"
#include "browser/page_command.h"
#include "common/utf8.h"

namespace {

class Reader {
 public:
  Reader(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}
  bool Empty() const { return pos_ >= size_; }
  std::uint8_t Byte() { return pos_ < size_ ? data_[pos_++] : 0; }
  std::string Bytes(std::size_t count) {
    count = std::min(count, size_ - pos_);
    std::string bytes(reinterpret_cast<const char*>(data_ + pos_), count);
    pos_ += count;
    return bytes;
  }
  std::string Rest() { return Bytes(size_ - pos_); }

 private:
  const std::uint8_t* data_;
  std::size_t size_;
  std::size_t pos_ = 0;
};

// Measures as code page 936 might: ASCII as one byte, everything else as
// two, a lead byte and a trail byte.
std::size_t GbkLikeLength(std::u16string_view text) {
  std::size_t bytes = 0;
  for (char16_t c : text) bytes += c < 0x80 ? 1 : 2;
  return bytes;
}

PageArgument ReadArgument(Reader& reader) {
  static const std::uint16_t kTypes[] = {kVariantI4, kVariantString, kVariantInt, kVariantUint, 0x4008, 0};
  PageArgument argument;
  const std::uint8_t selector = reader.Byte();
  argument.type = kTypes[selector % (sizeof kTypes / sizeof kTypes[0])];
  std::uint32_t number = 0;
  for (int i = 0; i < 4; ++i) number = number << 8 | reader.Byte();
  argument.number = static_cast<std::int32_t>(number);
  const std::size_t length = reader.Byte() * 2u;  // up to 510 characters with the next byte
  const std::string text = reader.Bytes(length + (selector & 0x80 ? 2 * 255 : 0));
  for (std::size_t i = 0; i + 1 < text.size(); i += 2)
    argument.text +=
        static_cast<char16_t>(static_cast<std::uint8_t>(text[i]) | static_cast<std::uint8_t>(text[i + 1]) << 8);
  return argument;
}

void Check(bool condition) {
  if (!condition) __builtin_trap();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  Reader reader(data, size);
  const std::string titleBytes = reader.Bytes(reader.Byte());
  PageCallBlock block;
  const std::uint8_t countByte = reader.Byte();
  const TextEncoding encoding = countByte & 0x80 ? TextEncoding::kUtf8 : TextEncoding::kGbk;
  const GbkMeasure measure = encoding == TextEncoding::kUtf8 ? Utf8Length : GbkLikeLength;
  const std::string title = CutToField(titleBytes, kPageTextField, encoding);
  const std::size_t count = countByte % 5;
  for (std::size_t i = 0; i < count && !reader.Empty(); ++i) block.push_back(ReadArgument(reader));

  const PageCommand command = InterpretPageCall(block, title, GbkLikeLength, encoding);
  const std::int32_t code = PageCallCode(block);
  const auto parameter = PageCallParameter(block, GbkLikeLength, encoding);
  if (parameter) Check(measure(*parameter) < kPageTextField && parameter->find(u'\0') == std::u16string::npos);
  switch (command.action) {
    case PageAction::kNone: Check(block.empty() || (code != 1 && code != 2)); break;
    case PageAction::kClose: Check(code == 1); break;
    case PageAction::kRestartAndClose: Check(code == 2); break;
    case PageAction::kSetButtonLink: Check(code == 4 && parameter && command.text == *parameter); break;
    case PageAction::kSetTitle: {
      Check(code == 6 && parameter.has_value());
      const std::size_t prefix = PageTitlePrefix(title, encoding).size();
      Check(prefix < kPageTextField);
      // The page's text, cut only when prefix and text do not fit, then by at
      // most one character, and never inside a surrogate pair.
      Check(parameter->compare(0, command.text.size(), command.text) == 0);
      Check(prefix + measure(command.text) < kPageTextField);
      if (prefix + measure(*parameter) < kPageTextField) {
        Check(command.text == *parameter);
      } else {
        Check(prefix + measure(command.text) + 4 >= kPageTextField);
        // A lone high surrogate is a character of its own and may end the
        // cut; one whose low half followed in the page's text may not.
        const std::size_t cut = command.text.size();
        Check(cut == 0 || !IsHighSurrogate(command.text.back()) || !IsLowSurrogate((*parameter)[cut]));
      }
      break;
    }
  }

  for (const std::string& piece : SplitPageArguments(reader.Rest())) {
    Check(!piece.empty() && piece.find(',') == std::string::npos && piece.find('\0') == std::string::npos);
  }
  Check(SplitPageArguments(std::string_view(reinterpret_cast<const char*>(data), size)).size() <= kMaxPageArguments);
  return 0;
}
