#include "branding/version_resource.h"

#include <charconv>
#include <cstdio>

#include "formats/text_encoding.h"

// Every node of VS_VERSIONINFO is a block: its length in bytes (children
// included), the length of its value (in UTF-16 units for a text, in bytes
// otherwise), its type (1 text, 0 binary), its key as zero-terminated
// UTF-16, padding to 32 bits, its value, padding, then its children, each
// starting on 32 bits. The root "VS_VERSION_INFO" holds the fixed part
// (VS_FIXEDFILEINFO); its children are "StringFileInfo", with one table
// named by language and code page in hex holding the texts, and
// "VarFileInfo", whose "Translation" lists that language and code page.
namespace {

constexpr std::uint32_t kFixedSignature = 0xFEEF04BD;
constexpr std::uint32_t kFixedStructVersion = 0x00010000;
constexpr std::uint32_t kFileFlagsMask = 0x3F;
constexpr std::uint32_t kOsWindows32 = 0x00040004;  // VOS_NT_WINDOWS32
constexpr std::uint32_t kTypeApplication = 1;       // VFT_APP
constexpr std::uint16_t kUnicodeCodePage = 1200;
constexpr std::size_t kFixedSize = 52;

void Add16(std::string& b, std::uint32_t v) {
  b.push_back(static_cast<char>(v & 0xFF));
  b.push_back(static_cast<char>(v >> 8 & 0xFF));
}
void Add32(std::string& b, std::uint32_t v) {
  Add16(b, v & 0xFFFF);
  Add16(b, v >> 16);
}
void Pad(std::string& b) { b.resize((b.size() + 3) / 4 * 4, '\0'); }
std::uint32_t Get16(std::string_view b, std::size_t at) {
  return static_cast<unsigned char>(b[at]) | static_cast<unsigned char>(b[at + 1]) << 8;
}
std::uint32_t Get32(std::string_view b, std::size_t at) { return Get16(b, at) | Get16(b, at + 2) << 16; }
std::size_t Align(std::size_t n) { return (n + 3) / 4 * 4; }

std::string Block(std::u16string_view key, const std::string& value, std::uint32_t valueLength, bool text,
                  const std::vector<std::string>& children = {}) {
  std::string b;
  Add16(b, 0);
  Add16(b, valueLength);
  Add16(b, text ? 1 : 0);
  for (char16_t unit : key) Add16(b, unit);
  Add16(b, 0);
  Pad(b);
  b += value;
  for (const std::string& child : children) {
    Pad(b);
    b += child;
  }
  b[0] = static_cast<char>(b.size() & 0xFF);
  b[1] = static_cast<char>(b.size() >> 8 & 0xFF);
  return b;
}

std::u16string Ascii(std::string_view text) { return std::u16string(text.begin(), text.end()); }

std::string TableName(std::uint16_t language) {
  char name[9];
  std::snprintf(name, sizeof name, "%04x%04x", language, kUnicodeCodePage);
  return name;
}

std::uint32_t High(const VersionNumber& v) { return std::uint32_t{v[0]} << 16 | v[1]; }
std::uint32_t Low(const VersionNumber& v) { return std::uint32_t{v[2]} << 16 | v[3]; }

// A parsed block: its key, its value's bytes and its children's extent.
struct Node {
  std::u16string key;
  std::string_view value;
  bool text = false;
  std::vector<Node> children;
};

std::optional<Node> ReadBlock(std::string_view data, int depth) {
  if (data.size() < 6 || depth > 4) return std::nullopt;
  const std::size_t length = Get16(data, 0), valueLength = Get16(data, 2);
  if (length < 6 || length > data.size()) return std::nullopt;
  data = data.substr(0, length);
  Node node;
  node.text = Get16(data, 4) == 1;
  std::size_t at = 6;
  for (;; at += 2) {
    if (at + 2 > data.size()) return std::nullopt;
    const char16_t unit = static_cast<char16_t>(Get16(data, at));
    if (unit == 0) break;
    node.key.push_back(unit);
  }
  at = Align(at + 2);
  const std::size_t valueBytes = node.text ? valueLength * 2 : valueLength;
  if (at > data.size() || data.size() - at < valueBytes) return std::nullopt;
  node.value = data.substr(at, valueBytes);
  for (at = Align(at + valueBytes); at < data.size(); ) {
    auto child = ReadBlock(data.substr(at), depth + 1);
    if (!child) return std::nullopt;
    at = Align(at + Get16(data, at));
    node.children.push_back(std::move(*child));
  }
  return node;
}

}  // namespace

std::optional<VersionNumber> ParseVersionNumber(std::string_view text) {
  VersionNumber number{};
  std::size_t part = 0;
  const char* at = text.data();
  const char* end = text.data() + text.size();
  while (true) {
    unsigned value = 0;
    const auto parsed = std::from_chars(at, end, value);
    if (parsed.ec != std::errc() || value > 0xFFFF || part == number.size()) return std::nullopt;
    number[part++] = static_cast<std::uint16_t>(value);
    if (parsed.ptr == end) return number;
    if (*parsed.ptr != '.') return std::nullopt;
    at = parsed.ptr + 1;
  }
}

