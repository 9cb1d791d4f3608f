#include "checks/config_lines.h"

namespace {

char Lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

}  // namespace

bool SameName(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i)
    if (Lower(a[i]) != Lower(b[i])) return false;
  return true;
}

const IniSectionLines* ConfigLines::Section(std::string_view name) const {
  for (const IniSectionLines& section : sections_)
    if (SameName(section.name, name)) return &section;
  return nullptr;
}

const IniKeyLines* ConfigLines::Key(std::string_view section, std::string_view key) const {
  const IniSectionLines* found = Section(section);
  if (found == nullptr) return nullptr;
  for (const IniKeyLines& k : found->keys)
    if (SameName(k.name, key)) return &k;
  return nullptr;
}

int ConfigLines::ValueLine(std::string_view section, std::string_view key) const {
  const IniKeyLines* found = Key(section, key);
  return found == nullptr ? 0 : found->valueLine;
}

int ConfigLines::SectionLine(std::string_view section) const {
  const IniSectionLines* found = Section(section);
  return found == nullptr ? 0 : found->line;
}
