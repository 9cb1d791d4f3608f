#include "checks/config_names.h"

#include <algorithm>
#include <cctype>

#include "checks/config_lines.h"
#include "common/text.h"
#include "package/launcher_config.h"

namespace {

struct KindName {
  SectionKind kind;
  const char* prefix;
  const char* countKey;
};
constexpr KindName kNumbered[] = {
    {SectionKind::kLink, "link", "linkCount"},
    {SectionKind::kSprite, "gamePic", "picCount"},
    {SectionKind::kGameButton, "gamebutton", "gameButtonCount"},
    {SectionKind::kMenu, "menu", "menuCount"},
};

char Lower(char c) { return static_cast<char>(std::tolower(static_cast<unsigned char>(c))); }

// Edits between two names (optimal string alignment distance), case ignored.
std::size_t EditDistance(std::string_view a, std::string_view b) {
  std::vector<std::vector<std::size_t>> d(a.size() + 1, std::vector<std::size_t>(b.size() + 1));
  for (std::size_t i = 0; i <= a.size(); ++i) d[i][0] = i;
  for (std::size_t j = 0; j <= b.size(); ++j) d[0][j] = j;
  for (std::size_t i = 1; i <= a.size(); ++i)
    for (std::size_t j = 1; j <= b.size(); ++j) {
      const std::size_t cost = Lower(a[i - 1]) == Lower(b[j - 1]) ? 0 : 1;
      d[i][j] = std::min({d[i - 1][j] + 1, d[i][j - 1] + 1, d[i - 1][j - 1] + cost});
      if (i > 1 && j > 1 && Lower(a[i - 1]) == Lower(b[j - 2]) && Lower(a[i - 2]) == Lower(b[j - 1]))
        d[i][j] = std::min(d[i][j], d[i - 2][j - 2] + 1);
    }
  return d[a.size()][b.size()];
}

}  // namespace

SectionName ClassifySection(std::string_view name) {
  if (SameName(name, "global")) return {SectionKind::kGlobal, 0, true};
  std::size_t digits = name.size();
  while (digits > 0 && std::isdigit(static_cast<unsigned char>(name[digits - 1]))) --digits;
  if (digits == name.size() || name.size() - digits > 9) return {};
  const std::string_view prefix = name.substr(0, digits), number = name.substr(digits);
  for (const KindName& kind : kNumbered) {
    if (!SameName(prefix, kind.prefix)) continue;
    const int n = std::stoi(std::string(number));
    return {kind.kind, n, n >= 1 && number[0] != '0'};
  }
  return {};
}

const char* SectionPrefix(SectionKind kind) {
  for (const KindName& k : kNumbered)
    if (k.kind == kind) return k.prefix;
  return kind == SectionKind::kGlobal ? "global" : "";
}

const char* CountKey(SectionKind kind) {
  for (const KindName& k : kNumbered)
    if (k.kind == kind) return k.countKey;
  return "";
}

bool IsCountKey(std::string_view key) {
  for (const KindName& k : kNumbered)
    if (SameName(key, k.countKey)) return true;
  return false;
}

std::vector<std::string> KnownKeys(SectionKind kind) {
  std::vector<std::string> keys;
  for (const KeyInfo& info : ConfigKeys())
    if (std::string_view(info.section) == SectionPrefix(kind)) keys.emplace_back(info.key);
  return keys;
}

std::optional<std::string> LookAlike(std::string_view name, const std::vector<std::string>& known) {
  const std::size_t allowed = name.size() >= 6 ? 2 : name.size() >= 3 ? 1 : 0;
  std::optional<std::string> best;
  std::size_t bestDistance = allowed + 1;
  for (const std::string& candidate : known) {
    const std::size_t distance = EditDistance(name, candidate);
    if (distance == 0) return std::nullopt;  // not unknown at all
    if (distance < bestDistance) {
      bestDistance = distance;
      best = candidate;
    }
  }
  return best;
}

std::string WithoutFullWidthSpaces(std::string_view gbk) {
  std::string kept;
  for (std::size_t i = 0; i < gbk.size(); ++i) {
    const bool pair = IsGbkLeadByte(static_cast<unsigned char>(gbk[i])) && i + 1 < gbk.size();
    if (pair && gbk.substr(i, 2) == "\xA1\xA1") {
      ++i;
      continue;
    }
    kept += gbk[i];
    if (pair) kept += gbk[++i];
  }
  return kept;
}
