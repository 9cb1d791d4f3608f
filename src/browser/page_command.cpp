#include "browser/page_command.h"

#include "common/utf8.h"

namespace {

enum PageCode : std::int32_t { kCodeClose = 1, kCodeRestart = 2, kCodeSetLink = 4, kCodeSetTitle = 6 };

// The string as the bytes a decimal reader looks at: characters beyond
// ASCII become a byte that is neither a digit, a sign nor white space.
std::string AsciiOnly(std::u16string_view text) {
  std::string bytes(text.size(), '\x7f');
  for (std::size_t i = 0; i < text.size(); ++i)
    if (text[i] < 0x80) bytes[i] = static_cast<char>(text[i]);
  return bytes;
}

std::u16string_view UpToZero(std::u16string_view text) { return text.substr(0, text.find(u'\0')); }

// How many bytes a page's text takes among the skin's texts.
GbkMeasure SkinMeasure(GbkMeasure gbkLength, TextEncoding encoding) {
  return encoding == TextEncoding::kUtf8 ? Utf8Length : gbkLength;
}

// The longest start of `text` that takes at most `room` bytes as `measure`
// counts them, never ending inside a character (a surrogate pair is one).
std::u16string_view CutToBytes(std::u16string_view text, std::size_t room, GbkMeasure measure) {
  std::size_t used = 0;
  std::size_t end = 0;
  while (end < text.size()) {
    const std::size_t size =
        IsHighSurrogate(text[end]) && end + 1 < text.size() && IsLowSurrogate(text[end + 1]) ? 2 : 1;
    const std::size_t bytes = measure(text.substr(end, size));
    if (used + bytes > room) break;
    used += bytes;
    end += size;
  }
  return text.substr(0, end);
}

}  // namespace

PageMemberUse PageMemberUseOf(std::uint16_t dispatchFlags) {
  if ((dispatchFlags & (kDispatchPropertyPut | kDispatchPropertyPutRef)) != 0) return PageMemberUse::kAssign;
  if ((dispatchFlags & kDispatchMethod) != 0) return PageMemberUse::kCall;
  return PageMemberUse::kRead;
}

std::int32_t PageCallCode(const PageCallBlock& block) {
  if (block.empty()) return 0;
  const PageArgument& first = block.back();
  switch (first.type) {
    case kVariantInt:
    case kVariantUint: return first.number;
    case kVariantString: return ParseDecimalInt(AsciiOnly(first.text));
    default: return 0;
  }
}

std::optional<std::u16string> PageCallParameter(const PageCallBlock& block, GbkMeasure gbkLength,
                                                TextEncoding encoding) {
  if (block.size() < 2) return std::nullopt;
  const PageArgument& second = block[block.size() - 2];
  if (second.type != kVariantString) return std::nullopt;
  const std::u16string_view text = UpToZero(second.text);
  if (SkinMeasure(gbkLength, encoding)(text) + 1 > kPageTextField) return std::nullopt;
  return std::u16string(text);
}

std::string PageTitlePrefix(std::string_view configuredTitle, TextEncoding encoding) {
  return CutToField(std::string(configuredTitle) + "-", kPageTextField, encoding);
}

PageCommand InterpretPageCall(const PageCallBlock& block, std::string_view configuredTitle, GbkMeasure gbkLength,
                              TextEncoding encoding) {
  switch (PageCallCode(block)) {
    case kCodeClose: return {PageAction::kClose, {}};
    case kCodeRestart: return {PageAction::kRestartAndClose, {}};
    case kCodeSetLink:
      if (auto link = PageCallParameter(block, gbkLength, encoding))
        return {PageAction::kSetButtonLink, std::move(*link)};
      return {};
    case kCodeSetTitle:
      if (auto text = PageCallParameter(block, gbkLength, encoding)) {
        const std::size_t room = kPageTextField - 1 - PageTitlePrefix(configuredTitle, encoding).size();
        return {PageAction::kSetTitle, std::u16string(CutToBytes(*text, room, SkinMeasure(gbkLength, encoding)))};
      }
      return {};
    default: return {};
  }
}
