#include "branding/pe_resources.h"

#include <algorithm>
#include <map>

// The resource tree: each directory is a 16-byte header (characteristics,
// time stamp, version, then the counts of named and of numbered entries)
// followed by 8-byte entries, named ones first. An entry is a name or number
// (a name when the high bit is set: the offset of a length-prefixed UTF-16
// string) and an offset, of a subdirectory when its high bit is set, else of
// a 16-byte data entry (the data's RVA, its size, its code page). Offsets
// count from the start of the root directory; data addresses are RVAs.
namespace {

constexpr std::uint32_t kHighBit = 0x80000000;
constexpr std::size_t kDirectoryHeader = 16, kDirectoryEntry = 8, kDataEntry = 16;
constexpr std::size_t kMaxResources = 1 << 16;

std::uint32_t Get32(std::string_view b, std::size_t at) {
  std::uint32_t v = 0;
  for (int i = 3; i >= 0; --i) v = v << 8 | static_cast<unsigned char>(b[at + i]);
  return v;
}
std::uint16_t Get16(std::string_view b, std::size_t at) {
  return static_cast<std::uint16_t>(static_cast<unsigned char>(b[at]) | static_cast<unsigned char>(b[at + 1]) << 8);
}
void Add16(std::string& b, std::uint32_t v) {
  b.push_back(static_cast<char>(v & 0xFF));
  b.push_back(static_cast<char>(v >> 8 & 0xFF));
}
void Put32(std::string& b, std::size_t at, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) b[at + i] = static_cast<char>(v >> (8 * i) & 0xFF);
}

class TreeReader {
 public:
  TreeReader(const PeImage& image, std::string_view tree) : image_(image), tree_(tree) {}

  bool Walk(std::uint32_t offset, int level, Resource& path, std::vector<Resource>& out, std::string* error) {
    if (offset > tree_.size() || tree_.size() - offset < kDirectoryHeader) return Fail(error, "a directory");
    const std::size_t count = std::size_t{Get16(tree_, offset + 12)} + Get16(tree_, offset + 14);
    if ((tree_.size() - offset - kDirectoryHeader) / kDirectoryEntry < count) return Fail(error, "a directory's entries");
    for (std::size_t i = 0; i < count; ++i) {
      // Entries may share subdirectories; the walk is bounded all the same.
      if (++visited_ > 4 * kMaxResources) return Fail(error, "the number of entries");
      const std::size_t entry = offset + kDirectoryHeader + kDirectoryEntry * i;
      const std::uint32_t id = Get32(tree_, entry), target = Get32(tree_, entry + 4);
      ResourceId key = ResourceId::Number(static_cast<std::uint16_t>(id));
      if (id & kHighBit) {
        const auto name = Name(id & ~kHighBit);
        if (!name) return Fail(error, "a name");
        key = ResourceId::Name(*name);
      }
      if (level == 0) path.type = key;
      if (level == 1) path.name = key;
      if (level == 2) {
        if (key.named) return Fail(error, "a language");
        path.language = key.number;
      }
      const bool directory = (target & kHighBit) != 0;
      if (directory != (level < 2)) return Fail(error, "the tree's depth");
      if (directory) {
        if (!Walk(target & ~kHighBit, level + 1, path, out, error)) return false;
      } else if (!Data(target, path, out, error)) {
        return false;
      }
    }
    return true;
  }

 private:
  bool Data(std::uint32_t offset, Resource& path, std::vector<Resource>& out, std::string* error) {
    if (out.size() >= kMaxResources) return Fail(error, "the number of resources");
    if (offset > tree_.size() || tree_.size() - offset < kDataEntry) return Fail(error, "a data entry");
    const auto data = image_.At(Get32(tree_, offset), Get32(tree_, offset + 4));
    if (!data) return Fail(error, "a resource's data");
    path.codePage = Get32(tree_, offset + 8);
    path.data.assign(*data);
    out.push_back(path);
    return true;
  }

  std::optional<std::u16string> Name(std::uint32_t offset) const {
    if (offset > tree_.size() || tree_.size() - offset < 2) return std::nullopt;
    const std::size_t length = Get16(tree_, offset);
    if ((tree_.size() - offset - 2) / 2 < length) return std::nullopt;
    std::u16string name;
    for (std::size_t i = 0; i < length; ++i) name.push_back(Get16(tree_, offset + 2 + 2 * i));
    return name;
  }

