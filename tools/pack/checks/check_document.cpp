// The configuration as written: sections the launcher never reads, keys it
// does not know, keys given twice, values it reads otherwise than meant.
#include <algorithm>
#include <array>
#include <optional>
#include <string>

#include "checks/check_context.h"
#include "checks/config_names.h"
#include "common/text.h"
#include "formats/gbk_text.h"
#include "package/launcher_config.h"
#include "skins/tamed_config.h"

namespace {

const KeyInfo* FindKey(SectionKind kind, std::string_view key) {
  for (const KeyInfo& info : ConfigKeys())
    if (std::string_view(info.section) == SectionPrefix(kind) && SameName(info.key, key)) return &info;
  return nullptr;
}

std::size_t ListLength(const LauncherConfig& model, SectionKind kind) {
  switch (kind) {
    case SectionKind::kLink: return model.links.size();
    case SectionKind::kSprite: return model.sprites.size();
    case SectionKind::kGameButton: return model.gameButtons.size();
    case SectionKind::kMenu: return model.menuItems.size();
    default: return 0;
  }
}

void UnknownSection(const CheckContext& c, const IniSectionLines& section, const std::string& shown) {
  std::string_view base = section.name;
  while (!base.empty() && base.back() >= '0' && base.back() <= '9') base.remove_suffix(1);
  const std::string number(section.name.substr(base.size()));
  std::vector<std::string> known{"global"};
  for (SectionKind kind : {SectionKind::kLink, SectionKind::kSprite, SectionKind::kGameButton, SectionKind::kMenu})
    known.emplace_back(SectionPrefix(kind));
  // "[link]" without its number is as unreadable as a misspelt name.
  std::optional<std::string> meant;
  for (const std::string& k : known)
    if (SameName(base, k)) meant = k;
  if (!meant) meant = LookAlike(base, known);
  if (!meant) return;  // a section of the operator's own; the launcher ignores it
  const std::string suggestion = *meant == "global" ? *meant : *meant + (number.empty() ? "1" : number);
  c.findings.Warning(kConfigMember, section.line, shown, "", "never read; did you mean [" + suggestion + "]?");
}

// Whether the launcher reads the numbered section at all.
bool SectionIsRead(const CheckContext& c, const SectionName& name, const IniSectionLines& section,
                   const std::string& shown) {
  if (name.kind == SectionKind::kGlobal) return true;
  if (!name.readable) {
    c.findings.Warning(kConfigMember, section.line, shown, "",
                       "never read: the launcher numbers sections from 1, without leading zeros");
    return false;
  }
  // A rejected configuration has no lists; its linkCount finding says so.
  if (!c.config.accepted || static_cast<std::size_t>(name.number) <= ListLength(c.config.model, name.kind)) return true;
  const char* count = CountKey(name.kind);
  const IniKeyLines* countKey = c.lines.Key("global", count);
  c.findings.Warning(kConfigMember, section.line, shown, "",
                     std::string("never read: [global] ") + count +
                         (countKey ? " is " + Quoted(countKey->value) : std::string(" is missing, so it counts 0")));
  return false;
}

// Numbers the launcher reads as they are, but that no skin means.
void CheckRange(const CheckContext& c, const std::string& section, const IniKeyLines& key, const KeyInfo& info) {
  const std::int32_t number = ParseDecimalInt(key.value);
  const std::string where(key.name);
  if (IsCountKey(key.name) && number > kMostSectionsRead)
    c.findings.Warning(kConfigMember, key.valueLine, section, where,
                       "is " + std::to_string(number) + ": the launcher reads at most " +
                           std::to_string(kMostSectionsRead) + " sections of a kind");
  else if (info.kind == KeyKind::kInteger && !IsCountKey(key.name) && IsFarBeyondAnyScreen(number))
    c.findings.Warning(kConfigMember, key.valueLine, section, where,
                       "is " + std::to_string(number) +
                           ", far beyond any screen: the launcher's sums with it overflow, and what it then shows is "
                           "anyone's guess");
}

// Red, green and blue written as three numbers ("255,216,107", as a
// picture editor shows them), each 0 to 255.
std::optional<std::array<long, 3>> ColourParts(std::string_view value) {
  std::array<long, 3> parts{};
  std::size_t at = 0;
  for (std::size_t i = 0; i < 3; ++i) {
    at = value.find_first_not_of(" \t", at);
    const std::size_t end = std::min(value.find_first_not_of("0123456789", at), value.size());
    if (at == std::string_view::npos || end == at || end - at > 3) return std::nullopt;
    parts[i] = std::stol(std::string(value.substr(at, end - at)));
    if (parts[i] > 255) return std::nullopt;
    at = value.find_first_not_of(" \t", end);
    if (i < 2 && (at == std::string_view::npos || value[at] != ',')) return std::nullopt;
    if (i < 2) ++at;
  }
  if (at != std::string_view::npos) return std::nullopt;
  return parts;
}

void CheckNumber(const CheckContext& c, const std::string& section, const IniKeyLines& key, const KeyInfo& info) {
  std::string_view value = key.value;
  const std::string where = std::string(key.name);
  if (info.kind == KeyKind::kColour && (value.starts_with("#") || value.starts_with("0x") || value.starts_with("0X"))) {
    c.findings.Warning(kConfigMember, key.valueLine, section, where,
                       "is " + Quoted(value) +
                           ", but colours are decimal numbers, red + 256 × green + 65536 × blue (white is 16777215): "
                           "the launcher reads " +
                           std::to_string(ParseDecimalInt(value)));
    return;
  }
  if (const auto parts = ColourParts(value); info.kind == KeyKind::kColour && parts) {
    c.findings.Warning(kConfigMember, key.valueLine, section, where,
                       "is " + Quoted(value) + ": the launcher reads " + std::to_string(ParseDecimalInt(value)) +
                           " (red alone), since a colour is one number, red + 256 × green + 65536 × blue; for these "
                           "three write " +
                           std::to_string((*parts)[0] + 256 * (*parts)[1] + 65536 * (*parts)[2]));
    return;
  }
  std::size_t pos = value.find_first_not_of(" \t");
  if (pos != std::string_view::npos && (value[pos] == '+' || value[pos] == '-')) ++pos;
  if (pos < value.size() && value[pos] >= '0' && value[pos] <= '9') {
    CheckRange(c, section, key, info);
    return;
  }
  const std::string fallback =
      info.defaultNumber != 0 ? ", not the default " + std::to_string(info.defaultNumber) : std::string();
  c.findings.Warning(kConfigMember, key.valueLine, section, where,
                     (value.empty() ? std::string("is empty") : "is " + Quoted(value) + ", not a number") +
                         ": the launcher reads 0" + fallback);
}

// The reader knows no comment after a value: "server=127.0.0.1 ; host" is a
// host named "127.0.0.1 ; host". Only a comment's usual look counts, the
// mark after white space; "a;b" in an address is meant.
void CheckTrailingComment(const CheckContext& c, const std::string& section, const IniKeyLines& key) {
  const std::size_t mark = key.value.find_first_of(";#");
  if (mark == std::string_view::npos || mark == 0 || (key.value[mark - 1] != ' ' && key.value[mark - 1] != '\t'))
    return;
  std::string_view meant = key.value.substr(0, mark);
  while (!meant.empty() && (meant.back() == ' ' || meant.back() == '\t')) meant.remove_suffix(1);
  c.findings.Warning(kConfigMember, key.valueLine, section, GbkToUtf8(key.name),
                     "is " + Quoted(key.value) + ": the launcher knows no comments after a value and keeps the \"" +
                         key.value[mark] + "\" and what follows as part of it, not " + Quoted(meant) +
                         "; put the comment on a line of its own");
}

void CheckText(const CheckContext& c, const std::string& section, const IniKeyLines& key, const KeyInfo& info) {
  CheckTrailingComment(c, section, key);
  // A UTF-8 file's byte counts are not the launcher's: its encoding finding says what to do first.
  if (UnconvertedUtf8(c)) return;
  if (key.value.size() < static_cast<std::size_t>(info.width)) return;
  c.findings.Warning(kConfigMember, key.valueLine, section, std::string(key.name),
                     "is " + std::to_string(key.value.size()) + " bytes long, but its field holds " +
                         std::to_string(info.width - 1) + ": the launcher keeps " +
                         Quoted(CutToField(key.value, static_cast<std::size_t>(info.width))));
}

// "[gamebuttonN] and [menuN]": the sections whose keys include `key`.
std::string SectionsHolding(std::string_view key) {
  std::vector<std::string> holders;
  for (SectionKind kind :
       {SectionKind::kGlobal, SectionKind::kLink, SectionKind::kSprite, SectionKind::kGameButton, SectionKind::kMenu})
    if (FindKey(kind, key) != nullptr)
      holders.push_back(std::string("[") + SectionPrefix(kind) + (kind == SectionKind::kGlobal ? "]" : "N]"));
  std::string text;
  for (std::size_t i = 0; i < holders.size(); ++i)
    text += (i == 0 ? "" : i + 1 == holders.size() ? " and " : ", ") + holders[i];
  return text;
}

// A key given twice because a header between its two lines was ignored: the
// header is the mistake, and the finding points at it.
std::string BrokenHeaderBetween(const CheckContext& c, const IniKeyLines& key) {
  for (const int line : BrokenHeaderLines(c.config.text))
    if (line > key.line && line < key.valueLine)
      return "; the section header on line " + std::to_string(line) +
             " is ignored, so this key is still in this "
             "section";
  return "";
}

void CheckKey(const CheckContext& c, SectionKind kind, const std::string& section, const IniKeyLines& key) {
  const KeyInfo* info = FindKey(kind, key.name);
  const std::string name = GbkToUtf8(key.name);
  if (info == nullptr) {
    if (const std::string meant = WithoutFullWidthSpaces(key.name);
        meant != key.name && FindKey(kind, meant) != nullptr) {
      c.findings.Warning(
          kConfigMember, key.line, section, name,
          "the name holds a full-width space (\"　\"), so the launcher reads a key of this name and not " +
              GbkToUtf8(meant) + ": delete the space, or type it again as an ordinary one");
      return;
    }
    if (const std::string elsewhere = SectionsHolding(key.name); !elsewhere.empty()) {
      c.findings.Warning(kConfigMember, key.line, section, name,
                         "is a key of " + elsewhere + ", not of [" + SectionPrefix(kind) +
                             (kind == SectionKind::kGlobal ? "" : "N") + "]: the launcher ignores it here");
      return;
    }
    const auto alike = LookAlike(key.name, KnownKeys(kind));
    if (!alike) return;
    const std::string spelling =
        *alike == "notityTitle" ? " (the launcher's key is spelled with \"ty\": notityTitle)" : std::string();
    c.findings.Warning(kConfigMember, key.line, section, name,
                       "unknown key, which the launcher ignores; did you mean " + *alike + "?" + spelling);
    return;
  }
  if (key.valueLine != key.line)
    c.findings.Warning(kConfigMember, key.valueLine, section, name,
                       "given more than once (first on line " + std::to_string(key.line) +
                           "): the launcher takes the value on this line" + BrokenHeaderBetween(c, key));
  if (info->kind == KeyKind::kText)
    CheckText(c, section, key, *info);
  else
    CheckNumber(c, section, key, *info);
}

}  // namespace

void CheckDocument(const CheckContext& c) {
  for (const IniSectionLines& section : c.lines.Sections()) {
    if (section.line == 0) continue;  // entries before any header: see the encoding checks
    const SectionName name = ClassifySection(section.name);
    const std::string shown = GbkToUtf8(section.name);
    if (name.kind == SectionKind::kOther) {
      UnknownSection(c, section, shown);
      continue;
    }
    if (!SectionIsRead(c, name, section, shown)) continue;
    for (const IniKeyLines& key : section.keys) CheckKey(c, name.kind, shown, key);
  }
}
