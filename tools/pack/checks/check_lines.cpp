// Lines of the configuration that the launcher reads as neither an entry nor
// a section header, and so skips without a word. Operators meet this most
// often through a Chinese input method, whose full-width "＝", "：" and
// "【】" look like the ASCII ones, and through a header whose "]" is missing,
// which leaves the keys below it in the section before.
#include <string>
#include <vector>

#include "checks/check_context.h"
#include "formats/gbk_text.h"
#include "formats/text_encoding.h"

namespace {

bool IsSpace(char c) { return c == ' ' || c == '\t'; }
bool IsLeadByte(unsigned char c) { return c >= 0x81 && c <= 0xFE; }

// Full-width characters an input method types in place of ASCII ones, in GBK.
struct FullWidth {
  std::string_view gbk;
  const char* shown;
  const char* ascii;
};
constexpr FullWidth kFullWidth[] = {
    {"\xA3\xBD", "＝", "="}, {"\xA3\xBA", "：", "="}, {"\xA1\xBE", "【", "["},
    {"\xA1\xBF", "】", "]"}, {"\xA3\xDB", "［", "["}, {"\xA3\xDD", "］", "]"},
};

// The first full-width look-alike on the line, walking GBK characters whole
// so that a trail byte is never taken for the start of one.
const FullWidth* FirstFullWidth(std::string_view line) {
  for (std::size_t i = 0; i < line.size(); ++i) {
    if (!IsLeadByte(static_cast<unsigned char>(line[i])) || i + 1 >= line.size()) continue;
    for (const FullWidth& f : kFullWidth)
      if (line.substr(i, 2) == f.gbk) return &f;
    ++i;
  }
  return nullptr;
}

// "【link2】": a header typed with the input method's brackets; no "=" in it.
bool IsFullWidthHeader(std::string_view line) {
  const FullWidth* f = FirstFullWidth(line.substr(0, 2));
  return f != nullptr && std::string_view(f->ascii) == "[" && line.find('=') == std::string_view::npos;
}

struct Line {
  std::string_view text;  // without its line end and leading white space
  int number = 0;
};

// The lines as the reader splits them: CR LF, LF or CR end one; a zero byte
// ends the text.
std::vector<Line> SplitLines(std::string_view text) {
  text = text.substr(0, text.find('\0'));
  std::vector<Line> lines;
  int number = 1;
  std::size_t start = 0;
  while (start <= text.size()) {
    std::size_t end = text.find_first_of("\r\n", start);
    if (end == std::string_view::npos) end = text.size();
    std::string_view line = text.substr(start, end - start);
    while (!line.empty() && IsSpace(line.front())) line.remove_prefix(1);
    lines.push_back({line, number++});
    if (end == text.size()) break;
    start = end + (text.substr(end, 2) == "\r\n" ? 2 : 1);
  }
  return lines;
}

std::string HeaderName(std::string_view line) {
  std::string_view name = line.substr(1, line.find(']') - 1);
  while (!name.empty() && IsSpace(name.front())) name.remove_prefix(1);
  while (!name.empty() && IsSpace(name.back())) name.remove_suffix(1);
  return GbkToUtf8(name);
}

std::string WhyIgnored(std::string_view line) {
  if (const FullWidth* f = FirstFullWidth(line))
    return std::string("this line uses the full-width \"") + f->shown +
           "\" of a Chinese input method where the launcher needs \"" + f->ascii +
           "\": it takes the line for neither a key=value entry nor a section header and ignores it";
  if (line.front() == '=') return "this line has no key before its \"=\": the launcher ignores the line";
  return "this line is neither a key=value entry nor a section header: the launcher ignores it";
}

}  // namespace

std::vector<int> BrokenHeaderLines(std::string_view text) {
  std::vector<int> broken;
  for (const Line& line : SplitLines(text)) {
    const bool unclosed = line.text.starts_with("[") && line.text.find(']') == std::string_view::npos;
    if (unclosed || IsFullWidthHeader(line.text)) broken.push_back(line.number);
  }
  return broken;
}

void CheckLines(const CheckContext& c) {
  std::string section;  // the section the lines fall into, for the findings' place
  for (const Line& line : SplitLines(c.config.text)) {
    std::string_view text = line.text;
    // A byte-order mark before the first line is the encoding check's finding.
    if (line.number == 1 && StartsWithByteOrderMark(text)) continue;
    if (text.empty() || text.front() == ';' || text.front() == '#') continue;
    if (text.front() == '[') {
      if (text.find(']') != std::string_view::npos) {
        section = HeaderName(text);
        continue;
      }
      c.findings.Cause(kConfigMember, line.number, section,
                       "this section header has no \"]\": the launcher ignores the line, so the keys below it "
                       "stay in " +
                           (section.empty() ? std::string("no section") : "[" + section + "]") + "; end it with \"]\"");
      continue;
    }
    if (text.find('=') != std::string_view::npos && text.front() != '=') continue;  // an entry
    // A header typed in full-width brackets misplaces the keys below it, as one without "]" does.
    if (IsFullWidthHeader(text))
      c.findings.Cause(kConfigMember, line.number, section, WhyIgnored(text));
    else
      c.findings.Warning(kConfigMember, line.number, section, "", WhyIgnored(text));
  }
}
