#include "common/text_encoding.h"

#include "common/web_address.h"

namespace {

// `lower` is given in lower case.
bool IsNoCase(std::string_view value, std::string_view lower) {
  return value.size() == lower.size() && StartsWithNoCase(value, lower);
}

}  // namespace

std::optional<TextEncoding> ParseTextEncoding(std::string_view value) {
  if (value.empty() || IsNoCase(value, "gbk")) return TextEncoding::kGbk;
  if (IsNoCase(value, "utf-8")) return TextEncoding::kUtf8;
  return std::nullopt;
}

TextEncoding TextEncodingOf(std::string_view value) { return ParseTextEncoding(value).value_or(TextEncoding::kGbk); }
