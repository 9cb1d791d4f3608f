// The configuration's sections and keys with their lines, looked up by name
// as the launcher looks them up (ASCII letters without regard to case).
#pragma once

#include <string_view>
#include <vector>

#include "package/ini_document.h"

bool SameName(std::string_view a, std::string_view b);

class ConfigLines {
 public:
  explicit ConfigLines(const IniDocument& document) : sections_(document.Outline()) {}

  const std::vector<IniSectionLines>& Sections() const { return sections_; }
  const IniSectionLines* Section(std::string_view name) const;
  const IniKeyLines* Key(std::string_view section, std::string_view key) const;
  // The line of the value in effect, or 0 when the key is absent.
  int ValueLine(std::string_view section, std::string_view key) const;
  // The section's header line, or 0.
  int SectionLine(std::string_view section) const;

 private:
  std::vector<IniSectionLines> sections_;
};