std::optional<std::u16string> Utf8ToUtf16(std::string_view utf8) {
  std::u16string out;
  while (!utf8.empty()) {
    const std::size_t length = Utf8CharacterLength(utf8);
    if (length == 0) return std::nullopt;
    const auto byte = [&](std::size_t i) { return static_cast<std::uint32_t>(static_cast<unsigned char>(utf8[i])); };
    std::uint32_t code = length == 1 ? byte(0) : byte(0) & (0xFF >> (length + 1));
    for (std::size_t i = 1; i < length; ++i) code = code << 6 | (byte(i) & 0x3F);
    if (code >= 0x10000) {
      code -= 0x10000;
      out.push_back(static_cast<char16_t>(0xD800 | code >> 10));
      out.push_back(static_cast<char16_t>(0xDC00 | (code & 0x3FF)));
    } else {
      out.push_back(static_cast<char16_t>(code));
    }
    utf8.remove_prefix(length);
  }
  return out;
}

std::optional<std::string> Utf16ToUtf8(std::u16string_view utf16) {
  std::string out;
  for (std::size_t i = 0; i < utf16.size(); ++i) {
    std::uint32_t code = utf16[i];
    if (code >= 0xDC00 && code < 0xE000) return std::nullopt;
    if (code >= 0xD800 && code < 0xDC00) {
      if (i + 1 == utf16.size() || utf16[i + 1] < 0xDC00 || utf16[i + 1] >= 0xE000) return std::nullopt;
      code = 0x10000 + ((code - 0xD800) << 10 | (utf16[++i] - 0xDC00));
    }
    if (code < 0x80) {
      out.push_back(static_cast<char>(code));
    } else if (code < 0x800) {
      out.push_back(static_cast<char>(0xC0 | code >> 6));
      out.push_back(static_cast<char>(0x80 | (code & 0x3F)));
    } else if (code < 0x10000) {
      out.push_back(static_cast<char>(0xE0 | code >> 12));
      out.push_back(static_cast<char>(0x80 | (code >> 6 & 0x3F)));
      out.push_back(static_cast<char>(0x80 | (code & 0x3F)));
    } else {
      out.push_back(static_cast<char>(0xF0 | code >> 18));
      out.push_back(static_cast<char>(0x80 | (code >> 12 & 0x3F)));
      out.push_back(static_cast<char>(0x80 | (code >> 6 & 0x3F)));
      out.push_back(static_cast<char>(0x80 | (code & 0x3F)));
    }
  }
  return out;
}

std::optional<std::string> BuildVersionResource(const VersionInfo& info) {
  std::string fixed;
  for (std::uint32_t v : {kFixedSignature, kFixedStructVersion, High(info.fileVersion), Low(info.fileVersion),
                          High(info.productVersion), Low(info.productVersion), kFileFlagsMask, 0u, kOsWindows32,
                          kTypeApplication, 0u, 0u, 0u})
    Add32(fixed, v);

  std::vector<std::string> strings;
  for (const auto& [key, value] : info.strings) {
    auto wide = Utf8ToUtf16(value);
    const auto wideKey = Utf8ToUtf16(key);
    if (!wide || !wideKey) return std::nullopt;
    const auto units = static_cast<std::uint32_t>(wide->size() + 1);
    std::string bytes;
    for (char16_t unit : *wide) Add16(bytes, unit);
    Add16(bytes, 0);
    strings.push_back(Block(*wideKey, bytes, units, true));
  }
  const std::string table = Block(Ascii(TableName(info.language)), {}, 0, true, strings);
  std::string translation;
  Add16(translation, info.language);
  Add16(translation, kUnicodeCodePage);
  const std::string var = Block(u"Translation", translation, 4, false);
  return Block(u"VS_VERSION_INFO", fixed, kFixedSize, false,
               {Block(u"StringFileInfo", {}, 0, true, {table}), Block(u"VarFileInfo", {}, 0, true, {var})});
}

std::optional<VersionInfo> ReadVersionResource(std::string_view data) {
  const auto root = ReadBlock(data, 0);
  if (!root || root->key != u"VS_VERSION_INFO" || root->value.size() != kFixedSize ||
      Get32(root->value, 0) != kFixedSignature)
    return std::nullopt;
  VersionInfo info;
  const auto split = [](std::uint32_t high, std::uint32_t low) {
    return VersionNumber{static_cast<std::uint16_t>(high >> 16), static_cast<std::uint16_t>(high & 0xFFFF),
                         static_cast<std::uint16_t>(low >> 16), static_cast<std::uint16_t>(low & 0xFFFF)};
  };
  info.fileVersion = split(Get32(root->value, 8), Get32(root->value, 12));
  info.productVersion = split(Get32(root->value, 16), Get32(root->value, 20));
  for (const Node& child : root->children) {
    if (child.key == u"VarFileInfo" && !child.children.empty() && child.children[0].value.size() >= 4)
      info.language = static_cast<std::uint16_t>(Get16(child.children[0].value, 0));
    if (child.key != u"StringFileInfo" || child.children.empty()) continue;
    for (const Node& entry : child.children[0].children) {
      std::u16string value;
      for (std::size_t i = 0; i + 1 < entry.value.size(); i += 2) value.push_back(static_cast<char16_t>(Get16(entry.value, i)));
      while (!value.empty() && value.back() == 0) value.pop_back();
      const auto key = Utf16ToUtf8(entry.key), text = Utf16ToUtf8(value);
      if (!key || !text) return std::nullopt;
      info.strings.emplace_back(*key, *text);
    }
  }
  return info;
}
