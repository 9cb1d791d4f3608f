#include "pack_json_reader.h"

#include <cctype>

namespace packtest {
namespace {

class Parser {
 public:
  explicit Parser(std::string_view text) : text_(text) {}

  std::optional<Json> Document() {
    Json value;
    if (!Value(&value)) return std::nullopt;
    Space();
    return pos_ == text_.size() ? std::optional<Json>(std::move(value)) : std::nullopt;
  }

 private:
  void Space() {
    while (pos_ < text_.size() && std::isspace(static_cast<unsigned char>(text_[pos_]))) ++pos_;
  }
  bool Take(char c) {
    Space();
    if (pos_ >= text_.size() || text_[pos_] != c) return false;
    ++pos_;
    return true;
  }
  bool Word(std::string_view word) {
    if (text_.substr(pos_, word.size()) != word) return false;
    pos_ += word.size();
    return true;
  }

  bool Value(Json* value) {
    Space();
    if (pos_ >= text_.size()) return false;
    const char c = text_[pos_];
    if (c == '{') return Object(value);
    if (c == '[') return Array(value);
    if (c == '"') {
      value->type = Json::Type::kString;
      return String(&value->text);
    }
    for (const bool truth : {true, false})
      if (Word(truth ? "true" : "false")) {
        value->type = Json::Type::kBool;
        value->boolean = truth;
        return true;
      }
    if (Word("null")) return true;
    return Number(value);
  }

  bool Number(Json* value) {
    const std::size_t start = pos_;
    if (pos_ < text_.size() && text_[pos_] == '-') ++pos_;
    while (pos_ < text_.size() && std::isdigit(static_cast<unsigned char>(text_[pos_]))) ++pos_;
    if (pos_ == start || (pos_ == start + 1 && text_[start] == '-')) return false;
    value->type = Json::Type::kNumber;
    value->number = std::stoll(std::string(text_.substr(start, pos_ - start)));
    return true;
  }

  bool Object(Json* value) {
    value->type = Json::Type::kObject;
    ++pos_;
    if (Take('}')) return true;
    do {
      std::string key;
      Space();
      if (!String(&key) || !Take(':') || !Value(&value->fields[key])) return false;
    } while (Take(','));
    return Take('}');
  }

  bool Array(Json* value) {
    value->type = Json::Type::kArray;
    ++pos_;
    if (Take(']')) return true;
    do {
      value->items.emplace_back();
      if (!Value(&value->items.back())) return false;
    } while (Take(','));
    return Take(']');
  }

  static void PutUtf8(std::string* out, std::uint32_t point) {
    if (point < 0x80) {
      out->push_back(static_cast<char>(point));
    } else if (point < 0x800) {
      out->push_back(static_cast<char>(0xC0 | point >> 6));
      out->push_back(static_cast<char>(0x80 | (point & 0x3F)));
    } else if (point < 0x10000) {
      out->push_back(static_cast<char>(0xE0 | point >> 12));
      out->push_back(static_cast<char>(0x80 | (point >> 6 & 0x3F)));
      out->push_back(static_cast<char>(0x80 | (point & 0x3F)));
    } else {
      out->push_back(static_cast<char>(0xF0 | point >> 18));
      out->push_back(static_cast<char>(0x80 | (point >> 12 & 0x3F)));
      out->push_back(static_cast<char>(0x80 | (point >> 6 & 0x3F)));
      out->push_back(static_cast<char>(0x80 | (point & 0x3F)));
    }
  }

  bool Hex4(std::uint32_t* unit) {
    if (pos_ + 4 > text_.size()) return false;
    *unit = static_cast<std::uint32_t>(std::stoul(std::string(text_.substr(pos_, 4)), nullptr, 16));
    pos_ += 4;
    return true;
  }

  bool String(std::string* out) {
    if (pos_ >= text_.size() || text_[pos_] != '"') return false;
    ++pos_;
    while (pos_ < text_.size() && text_[pos_] != '"') {
      const char c = text_[pos_++];
      if (static_cast<unsigned char>(c) < 0x20) return false;
      if (c != '\\') {
        out->push_back(c);
        continue;
      }
      if (pos_ >= text_.size()) return false;
      const char e = text_[pos_++];
      const std::string_view simple = "\"\\/bfnrt", meaning = "\"\\/\b\f\n\r\t";
      if (const std::size_t i = simple.find(e); i != std::string_view::npos) {
        out->push_back(meaning[i]);
        continue;
      }
      std::uint32_t unit = 0, low = 0;
      if (e != 'u' || !Hex4(&unit)) return false;
      if (unit >= 0xD800 && unit < 0xDC00) {
        if (!Word("\\u") || !Hex4(&low)) return false;
        unit = 0x10000 + ((unit - 0xD800) << 10) + (low - 0xDC00);
      }
      PutUtf8(out, unit);
    }
    return Take('"');
  }

  std::string_view text_;
  std::size_t pos_ = 0;
};

}  // namespace

std::optional<Json> ParseJson(std::string_view text) { return Parser(text).Document(); }

}  // namespace packtest
