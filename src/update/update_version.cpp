#include "update/update_version.h"

#include "common/text.h"

std::string_view VersionLine(std::string_view fileStart) {
  const std::string_view line = fileStart.substr(0, kVersionLineLimit);
  return line.substr(0, line.find_first_of("\r\n"));
}

Version ParseVersion(std::string_view text) {
  text = text.substr(0, text.find('\0'));
  std::int32_t numbers[2] = {0, 0};
  std::size_t found = 0;
  std::size_t pos = 0;
  while (found < 2) {
    pos = text.find_first_not_of('.', pos);
    if (pos == std::string_view::npos) break;
    const std::size_t end = text.find('.', pos);
    numbers[found++] = ParseDecimalInt(text.substr(pos, end - pos));
    pos = end;
  }
  return {numbers[0], numbers[1]};
}

bool IsNewerVersion(const Version& local, const Version& remote) {
  return remote.major > local.major || (remote.major == local.major && remote.minor > local.minor);
}
