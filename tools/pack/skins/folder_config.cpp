#include "skins/folder_config.h"

#include <algorithm>

#include "formats/text_encoding.h"
#include "skins/skin_config.h"

namespace {

Finding ConfigError(int line, std::string message) {
  return {Severity::kError, kConfigMember, line, "", "", std::move(message)};
}

}  // namespace

std::optional<Finding> ConvertConfigFromUtf8(FolderSkin& skin) {
  const auto text = skin.Read(kConfigMember);
  if (!text || !LooksLikeUtf8(*text)) {
    if (!text || FirstNonAscii(*text) == std::string::npos) return std::nullopt;
    return ConfigError(
        LineAt(*text, Utf8Prefix(*text)),
        "is not UTF-8, so --from-utf8 cannot convert it; leave the option out if the file is GBK already");
  }
  const GbkConversion converted = ConfigToGbk(*text);
  if (!converted.Converted()) {
    const std::size_t length =
        std::max<std::size_t>(1, Utf8CharacterLength(std::string_view(*text).substr(converted.failedAt)));
    return ConfigError(LineAt(*text, converted.failedAt),
                       "\"" + text->substr(converted.failedAt, length) +
                           "\" has no GBK form, so the file cannot be converted; the launcher could not show it");
  }
  skin.Replace(kConfigMember, converted.text);
  return std::nullopt;
}
