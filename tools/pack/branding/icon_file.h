// An .ico file as the images of an icon group: each image becomes an RT_ICON
// resource, and the group (RT_GROUP_ICON) lists them under the icon's id.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "branding/pe_resources.h"

struct IconImage {
  std::uint8_t width = 0, height = 0;  // 0 means 256
  std::uint8_t colourCount = 0;
  std::uint16_t planes = 0, bitCount = 0;
  std::string data;  // a DIB (BITMAPINFOHEADER, colours, XOR and AND masks) or a PNG
  bool operator==(const IconImage&) const = default;
};

// The images of an .ico file, or nothing with `error`. Each image must lie
// inside the file and be a DIB or a PNG; a directory entry that leaves its
// planes or bit count at zero gets them from the image itself, as the
// system's choice of the image to show needs them.
std::optional<std::vector<IconImage>> ReadIconFile(std::string_view file, std::string* error);

// Puts `images` into `resources` as icon group `groupId`: the group of that
// id and the RT_ICON images only it used are removed, the new images take
// the lowest free RT_ICON ids. The group keeps its language, or takes
// `language` when it is new.
void PutIconGroup(std::vector<Resource>& resources, std::uint16_t groupId, const std::vector<IconImage>& images,
                  std::uint16_t language);

// The images of icon group `groupId` as the resources hold them, in the
// group's order; nothing when there is no such group or it names an image
// that is missing.
std::optional<std::vector<IconImage>> IconGroupImages(const std::vector<Resource>& resources, std::uint16_t groupId);
