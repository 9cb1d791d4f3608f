#include "package/ini_document.h"

// Debian's SimpleIni keeps its template bodies behind this switch.
#define SI_IMPLEMENTATION
#include <SimpleIni.h>

#include <cstring>
#include <string>

#include "common/text.h"

struct IniDocument::Parser {
  CSimpleIniA ini{/*isUtf8=*/false, /*multiKey=*/false, /*multiLine=*/false};
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

}  // namespace

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
  return parser_->ini.LoadData(text.data(), text.size()) >= 0;
}

const char* IniDocument::GetString(const char* section, const char* key, const char* fallback) const {
  return parser_->ini.GetValue(section, key, fallback);
}

std::int32_t IniDocument::GetInt(const char* section, const char* key, std::int32_t fallback) const {
  const char* value = parser_->ini.GetValue(section, key, nullptr);
  return value == nullptr ? fallback : ParseDecimalInt(value);
}
