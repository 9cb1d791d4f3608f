// The names a configuration may use: its sections, numbered or not, and the
// keys of each, all taken from the launcher's key table; and the look-alikes
// of names it does not know.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

enum class SectionKind { kGlobal, kLink, kSprite, kGameButton, kMenu, kOther };

struct SectionName {
  SectionKind kind = SectionKind::kOther;
  int number = 0;        // N of a numbered section
  bool readable = true;  // false for a number the launcher never asks for ("link0", "link01")
};

// "global", "link3", "gamePic12" (ASCII case ignored); anything else is kOther.
SectionName ClassifySection(std::string_view name);

// BuildConfig reads at most this many sections of a kind, whatever the count.
inline constexpr int kMostSectionsRead = 1000;

// "link" for kLink: the key table's name of a numbered section.
const char* SectionPrefix(SectionKind kind);
// "[global] linkCount" and its kin: the key that counts a kind's sections.
const char* CountKey(SectionKind kind);
bool IsCountKey(std::string_view key);

// The keys the launcher reads in a section of the kind, spelled as in its table.
std::vector<std::string> KnownKeys(SectionKind kind);

// A name of `known` that `name` looks like a slip of the hand for: at most
// one edit away (two for names of six letters or more), where an edit adds,
// drops or changes a letter or swaps two neighbours; letter case is ignored.
std::optional<std::string> LookAlike(std::string_view name, const std::vector<std::string>& known);

// A name typed through a Chinese input method may hold its full-width space
// (GBK A1 A1), which the reader keeps as part of the name: "url　" is no url.
// The name without those spaces, GBK characters walked whole.
std::string WithoutFullWidthSpaces(std::string_view gbk);
