#include "common/paths.h"

std::optional<std::string> PathInDirectory(std::string_view directory, std::string_view name) {
  if (directory.size() + 1 + name.size() >= kMaxPath) return std::nullopt;
  std::string path(directory);
  path += '\\';
  path += name;
  return path;
}
