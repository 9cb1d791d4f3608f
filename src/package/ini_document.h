// The configuration file as the launcher reads it: INI text in the ANSI code
// page, parsed by SimpleIni with its narrow form, no conversion, one value per
// key and no multi-line values.
//
// Format: a zero byte ends the text. Lines end with CR LF, LF or CR. Lines
// starting with ";" or "#" (after white space) are comments. "[name]" opens a
// section (name trimmed; the rest of the line ignored; no "]" means the line
// is ignored). Any other line with "=" is an entry: key before the first "=",
// trailing white space trimmed; value after it, trimmed at both ends. There
// are no inline comments, quotes or escapes. A repeated key replaces the
// earlier value; a repeated section merges. Names compare ignoring ASCII case.
// A UTF-8 byte-order mark is not recognised: a "[global]" behind one is not a
// section header.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string_view>
#include <vector>

// A key as the parser filed it, for tools that report on a file by its lines.
// Lines count from 1 as an editor shows them; 0 means "not on a line" (the
// section of the entries before the first header).
struct IniKeyLines {
  std::string_view name;   // as written where the key first occurs
  std::string_view value;  // the value in effect: that of the key's last occurrence
  int line = 0;            // the key's first occurrence
  int valueLine = 0;       // the occurrence whose value is in effect
};
struct IniSectionLines {
  std::string_view name;          // as written in its first header
  int line = 0;                   // that header's line
  std::vector<IniKeyLines> keys;  // in the order of their lines
};

class IniDocument {
 public:
  IniDocument();
  ~IniDocument();
  IniDocument(const IniDocument&) = delete;
  IniDocument& operator=(const IniDocument&) = delete;

  // Copies the bytes and parses the copy. False only when memory runs out.
  bool Load(const char* bytes, std::size_t size);

  // The value, or `fallback` when the section or key does not exist. The
  // result lives as long as the document.
  const char* GetString(const char* section, const char* key, const char* fallback) const;

  // The value read as a decimal integer (empty or not a number gives 0), or
  // `fallback` when the section or key does not exist.
  std::int32_t GetInt(const char* section, const char* key, std::int32_t fallback) const;

  // Every section with its keys, in the order of their lines, exactly as the
  // lookups see them (repeated sections merged, repeated keys replaced). The
  // views live as long as the document.
  std::vector<IniSectionLines> Outline() const;

 private:
  struct Parser;
  std::unique_ptr<Parser> parser_;
};
