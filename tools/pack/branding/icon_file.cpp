#include "branding/icon_file.h"

#include <algorithm>
#include <set>

// An .ico file: a 6-byte header (reserved 0, type 1, image count), then a
// 16-byte entry per image (width, height, colour count, reserved, planes,
// bit count, data size, data offset in the file), then the images. The
// group resource has the same header and a 14-byte entry per image, whose
// last field is the image's RT_ICON id instead of its file offset.
namespace {

constexpr std::size_t kHeaderSize = 6, kFileEntrySize = 16, kGroupEntrySize = 14;
constexpr std::string_view kPngSignature = "\x89PNG\r\n\x1a\n";
constexpr std::uint32_t kInfoHeaderSize = 40;  // BITMAPINFOHEADER

std::uint32_t Get16(std::string_view b, std::size_t at) {
  return static_cast<unsigned char>(b[at]) | static_cast<unsigned char>(b[at + 1]) << 8;
}
std::uint32_t Get32(std::string_view b, std::size_t at) { return Get16(b, at) | Get16(b, at + 2) << 16; }
std::uint32_t GetBig32(std::string_view b, std::size_t at) {
  std::uint32_t v = 0;
  for (int i = 0; i < 4; ++i) v = v << 8 | static_cast<unsigned char>(b[at + i]);
  return v;
}
void Add16(std::string& b, std::uint32_t v) {
  b.push_back(static_cast<char>(v & 0xFF));
  b.push_back(static_cast<char>(v >> 8 & 0xFF));
}

// Fills in the planes and bit count from the image when the entry left them
// out; false when the data is neither a DIB nor a PNG.
bool DescribeImage(IconImage& image) {
  const std::string_view data = image.data;
  if (data.starts_with(kPngSignature)) {
    // IHDR follows the signature: length, "IHDR", width, height, depth, colour type.
    if (data.size() < 33 || data.substr(12, 4) != "IHDR") return false;
    const unsigned depth = static_cast<unsigned char>(data[24]), colourType = static_cast<unsigned char>(data[25]);
    static constexpr unsigned kChannels[] = {1, 0, 3, 1, 2, 0, 4};
    if (colourType > 6 || kChannels[colourType] == 0) return false;
    if (image.planes == 0) image.planes = 1;
    if (image.bitCount == 0) image.bitCount = static_cast<std::uint16_t>(depth * kChannels[colourType]);
    return GetBig32(data, 16) != 0 && GetBig32(data, 20) != 0;
  }
  if (data.size() < kInfoHeaderSize || Get32(data, 0) != kInfoHeaderSize) return false;
  if (image.planes == 0) image.planes = static_cast<std::uint16_t>(Get16(data, 12));
  if (image.bitCount == 0) image.bitCount = static_cast<std::uint16_t>(Get16(data, 14));
  return Get32(data, 4) != 0 && Get32(data, 8) != 0;
}

std::optional<std::vector<IconImage>> Fail(std::string* error, std::string why) {
  *error = std::move(why);
  return std::nullopt;
}

std::set<std::uint16_t> GroupIds(std::string_view group) {
  std::set<std::uint16_t> ids;
  if (group.size() < kHeaderSize) return ids;
  const std::size_t count = std::min<std::size_t>(Get16(group, 4), (group.size() - kHeaderSize) / kGroupEntrySize);
  for (std::size_t i = 0; i < count; ++i) ids.insert(static_cast<std::uint16_t>(Get16(group, kHeaderSize + kGroupEntrySize * i + 12)));
  return ids;
}

bool Is(const Resource& r, std::uint16_t type) { return !r.type.named && r.type.number == type; }
bool IsGroup(const Resource& r, std::uint16_t id) { return Is(r, kGroupIconType) && !r.name.named && r.name.number == id; }

}  // namespace

