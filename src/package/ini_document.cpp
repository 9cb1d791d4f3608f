#include "package/ini_document.h"

// Debian's SimpleIni keeps its template bodies behind this switch.
#define SI_IMPLEMENTATION
#include <SimpleIni.h>

#include <algorithm>
#include <cstring>
#include <string>

#include "common/text.h"

struct IniDocument::Parser {
  CSimpleIniA ini{/*isUtf8=*/false, /*multiKey=*/false, /*multiLine=*/false};
  // Where the parser's own copy of the text begins, and where the lines of
  // the parsed text begin, so that a name or value it hands out can be placed
  // on its line of the file.
  const char* copy = nullptr;
  std::size_t copySize = 0;
  std::vector<std::size_t> lineStarts;
  int linesAdded = 0;  // blank lines put before the file's first line

  int LineOf(const char* piece) const;
};

IniDocument::IniDocument() : parser_(std::make_unique<Parser>()) {}
IniDocument::~IniDocument() = default;

namespace {

bool IsLineEnd(char c) { return c == '\r' || c == '\n'; }

// SimpleIni, given a line that opens a section name with "[" but never closes
// it, keeps a pointer to the unterminated name and files the entries that
// follow under a garbled section. Such a line is meant to be ignored, so it
// is made a comment before parsing.
void CommentOutUnclosedHeaders(std::string& text) {
  std::size_t pos = 0;
  while (pos < text.size()) {
    while (pos < text.size() && (text[pos] == ' ' || text[pos] == '\t' || IsLineEnd(text[pos]))) ++pos;
    std::size_t end = pos;
    while (end < text.size() && !IsLineEnd(text[end])) ++end;
    if (pos < end && text[pos] == '[' && text.find(']', pos) >= end) text[pos] = ';';
    pos = end;
  }
}

std::vector<std::size_t> LineStarts(const std::string& text) {
  std::vector<std::size_t> starts{0};
  for (std::size_t pos = 0; pos < text.size(); ++pos) {
    if (text[pos] == '\r' && pos + 1 < text.size() && text[pos + 1] == '\n') ++pos;  // CR LF is one line end
    if (IsLineEnd(text[pos])) starts.push_back(pos + 1);
  }
  return starts;
}

// A section name that occurs nowhere in the text: a run of control bytes one
// longer than any in it. No header of the file can name it.
std::string UnusedSectionName(const std::string& text) {
  std::size_t longest = 0, run = 0;
  for (char c : text) longest = std::max(longest, run = c == '\x01' ? run + 1 : 0);
  return std::string(longest + 1, '\x01');
}

}  // namespace

int IniDocument::Parser::LineOf(const char* piece) const {
  // The section of the entries before the first header is named by a
  // constant of the parser, which lies outside its copy.
  if (copy == nullptr || piece < copy || piece >= copy + copySize) return 0;
  const auto offset = static_cast<std::size_t>(piece - copy);
  const auto next = std::upper_bound(lineStarts.begin(), lineStarts.end(), offset);
  return static_cast<int>(next - lineStarts.begin()) - linesAdded;
}

bool IniDocument::Load(const char* bytes, std::size_t size) {
  // SimpleIni would take a leading UTF-8 byte-order mark as a switch to UTF-8
  // and drop it. Operators' files are GBK, and a mark before "[global]" must
  // leave that line an entry without "=", so the mark is moved off the first
  // byte by a blank line, which parses as nothing.
  static constexpr char kByteOrderMark[] = "\xEF\xBB\xBF";
  const std::size_t length = size == 0 ? 0 : ::strnlen(bytes, size);  // a zero byte ends the text
  const bool marked = length >= 3 && std::memcmp(bytes, kByteOrderMark, 3) == 0;
  std::string text;
  try {
    text.reserve(length + 1);
    text.append(marked ? "\n" : "").append(bytes, length);
  } catch (const std::bad_alloc&) {
    return false;
  }
  CommentOutUnclosedHeaders(text);

  // The parser copies the text and hands out pieces of its copy. A header of
  // our own at the end, which the file cannot contain, tells where that copy
  // lies; the header is removed again once parsed.
  const std::string marker = UnusedSectionName(text);
  const std::size_t markerOffset = text.size() + 2;
  try {
    parser_->lineStarts = LineStarts(text);
    text.append("\n[").append(marker).append("]");
  } catch (const std::bad_alloc&) {
    return false;
  }
  parser_->linesAdded = marked ? 1 : 0;
  if (parser_->ini.LoadData(text.data(), text.size()) < 0) return false;
  CSimpleIniA::TNamesDepend sections;
  parser_->ini.GetAllSections(sections);
  for (const CSimpleIniA::Entry& section : sections) {
    if (marker != section.pItem) continue;
    parser_->copy = section.pItem - markerOffset;
    parser_->copySize = text.size() + 1;
  }
  parser_->ini.Delete(marker.c_str(), nullptr);
  return true;
}

const char* IniDocument::GetString(const char* section, const char* key, const char* fallback) const {
  return parser_->ini.GetValue(section, key, fallback);
}

std::int32_t IniDocument::GetInt(const char* section, const char* key, std::int32_t fallback) const {
  const char* value = parser_->ini.GetValue(section, key, nullptr);
  return value == nullptr ? fallback : ParseDecimalInt(value);
}

std::vector<IniSectionLines> IniDocument::Outline() const {
  const CSimpleIniA& ini = parser_->ini;
  CSimpleIniA::TNamesDepend sections;
  ini.GetAllSections(sections);
  std::vector<IniSectionLines> outline;
  for (const CSimpleIniA::Entry& section : sections) {
    IniSectionLines lines{section.pItem, parser_->LineOf(section.pItem), {}};
    CSimpleIniA::TNamesDepend keys;
    ini.GetAllKeys(section.pItem, keys);
    for (const CSimpleIniA::Entry& key : keys) {
      const char* value = ini.GetValue(section.pItem, key.pItem, "");
      lines.keys.push_back({key.pItem, value, parser_->LineOf(key.pItem), parser_->LineOf(value)});
    }
    std::sort(lines.keys.begin(), lines.keys.end(),
              [](const IniKeyLines& a, const IniKeyLines& b) { return a.line < b.line; });
    outline.push_back(std::move(lines));
  }
  std::sort(outline.begin(), outline.end(),
            [](const IniSectionLines& a, const IniSectionLines& b) { return a.line < b.line; });
  return outline;
}
