#include "browser/page_command.h"

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

}  // namespace

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

std::optional<std::string> PageCallParameter(const PageCallBlock& block, TextConverter toOemText) {
  if (block.size() < 2) return std::nullopt;
  const PageArgument& second = block[block.size() - 2];
  if (second.type != kVariantString) return std::nullopt;
  char field[kPageTextField] = {};
  if (!toOemText(UpToZero(second.text), field, sizeof field)) return std::nullopt;
  field[sizeof field - 1] = '\0';  // whatever the converter did, the field ends
  return std::string(field);
}

PageCommand InterpretPageCall(const PageCallBlock& block, std::string_view configuredTitle, TextConverter toOemText,
                              LeadByteRule isLeadByte) {
  switch (PageCallCode(block)) {
    case kCodeClose: return {PageAction::kClose, {}};
    case kCodeRestart: return {PageAction::kRestartAndClose, {}};
    case kCodeSetLink:
      if (auto link = PageCallParameter(block, toOemText)) return {PageAction::kSetButtonLink, std::move(*link)};
      return {};
    case kCodeSetTitle:
      if (auto text = PageCallParameter(block, toOemText)) {
        const std::string title = std::string(configuredTitle) + "-" + *text;
        return {PageAction::kSetTitle, CutToField(title, kPageTextField, isLeadByte)};
      }
      return {};
    default: return {};
  }
}
