// Builds zip archives and program files in memory for tests: stored and
// deflated members, duplicate names, comments, and the damaged shapes that
// the package reader must survive.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace testkit {

using Bytes = std::vector<std::uint8_t>;

struct ZipMember {
  std::string name;
  std::string content;
  bool deflate = true;
};

class ZipBuilder {
 public:
  ZipBuilder& Add(std::string name, std::string content, bool deflate = true);
  ZipBuilder& Comment(std::string comment);
  Bytes Build() const;

 private:
  std::vector<ZipMember> members_;
  std::string comment_;
};

// A minimal 32-bit PE image of `sections` sections whose last section's raw
// data ends at `imageEnd` (the image is padded to that size). With
// `marked`, its first section is the launcher's mark (launcher_mark.h), as
// in the launcher's own image; an image without it is some other program.
Bytes MakePeImage(std::uint32_t imageEnd = 1024, std::uint16_t sections = 2, bool marked = true);

Bytes Concat(std::initializer_list<Bytes> parts);
Bytes ToBytes(const std::string& text);

// A configuration file text with one login area (about:blank), a game header
// no test page uses, and the given extra [global] lines.
std::string MinimalConfig(const std::string& extraGlobalLines = "");

}  // namespace testkit
