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

std::optional<VersionOptions> ReadVersionOptions(const CommandLine& line, std::string* error) {
  VersionOptions options;
  for (const auto& [key, given] : line.versionTexts) {
    const auto text = Text(given);
    if (!text || text->size() > kMaxTextBytes) {
      *error = key + ": \"" + GbkToUtf8(given) + "\" is " +
               (text ? "longer than " + std::to_string(kMaxTextBytes) + " bytes" : "neither UTF-8 nor GBK text");
      return std::nullopt;
    }
    if (key == "FileVersion" || key == "ProductVersion") {
      const auto number = ParseVersionNumber(*text);
      if (!number) {
        *error = "\"" + *text + "\" is not a version such as 1.2.3.4 (up to four numbers of 0 to 65535)";
        return std::nullopt;
      }
      (key == "FileVersion" ? options.fileVersion : options.productVersion) = number;
    }
    options.texts.emplace_back(key, *text);
  }
  return options;
}

// The skin's version as the launcher reads it, in the four numbers of the
// version information.
VersionNumber SkinVersionNumber(const LauncherConfig& model) {
  const Version read = ParseVersion(model.version);
  const auto part = [](std::int32_t number) { return static_cast<std::uint16_t>(std::clamp(number, 0, 65535)); };
  return {part(read.major), part(read.minor), 0, 0};
}

const std::string* GivenText(const VersionOptions& given, const std::string& key) {
  for (const auto& [name, text] : given.texts)
    if (name == key) return &text;
  return nullptr;
}

}  // namespace

std::optional<BrandingOptions> ReadBrandingOptions(const CommandLine& line, std::string* error) {
  BrandingOptions options;
  options.request.replace = line.replace;
  if (line.icon) {
    const auto bytes = ReadWholeFile(PathOf(*line.icon), error);
    if (!bytes) return std::nullopt;
    options.request.icon = ReadIconFile(*bytes, error);
    if (!options.request.icon) {
      *error = *line.icon + " " + *error;
      return std::nullopt;
    }
  }
  auto version = ReadVersionOptions(line, error);
  if (!version) return std::nullopt;
  options.version = std::move(*version);
  return options;
}

std::optional<VersionInfo> VersionInformation(const LauncherConfig& model, const VersionOptions& given,
                                              const std::filesystem::path& output) {
  if (given.texts.empty() && model.title.empty() && model.version.empty()) return std::nullopt;
  VersionInfo info;
  info.strings = given.texts;
  const auto add = [&](const std::string& key, const std::string& text) {
    if (GivenText(given, key) == nullptr && !text.empty()) info.strings.emplace_back(key, text);
  };
  // Texts are the configuration's GBK, stored as UTF-16 like every other.
  const std::string title = GbkToUtf8(model.title);
  add("ProductName", title);
  add("FileDescription", title);
  // A version the skin lacks is the other one given, or the launcher's 0.0.
  const std::string* fileText = GivenText(given, "FileVersion");
  const std::string* productText = GivenText(given, "ProductVersion");
  const std::string skinText = model.version.empty() ? "" : GbkToUtf8(model.version);
  const std::string fallbackText = !skinText.empty() ? skinText
                                   : fileText        ? *fileText
                                   : productText     ? *productText
                                                     : "0.0";
  add("FileVersion", fallbackText);
  add("ProductVersion", fallbackText);
  const VersionNumber fallback = !model.version.empty() ? SkinVersionNumber(model)
                                 : given.fileVersion    ? *given.fileVersion
                                                        : given.productVersion.value_or(SkinVersionNumber(model));
  info.fileVersion = given.fileVersion.value_or(fallback);
  info.productVersion = given.productVersion.value_or(fallback);
  info.strings.emplace_back("OriginalFilename", Shown(output.filename()));
  std::stable_sort(info.strings.begin(), info.strings.end());
  return info;
}

std::optional<std::string> FileVersionDisagrees(const LauncherConfig& model, const VersionOptions& given) {
  if (!given.fileVersion || model.version.empty()) return std::nullopt;
  const VersionNumber skin = SkinVersionNumber(model);
  if ((*given.fileVersion)[0] == skin[0] && (*given.fileVersion)[1] == skin[1]) return std::nullopt;
  const std::string* text = GivenText(given, "FileVersion");
  return "--file-version " + *text + " is not the skin's version=" + GbkToUtf8(model.version) +
         " (the launcher reads " + std::to_string(skin[0]) + "." + std::to_string(skin[1]) +
         "): Explorer would show players another version than the one the launcher compares and updates by";
}
