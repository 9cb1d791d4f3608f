#include "reports/inspect_branding.h"

#include <cstdio>

#include "branding/program_branding.h"
#include "formats/printable.h"

namespace {

// An icon directory's 0 stands for 256.
int Side(std::uint8_t stored) { return stored == 0 ? 256 : stored; }

bool IsPng(const IconImage& image) { return image.data.starts_with("\x89PNG"); }

std::string Numbers(const VersionNumber& number) {
  return std::to_string(number[0]) + "." + std::to_string(number[1]) + "." + std::to_string(number[2]) + "." +
         std::to_string(number[3]);
}

}  // namespace

ProgramBranding FindBranding(std::string_view program) {
  ProgramBranding found;
  const auto image = PeImage::Read(program, &found.unreadable);
  if (!image) return found;
  const auto resources = ReadResources(*image, &found.unreadable);
  if (!resources) return found;
  found.icon = IconGroupImages(*resources, LauncherIconId());
  for (const Resource& resource : *resources)
    if (resource.type == ResourceId::Number(kVersionType)) found.version = ReadVersionResource(resource.data);
  return found;
}

void WriteBrandingText(std::ostream& out, const ProgramBranding& branding) {
  if (!branding.unreadable.empty()) {
    out << "icon and version information: unknown, the exe's resources cannot be read: " << branding.unreadable
        << "\n\n";
    return;
  }
  if (const auto& icon = branding.icon) {
    out << "icon: " << icon->size() << (icon->size() == 1 ? " image:" : " images:");
    for (const IconImage& image : *icon)
      out << " " << Side(image.width) << " × " << Side(image.height) << " (" << image.bitCount << " bits"
          << (IsPng(image) ? ", PNG" : "") << ")";
    out << "\n";
  } else {
    out << "icon: none (Explorer and the taskbar show Windows' own)\n";
  }
  if (const auto& version = branding.version) {
    char language[8];
    std::snprintf(language, sizeof language, "0x%04X", version->language);
    out << "version information: file " << Numbers(version->fileVersion) << ", product "
        << Numbers(version->productVersion) << ", language " << language << "\n";
    for (const auto& [key, text] : version->strings) out << "  " << key << ": " << Escaped(text) << "\n";
  } else {
    out << "version information: none (Explorer's details are empty)\n";
  }
  out << "\n";
}

void AddBrandingJson(nlohmann::ordered_json& json, const ProgramBranding& branding) {
  json["icon"] = nullptr;
  json["versionInformation"] = nullptr;
  if (const auto& icon = branding.icon) {
    json["icon"] = nlohmann::ordered_json::array();
    for (const IconImage& image : *icon)
      json["icon"].push_back({{"width", Side(image.width)},
                              {"height", Side(image.height)},
                              {"bitCount", image.bitCount},
                              {"png", IsPng(image)}});
  }
  if (const auto& version = branding.version) {
    nlohmann::ordered_json texts = nlohmann::ordered_json::object();
    for (const auto& [key, text] : version->strings) texts[key] = text;
    json["versionInformation"] = {{"fileVersion", Numbers(version->fileVersion)},
                                  {"productVersion", Numbers(version->productVersion)},
                                  {"language", version->language},
                                  {"texts", texts}};
  }
}
