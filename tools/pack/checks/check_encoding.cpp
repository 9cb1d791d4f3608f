// The configuration's encoding: the launcher reads GBK bytes and knows
// nothing of UTF-8, byte-order mark included.
#include <optional>
#include <string>

#include "checks/check_context.h"
#include "formats/text_encoding.h"

namespace {

// The name of a section header that stands right behind a byte-order mark:
// the launcher does not see it as a header.
std::optional<std::string> HiddenHeader(std::string_view text) {
  if (!StartsWithByteOrderMark(text)) return std::nullopt;
  text.remove_prefix(kUtf8ByteOrderMark.size());
  const std::string_view line = text.substr(0, text.find_first_of("\r\n"));
  if (!line.starts_with("[")) return std::nullopt;
  const std::size_t close = line.find(']');
  if (close == std::string_view::npos) return std::nullopt;
  std::string_view name = line.substr(1, close - 1);
  while (!name.empty() && (name.front() == ' ' || name.front() == '\t')) name.remove_prefix(1);
  while (!name.empty() && (name.back() == ' ' || name.back() == '\t')) name.remove_suffix(1);
  return std::string(name);
}

// UTF-16, what Notepad calls "Unicode": every ASCII character is followed
// or preceded by a zero byte, and the launcher's reader stops at the first
// zero byte, so it reads at most a byte-order mark and one character.
bool LooksLikeUtf16(std::string_view text) {
  if (text.starts_with("\xFF\xFE") || text.starts_with("\xFE\xFF")) return true;
  return text.size() >= 2 && (text[0] == '\0') != (text[1] == '\0');
}

void CheckUtf8(const CheckContext& c) {
  const std::string& text = c.config.text;
  if (!UnconvertedUtf8(c)) return;
  const bool marked = StartsWithByteOrderMark(text);
  const int line = marked ? 1 : LineAt(text, FirstNonAscii(text));
  const std::string advice = c.skin.IsProgram() ? "pack the skin again with launcher-pack pack --from-utf8"
                                                : "pack it with --from-utf8, or save it as GBK";
  c.findings.Error(kConfigMember, line, "", "",
                   std::string("is UTF-8") + (marked ? " with a byte-order mark" : "") +
                       ", but the launcher reads GBK (code page 936), so its Chinese texts would show garbled; " +
                       advice);
}

void CheckKeysOutsideSections(const CheckContext& c) {
  for (const IniSectionLines& section : c.lines.Sections()) {
    if (section.line != 0 || section.keys.empty()) continue;
    c.findings.Warning(kConfigMember, section.keys.front().line, "", "",
                       "keys before the first section header belong to no section and are never read");
  }
}

}  // namespace

bool UnconvertedUtf8(const CheckContext& c) { return !c.options.convertedFromUtf8 && LooksLikeUtf8(c.config.text); }

bool CheckEncoding(const CheckContext& c) {
  if (LooksLikeUtf16(c.config.text)) {
    c.findings.Error(kConfigMember, 1, "", "",
                     "is UTF-16 (\"Unicode\" in Notepad), but the launcher reads GBK and stops at the first zero "
                     "byte, so it reads nothing of this file; save it as \"ANSI\" on a Chinese Windows (GBK), or as "
                     "UTF-8 and pack it with --from-utf8");
    return false;
  }
  CheckUtf8(c);
  const auto hidden = HiddenHeader(c.config.text);
  // Keys below a hidden header are outside any section too; the header's
  // finding says why.
  if (!hidden) {
    CheckKeysOutsideSections(c);
    return true;
  }
  c.findings.Error(kConfigMember, 1, GbkToUtf8(*hidden), "",
                   "this header is hidden by the UTF-8 byte-order mark before it: the launcher takes the line for "
                   "no header, so the keys below it up to the next header are never read");
  return true;
}
