#include "commands/branding_options.h"

#include <algorithm>

#include "formats/file_io.h"
#include "formats/gbk_text.h"
#include "formats/text_encoding.h"
#include "update/update_version.h"

namespace {

// Explorer shows a line of each; nothing longer is meant.
constexpr std::size_t kMaxTextBytes = 256;

std::optional<std::string> Text(const std::string& given) {
  if (IsUtf8(given)) return given;
  std::string converted = GbkToUtf8(given);
  if (converted.find("\xEF\xBF\xBD") != std::string::npos) return std::nullopt;  // U+FFFD: no GBK either
  return converted;
}

std::optional<VersionInfo> ReadVersion(const CommandLine& line, std::string* error) {
  VersionInfo info;
  std::optional<std::string> fileVersion, productVersion;
  for (const auto& [key, given] : line.versionTexts) {
    const auto text = Text(given);
    if (!text || text->size() > kMaxTextBytes) {
      *error = key + ": \"" + GbkToUtf8(given) + "\" is " +
               (text ? "longer than " + std::to_string(kMaxTextBytes) + " bytes" : "neither UTF-8 nor GBK text");
      return std::nullopt;
    }
    if (key == "FileVersion") fileVersion = *text;
    if (key == "ProductVersion") productVersion = *text;
    info.strings.emplace_back(key, *text);
  }
  if (!fileVersion && !productVersion) {
    *error = "version information wants a version: give --file-version or --product-version";
    return std::nullopt;
  }
  if (!fileVersion) info.strings.emplace_back("FileVersion", *(fileVersion = productVersion));
  if (!productVersion) info.strings.emplace_back("ProductVersion", *(productVersion = fileVersion));
  const auto file = ParseVersionNumber(*fileVersion), product = ParseVersionNumber(*productVersion);
  if (!file || !product) {
    *error = "\"" + (file ? *productVersion : *fileVersion) +
             "\" is not a version such as 1.2.3.4 (up to four numbers of 0 to 65535)";
    return std::nullopt;
  }
  info.fileVersion = *file;
  info.productVersion = *product;
  info.strings.emplace_back("OriginalFilename", Shown(PathOf(*line.output).filename()));
  std::stable_sort(info.strings.begin(), info.strings.end());
  return info;
}

}  // namespace

std::optional<BrandingRequest> ReadBrandingOptions(const CommandLine& line, std::string* error) {
  BrandingRequest request;
  request.replace = line.replace;
  if (line.icon) {
    const auto bytes = ReadWholeFile(PathOf(*line.icon), error);
    if (!bytes) return std::nullopt;
    request.icon = ReadIconFile(*bytes, error);
    if (!request.icon) {
      *error = *line.icon + " " + *error;
      return std::nullopt;
    }
  }
  if (!line.versionTexts.empty()) {
    request.version = ReadVersion(line, error);
    if (!request.version) return std::nullopt;
  }
  return request;
}

std::optional<VersionInfo> VersionFromSkin(const LauncherConfig& model, const std::filesystem::path& output) {
  if (model.title.empty() && model.version.empty()) return std::nullopt;
  VersionInfo info;
  const Version read = ParseVersion(model.version);
  const auto part = [](std::int32_t number) { return static_cast<std::uint16_t>(std::clamp(number, 0, 65535)); };
  info.fileVersion = info.productVersion = {part(read.major), part(read.minor), 0, 0};
  // Texts are the configuration's GBK, stored as UTF-16 like every other.
  const std::string version = model.version.empty() ? "0.0" : GbkToUtf8(model.version);
  if (!model.title.empty()) info.strings.emplace_back("ProductName", GbkToUtf8(model.title));
  info.strings.emplace_back("FileVersion", version);
  info.strings.emplace_back("ProductVersion", version);
  info.strings.emplace_back("OriginalFilename", Shown(output.filename()));
  std::stable_sort(info.strings.begin(), info.strings.end());
  return info;
}
