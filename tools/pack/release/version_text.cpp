#include "release/version_text.h"

#include <algorithm>

#include "formats/gbk_text.h"
#include "formats/printable.h"

namespace {

constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";

// The line for a message: GBK converted, control characters escaped, cut
// to what fits a line.
std::string Quoted(std::string_view text) {
  constexpr std::size_t kShown = 40;
  const bool cut = text.size() > kShown;
  return "\"" + Escaped(GbkToUtf8(text.substr(0, kShown))) + (cut ? "...\"" : "\"");
}

}  // namespace

std::string VersionText(const Version& version) {
  return std::to_string(version.major) + "." + std::to_string(version.minor);
}

bool IsPlainVersion(std::string_view text) {
  if (text.empty() || text.front() == '.' || text.back() == '.') return false;
  for (std::size_t i = 0; i < text.size(); ++i)
    if (!(text[i] >= '0' && text[i] <= '9') && !(text[i] == '.' && text[i + 1] != '.')) return false;
  return true;
}

std::optional<std::string> NotAVersionLine(std::string_view line) {
  // White space around the number is read over, as atoi reads it.
  std::string_view version = line.substr(0, line.find_last_not_of(" \t") + 1);
  version.remove_prefix(std::min(version.size(), version.find_first_not_of(" \t")));
  if (IsPlainVersion(version)) return std::nullopt;
  const std::string read = "the launcher reads it as " + VersionText(ParseVersion(line));
  if (version.empty()) return "is empty: " + read;
  if (line.starts_with(kUtf8Mark) || line.starts_with("\xFF\xFE") || line.starts_with("\xFE\xFF"))
    return "begins with a byte-order mark (as Notepad saves \"UTF-8\" or \"Unicode\"), before " +
           Quoted(line.substr(line.starts_with(kUtf8Mark) ? kUtf8Mark.size() : 2)) + ": " + read +
           "; save the file without one";
  if (version.starts_with('<'))
    return "is HTML, " + Quoted(version) + ", not the version file: the server answers its address with a page; " +
           read;
  return "is " + Quoted(version) + ", not numbers and dots such as 1.02: " + read;
}
