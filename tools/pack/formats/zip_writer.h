// The package as the launcher reads it: a zip archive of the skin's files,
// member names with "/" between their parts, deflated, written by minizip.
#pragma once

#include <optional>
#include <string>
#include <vector>

struct SkinFile {
  std::string name;  // "config/cg.txt"
  std::string content;
};

// The archive's bytes; nothing when minizip fails. Members keep their order;
// their times are fixed, so the same files give the same bytes.
std::optional<std::string> BuildZip(const std::vector<SkinFile>& files);