std::optional<std::vector<IconImage>> ReadIconFile(std::string_view file, std::string* error) {
  if (file.size() < kHeaderSize || Get16(file, 0) != 0 || Get16(file, 2) != 1)
    return Fail(error, "is not an icon file (.ico): its header is not that of an icon");
  const std::size_t count = Get16(file, 4);
  if (count == 0) return Fail(error, "holds no image");
  if ((file.size() - kHeaderSize) / kFileEntrySize < count) return Fail(error, "is cut short: its image list is incomplete");
  std::vector<IconImage> images;
  for (std::size_t i = 0; i < count; ++i) {
    const std::size_t entry = kHeaderSize + kFileEntrySize * i;
    IconImage image;
    image.width = static_cast<std::uint8_t>(file[entry]);
    image.height = static_cast<std::uint8_t>(file[entry + 1]);
    image.colourCount = static_cast<std::uint8_t>(file[entry + 2]);
    image.planes = static_cast<std::uint16_t>(Get16(file, entry + 4));
    image.bitCount = static_cast<std::uint16_t>(Get16(file, entry + 6));
    const std::uint64_t size = Get32(file, entry + 8), offset = Get32(file, entry + 12);
    const std::string which = "image " + std::to_string(i + 1) + " of " + std::to_string(count);
    if (size == 0 || offset + size > file.size()) return Fail(error, "is cut short: " + which + " lies past its end");
    image.data.assign(file.substr(offset, size));
    if (!DescribeImage(image)) return Fail(error, which + " is neither a bitmap nor a PNG picture");
    images.push_back(std::move(image));
  }
  return images;
}

void PutIconGroup(std::vector<Resource>& resources, std::uint16_t groupId, const std::vector<IconImage>& images,
                  std::uint16_t language) {
  std::set<std::uint16_t> oldIds, keptIds;
  for (const Resource& r : resources) {
    if (IsGroup(r, groupId)) {
      language = r.language;
      oldIds.merge(GroupIds(r.data));
    } else if (Is(r, kGroupIconType)) {
      keptIds.merge(GroupIds(r.data));
    }
  }
  std::erase_if(resources, [&](const Resource& r) {
    if (IsGroup(r, groupId)) return true;
    return Is(r, kIconType) && !r.name.named && oldIds.contains(r.name.number) && !keptIds.contains(r.name.number);
  });
  std::set<std::uint16_t> taken;
  for (const Resource& r : resources)
    if (Is(r, kIconType) && !r.name.named) taken.insert(r.name.number);

  Resource group{ResourceId::Number(kGroupIconType), ResourceId::Number(groupId), language, 0, {}};
  Add16(group.data, 0);
  Add16(group.data, 1);
  Add16(group.data, static_cast<std::uint32_t>(images.size()));
  std::uint16_t next = 1;
  for (const IconImage& image : images) {
    while (taken.contains(next)) ++next;
    taken.insert(next);
    group.data.push_back(static_cast<char>(image.width));
    group.data.push_back(static_cast<char>(image.height));
    group.data.push_back(static_cast<char>(image.colourCount));
    group.data.push_back('\0');
    Add16(group.data, image.planes);
    Add16(group.data, image.bitCount);
    Add16(group.data, static_cast<std::uint32_t>(image.data.size() & 0xFFFF));
    Add16(group.data, static_cast<std::uint32_t>(image.data.size() >> 16));
    Add16(group.data, next);
    resources.push_back({ResourceId::Number(kIconType), ResourceId::Number(next), language, 0, image.data});
  }
  resources.push_back(std::move(group));
}

std::optional<std::vector<IconImage>> IconGroupImages(const std::vector<Resource>& resources, std::uint16_t groupId) {
  const auto group = std::find_if(resources.begin(), resources.end(), [&](const Resource& r) { return IsGroup(r, groupId); });
  if (group == resources.end() || group->data.size() < kHeaderSize) return std::nullopt;
  const std::string_view data = group->data;
  const std::size_t count = Get16(data, 4);
  if ((data.size() - kHeaderSize) / kGroupEntrySize < count) return std::nullopt;
  std::vector<IconImage> images;
  for (std::size_t i = 0; i < count; ++i) {
    const std::size_t entry = kHeaderSize + kGroupEntrySize * i;
    const std::uint16_t id = static_cast<std::uint16_t>(Get16(data, entry + 12));
    const auto icon = std::find_if(resources.begin(), resources.end(), [&](const Resource& r) {
      return Is(r, kIconType) && !r.name.named && r.name.number == id && r.language == group->language;
    });
    if (icon == resources.end()) return std::nullopt;
    images.push_back({static_cast<std::uint8_t>(data[entry]), static_cast<std::uint8_t>(data[entry + 1]),
                      static_cast<std::uint8_t>(data[entry + 2]), static_cast<std::uint16_t>(Get16(data, entry + 4)),
                      static_cast<std::uint16_t>(Get16(data, entry + 6)), icon->data});
  }
  return images;
}
