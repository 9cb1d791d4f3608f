#include "update/launcher_image.h"

#include <vector>

#include "common/byte_order.h"
#include "login/login_rules.h"
#include "package/attached_package.h"
#include "package/ini_document.h"
#include "package/launcher_config.h"
#include "package/picture_size.h"

namespace {

// The image's package, opened, and its configuration file read whole.
LauncherImageFault OpenImage(std::span<const std::uint8_t> file, std::uint16_t machine, AttachedPackage& package,
                             std::vector<char>& config) {
  if (ProgramMachine(file) != machine) return LauncherImageFault::kNotAProgram;
  if (package.Open(file) != PackageOpenResult::kOpened) return LauncherImageFault::kNoPackage;
  if (package.ReadMember("config/cg.txt", &config) != AttachedPackage::ReadResult::kRead)
    return LauncherImageFault::kNoConfiguration;
  return LauncherImageFault::kNone;
}

// The same, and the configuration model built from the file as start-up builds it.
LauncherImageFault ReadImage(std::span<const std::uint8_t> file, std::uint16_t machine, AttachedPackage& package,
                             LauncherConfig& config) {
  std::vector<char> text;
  if (const LauncherImageFault fault = OpenImage(file, machine, package, text); fault != LauncherImageFault::kNone)
    return fault;
  IniDocument document;
  if (!document.Load(text.data(), text.size()) || !BuildConfig(document, &config))
    return LauncherImageFault::kConfigurationRefused;
  return LauncherImageFault::kNone;
}

// A picture as the launcher's loaders take it: read whole out of the
// package, and announcing a size of at least one pixel within the limit
// the loaders keep to.
LauncherImageFault CheckPicture(AttachedPackage& package, const std::string& name) {
  std::vector<char> bytes;
  if (package.ReadMember(name.c_str(), &bytes) != AttachedPackage::ReadResult::kRead)
    return LauncherImageFault::kPictureMissing;
  const auto size = AnnouncedPictureSize({reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()});
  if (!size || size->Pixels() == 0 || size->Pixels() > kMaxPicturePixels) return LauncherImageFault::kPictureUnusable;
  return LauncherImageFault::kNone;
}

// The pictures start-up loads before the player has a window to use.
std::vector<std::string> StartPictures(const LauncherConfig& config) {
  std::vector<std::string> names{"config/main1.png"};
  if (config.firstUrl.size() > 2) {
    names.insert(names.end(), {"config/style.png", "config/logo.png"});
    return names;
  }
  for (const PlannedLink& link : PlanLinks(config.links)) {
    if (link.kind != LinkKind::kButton) continue;
    names.push_back(ButtonImageName(link.number, false));
    names.push_back(ButtonImageName(link.number, true));
  }
  return names;
}

}  // namespace

std::optional<std::uint16_t> ProgramMachine(std::span<const std::uint8_t> file) {
  if (file.size() < 0x40 || file[0] != 'M' || file[1] != 'Z') return std::nullopt;
  const std::uint32_t ntHeaders = LittleEndian32(&file[0x3C]);
  if (ntHeaders > file.size() || file.size() - ntHeaders < 6) return std::nullopt;
  if (LittleEndian32(&file[ntHeaders]) != 0x00004550) return std::nullopt;  // "PE\0\0"
  return LittleEndian16(&file[ntHeaders + 4]);
}

bool IsLauncherImage(std::span<const std::uint8_t> file, std::uint16_t machine) {
  AttachedPackage package;
  std::vector<char> config;
  return OpenImage(file, machine, package, config) == LauncherImageFault::kNone;
}

std::optional<std::string> LauncherImageVersion(std::span<const std::uint8_t> file, std::uint16_t machine) {
  AttachedPackage package;
  LauncherConfig config;
  if (ReadImage(file, machine, package, config) != LauncherImageFault::kNone) return std::nullopt;
  return config.version;
}

LauncherImageCheck CheckLauncherImage(std::span<const std::uint8_t> file, std::uint16_t machine) {
  LauncherImageCheck check;
  AttachedPackage package;
  LauncherConfig config;
  check.fault = ReadImage(file, machine, package, config);
  if (check.fault != LauncherImageFault::kNone) return check;
  check.version = config.version;
  check.updateKey = config.updateKey;
  for (const std::string& name : StartPictures(config)) {
    check.fault = CheckPicture(package, name);
    if (check.fault == LauncherImageFault::kNone) continue;
    check.picture = name;
    return check;
  }
  return check;
}
