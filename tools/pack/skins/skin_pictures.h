// The skin's PNG members, each read and decoded once.
#pragma once

#include <map>
#include <optional>
#include <string>

#include "formats/rgba_image.h"
#include "skins/skin_source.h"

struct SkinPicture {
  bool present = false;            // the member exists and reads whole
  std::optional<RgbaImage> image;  // decoded, when it is a PNG the tool can read
  std::string error;               // why not, when it is not
};

class SkinPictures {
 public:
  explicit SkinPictures(SkinSource& skin) : skin_(skin) {}
  const SkinPicture& Get(const std::string& name);
  // The decoded picture or nullptr.
  const RgbaImage* Image(const std::string& name) { return Get(name).image ? &*Get(name).image : nullptr; }

 private:
  SkinSource& skin_;
  std::map<std::string, SkinPicture> cache_;
};

inline constexpr const char* kBackgroundMember = "config/main1.png";
inline constexpr const char* kSpriteSheetMember = "config/style.png";
inline constexpr const char* kLogoMember = "config/logo.png";
