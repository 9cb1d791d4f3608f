// Conversions between GBK (code page 936, the launcher's texts) and UTF-8
// (the operator's terminal and editor). The system's own converter does the
// work: iconv on the build machine, the code page functions on Windows.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// Bytes that form no GBK character come out as U+FFFD.
std::string GbkToUtf8(std::string_view gbk);

struct GbkConversion {
  std::string text;
  // Where the input stops being convertible: the byte offset of the first
  // character that GBK lacks or of the first byte that is no UTF-8; npos
  // when the whole text converted.
  std::size_t failedAt = std::string_view::npos;
  bool Converted() const { return failedAt == std::string_view::npos; }
};
GbkConversion Utf8ToGbk(std::string_view utf8);
