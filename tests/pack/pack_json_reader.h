// Reads JSON back for the tests of inspect --json: objects, arrays, strings
// (escapes and surrogate pairs to UTF-8), integers, truth values, null.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace packtest {

struct Json {
  enum class Type { kNull, kBool, kNumber, kString, kArray, kObject } type = Type::kNull;
  bool boolean = false;
  std::int64_t number = 0;
  std::string text;
  std::vector<Json> items;
  std::map<std::string, Json> fields;

  const Json& operator[](const std::string& key) const { return fields.at(key); }
  const Json& operator[](std::size_t index) const { return items.at(index); }
};

// The document, or nothing when it is not JSON as this reader knows it.
std::optional<Json> ParseJson(std::string_view text);

}  // namespace packtest