  static bool Fail(std::string* error, const std::string& what) {
    *error = "its resources are damaged: " + what + " lies outside the resource section or is malformed";
    return false;
  }

  const PeImage& image_;
  std::string_view tree_;
  std::size_t visited_ = 0;
};

// The order of entries in a directory: names first, then numbers.
bool Before(const ResourceId& a, const ResourceId& b) {
  if (a.named != b.named) return a.named;
  return a.named ? a.name < b.name : a.number < b.number;
}

struct Node {
  ResourceId id;
  std::vector<Node> children;        // types, names or languages
  const Resource* leaf = nullptr;    // at the language level
  std::size_t offset = 0;            // of its directory or data entry
};

Node& Child(Node& parent, const ResourceId& id) {
  if (parent.children.empty() || !(parent.children.back().id == id)) parent.children.push_back({id, {}, nullptr, 0});
  return parent.children.back();
}

}  // namespace

std::optional<std::vector<Resource>> ReadResources(const PeImage& image, std::string* error) {
  std::vector<Resource> resources;
  const DataDirectory directory = image.Directory(kResourceDirectory);
  if (directory.size == 0) return resources;
  const auto tree = image.From(directory.rva);
  if (!tree) {
    *error = "its resource directory lies outside its sections";
    return std::nullopt;
  }
  Resource path;
  if (!TreeReader(image, *tree).Walk(0, 0, path, resources, error)) return std::nullopt;
  return resources;
}

std::string BuildResourceSection(std::vector<Resource> resources, std::uint32_t sectionRva) {
  std::stable_sort(resources.begin(), resources.end(), [](const Resource& a, const Resource& b) {
    if (!(a.type == b.type)) return Before(a.type, b.type);
    if (!(a.name == b.name)) return Before(a.name, b.name);
    return a.language < b.language;
  });
  Node root;
  for (const Resource& r : resources) {
    Node& language = Child(Child(Child(root, r.type), r.name), ResourceId::Number(r.language));
    if (language.leaf == nullptr) language.leaf = &r;  // a duplicate would be unreachable anyway
  }

  // Directories first, level by level; then the data entries, the names and
  // the data, each block aligned for the system's readers.
  std::size_t size = 0;
  std::vector<Node*> directories{&root}, leaves;
  for (std::size_t i = 0; i < directories.size(); ++i) {
    directories[i]->offset = size;
    size += kDirectoryHeader + kDirectoryEntry * directories[i]->children.size();
    for (Node& child : directories[i]->children) (child.leaf ? leaves : directories).push_back(&child);
  }
  for (Node* leaf : leaves) {
    leaf->offset = size;
    size += kDataEntry;
  }
  std::string section(size, '\0');
  std::map<const Node*, std::uint32_t> nameOffsets;
  for (Node* node : directories)
    for (Node& child : node->children)
      if (child.id.named) {
        nameOffsets[&child] = static_cast<std::uint32_t>(section.size());
        Add16(section, static_cast<std::uint32_t>(child.id.name.size()));
        for (char16_t unit : child.id.name) Add16(section, unit);
      }
  for (Node* node : directories) {
    std::size_t at = node->offset + 12;
    const auto named = std::count_if(node->children.begin(), node->children.end(), [](const Node& n) { return n.id.named; });
    section[at] = static_cast<char>(named & 0xFF);
    section[at + 1] = static_cast<char>(named >> 8);
    section[at + 2] = static_cast<char>((node->children.size() - named) & 0xFF);
    section[at + 3] = static_cast<char>((node->children.size() - named) >> 8);
    at += 4;
    for (const Node& child : node->children) {
      Put32(section, at, child.id.named ? nameOffsets[&child] | kHighBit : child.id.number);
      Put32(section, at + 4, static_cast<std::uint32_t>(child.offset) | (child.leaf ? 0 : kHighBit));
      at += kDirectoryEntry;
    }
  }
  for (const Node* leaf : leaves) {
    section.resize((section.size() + 7) / 8 * 8, '\0');
    Put32(section, leaf->offset, sectionRva + static_cast<std::uint32_t>(section.size()));
    Put32(section, leaf->offset + 4, static_cast<std::uint32_t>(leaf->leaf->data.size()));
    Put32(section, leaf->offset + 8, leaf->leaf->codePage);
    section += leaf->leaf->data;
  }
  return section;
}
