#include "branding/package_writer.h"

#include <span>

#include "package/image_end.h"

std::optional<std::uint64_t> ProgramImageEnd(std::string_view program) {
  if (!program.starts_with("MZ") || program.size() < 0x40) return std::nullopt;
  const auto byte = [&](std::size_t i) { return static_cast<std::uint32_t>(static_cast<unsigned char>(program[i])); };
  const std::uint64_t ntHeaders = byte(0x3C) | byte(0x3D) << 8 | byte(0x3E) << 16 | byte(0x3F) << 24;
  if (ntHeaders > program.size() - 4 || program.substr(ntHeaders, 4) != std::string_view("PE\0\0", 4))
    return std::nullopt;
  const auto end = FindImageEnd({reinterpret_cast<const std::uint8_t*>(program.data()), program.size()});
  if (!end || *end > program.size()) return std::nullopt;
  return end;
}

std::string AppendPackage(std::string_view program, std::uint64_t imageEnd, std::string_view zip, bool replace) {
  std::string branded(replace ? program.substr(0, imageEnd) : program);
  branded.append(zip);
  return branded;
}
