// The configuration keys for operators: the launcher's own key table (kinds,
// widths, defaults) with a line on what each key does.
#pragma once

#include <span>
#include <string>

struct KeyMeaning {
  const char* section;  // as in the key table: "global", "link", ...
  const char* key;
  const char* meaning;
};
std::span<const KeyMeaning> KeyMeanings();

// A Markdown table of every key: section, key, kind, default, meaning.
std::string KeyTableMarkdown();
