// A small JSON writer: objects, arrays, strings (UTF-8, escaped), integers
// and truth values, indented two spaces.
#pragma once

#include <cstdint>
#include <ostream>
#include <string_view>
#include <vector>

class JsonWriter {
 public:
  explicit JsonWriter(std::ostream& out) : out_(out) {}
  ~JsonWriter() { out_ << '\n'; }

  void BeginObject() { Open('{'); }
  void EndObject() { Close('}'); }
  void BeginArray() { Open('['); }
  void EndArray() { Close(']'); }
  // Inside an object: the name of the value that follows.
  void Key(std::string_view name);
  void String(std::string_view utf8);
  void Number(std::int64_t value);
  void Bool(bool value);
  void Null();

 private:
  void BeforeValue();
  void Open(char bracket);
  void Close(char bracket);
  void Indent();

  std::ostream& out_;
  std::vector<bool> hasItems_;  // per open object or array
  bool afterKey_ = false;
};
