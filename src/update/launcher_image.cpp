#include "update/launcher_image.h"

#include <vector>

#include "common/byte_order.h"
#include "package/attached_package.h"
#include "package/ini_document.h"
#include "package/launcher_config.h"

namespace {

// The machine the launcher itself is built for: x86 for the product; the
// 64-bit build that is tested where no 32-bit code runs takes its own kind.
#if defined(_WIN64)
constexpr std::uint16_t kLauncherMachine = 0x8664;
#else
constexpr std::uint16_t kLauncherMachine = 0x14C;
#endif

bool IsLauncherPeImage(std::span<const std::uint8_t> file) {
  if (file.size() < 0x40 || file[0] != 'M' || file[1] != 'Z') return false;
  const std::uint32_t ntHeaders = LittleEndian32(&file[0x3C]);
  if (ntHeaders > file.size() || file.size() - ntHeaders < 6) return false;
  return LittleEndian32(&file[ntHeaders]) == 0x00004550 &&  // "PE\0\0"
         LittleEndian16(&file[ntHeaders + 4]) == kLauncherMachine;
}

// The configuration file of a launcher image, or nothing.
std::optional<std::vector<char>> ImageConfigFile(std::span<const std::uint8_t> file) {
  if (!IsLauncherPeImage(file)) return std::nullopt;
  AttachedPackage package;
  if (package.Open(file) != PackageOpenResult::kOpened) return std::nullopt;
  std::vector<char> config;
  if (package.ReadMember("config/cg.txt", &config) != AttachedPackage::ReadResult::kRead) return std::nullopt;
  return config;
}

}  // namespace

bool IsLauncherImage(std::span<const std::uint8_t> file) { return ImageConfigFile(file).has_value(); }

std::optional<std::string> LauncherImageVersion(std::span<const std::uint8_t> file) {
  const auto text = ImageConfigFile(file);
  if (!text) return std::nullopt;
  IniDocument document;
  LauncherConfig config;
  if (!document.Load(text->data(), text->size()) || !BuildConfig(document, &config)) return std::nullopt;
  return config.version;
}
