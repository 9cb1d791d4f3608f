// The input is appended to a small PE image and read as the launcher reads
// its package: open, look members up, extract each whole and in pieces.
#include <cstdint>
#include <cstring>
#include <vector>

#include "package/attached_package.h"

namespace {

std::vector<std::uint8_t> PeImage() {
  std::vector<std::uint8_t> image(1024, 0);
  image[0] = 'M';
  image[1] = 'Z';
  image[0x3C] = 0x80;
  std::memcpy(&image[0x80], "PE\0\0", 4);
  image[0x80 + 6] = 1;  // one section, raw data 0x200..0x400
  const std::size_t header = 0x80 + 248;
  image[header + 17] = 0x02;  // raw size 0x200
  image[header + 21] = 0x02;  // raw offset 0x200
  return image;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const std::vector<std::uint8_t> image = PeImage();
  std::vector<std::uint8_t> file(image);
  file.insert(file.end(), data, data + size);

  AttachedPackage package;
  if (package.Open(file) != PackageOpenResult::kOpened) return 0;
  const std::vector<std::string> names = package.MemberNames();
  for (const std::string& name : names) {
    std::vector<char> content;
    package.ReadMember(name.c_str(), &content);
    int index = -1;
    std::uint32_t memberSize = 0;
    if (package.FindMember(name.c_str(), &index, &memberSize)) {
      char piece[7];
      for (int i = 0; i < 4 && package.ExtractMember(index, piece, sizeof piece) > 0; ++i) {
      }
    }
  }
  int index = -1;
  std::uint32_t memberSize = 0;
  package.FindMember("config/cg.txt", &index, &memberSize);
  return 0;
}
