// The resources of a PE image as a flat list, read from and built into the
// three-level tree the system walks: type, then name, then language.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "branding/pe_image.h"

inline constexpr std::uint16_t kIconType = 3;        // RT_ICON
inline constexpr std::uint16_t kGroupIconType = 14;  // RT_GROUP_ICON
inline constexpr std::uint16_t kVersionType = 16;    // RT_VERSION

// A type or a name: a number, or a string (UTF-16, as stored).
struct ResourceId {
  std::uint16_t number = 0;
  std::u16string name;
  bool named = false;

  static ResourceId Number(std::uint16_t n) { return {n, {}, false}; }
  static ResourceId Name(std::u16string s) { return {0, std::move(s), true}; }
  bool operator==(const ResourceId&) const = default;
};

struct Resource {
  ResourceId type, name;
  std::uint16_t language = 0;
  std::uint32_t codePage = 0;
  std::string data;
  bool operator==(const Resource&) const = default;
};

// The image's resources in the tree's order; an empty list when it has no
// resource directory; nothing, with `error`, when the tree is damaged (an
// entry outside the section, a level too deep or too shallow, a tree that
// claims more resources than any program has).
std::optional<std::vector<Resource>> ReadResources(const PeImage& image, std::string* error);

// A resource section holding `resources`, for a section at `sectionRva`
// (data entries hold addresses, so the section is built for its place).
// Entries are ordered as the system's binary search wants them: names
// before numbers, names by their UTF-16 units, numbers ascending.
std::string BuildResourceSection(std::vector<Resource> resources, std::uint32_t sectionRva);
