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

 private:
  struct Parser;
  std::unique_ptr<Parser> parser_;
};
