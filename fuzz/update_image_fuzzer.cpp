// The input is a downloaded file, whole: what the update check reads of it
// before it may replace the running launcher (the program image's headers,
// the package appended to it, the configuration inside, the pictures the
// first window needs) and the version that configuration carries. Besides
// not crashing, the readings must agree, and the package that counts must
// be the last one appended.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "png_writer.h"
#include "update/launcher_image.h"
#include "zip_builder.h"

namespace {

void Require(bool condition) {
  if (!condition) std::abort();
}

constexpr char kAppendedVersion[] = "9.87";

// A whole skin as an operator appends it: configuration and login background.
const testkit::Bytes& AppendedPackage() {
  static const testkit::Bytes package = [] {
    const testkit::Bytes png = testkit::RgbaPng(2, 2, [](int, int) { return 0xFF336699u; });
    return testkit::ZipBuilder()
        .Add("config/cg.txt", testkit::MinimalConfig(std::string("version=") + kAppendedVersion + "\r\n"))
        .Add("config/main1.png", std::string(png.begin(), png.end()))
        .Build();
  }();
  return package;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::span<const std::uint8_t> file(data, size);
  const bool image = IsLauncherImage(file);
  const auto version = LauncherImageVersion(file);
  const LauncherImageCheck check = CheckLauncherImage(file);
  // A version is only ever read out of a launcher, and a launcher that
  // would start is one, with the version its own configuration gives.
  Require(!version || image);
  if (check.fault == LauncherImageFault::kNone) Require(image && version == check.version);
  if (!image) return 0;
  // Re-branded, the launcher carries the last package, whatever the earlier
  // ones hold, and starts with it.
  testkit::Bytes rebranded(data, data + size);
  rebranded.insert(rebranded.end(), AppendedPackage().begin(), AppendedPackage().end());
  const LauncherImageCheck again = CheckLauncherImage(rebranded);
  Require(again.fault == LauncherImageFault::kNone && again.version == kAppendedVersion);
  Require(LauncherImageVersion(rebranded) == std::optional<std::string>(kAppendedVersion));
  return 0;
}
