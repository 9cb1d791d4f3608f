#include "package/launcher_config.h"

#include <string>

#include "common/text.h"
#include "package/ini_document.h"

namespace {

// One key of a record type R and the member it fills. A record's defaults
// are those of a default-constructed R.
template <class R>
struct Field {
  const char* key;
  KeyKind kind;
  int R::*number = nullptr;
  Colour R::*colour = nullptr;
  std::string R::*text = nullptr;
  int width = 0;
};

template <class R>
constexpr Field<R> Int(const char* key, int R::*member) { return {key, KeyKind::kInteger, member}; }
template <class R>
constexpr Field<R> Col(const char* key, Colour R::*member) { return {key, KeyKind::kColour, nullptr, member}; }
template <class R>
constexpr Field<R> Text(const char* key, std::string R::*member, int width) {
  return {key, KeyKind::kText, nullptr, nullptr, member, width};
}

// A count from the file is read up to this many sections. No skin comes near
// it; a mistyped count must not make the launcher build records until memory
// runs out.
constexpr int kMaxListLength = 1000;

const Field<LauncherConfig> kGlobalFields[] = {
    Text("gameheader", &LauncherConfig::gameheader, 64),
    Int("logx", &LauncherConfig::logx),
    Int("logy", &LauncherConfig::logy),
    Int("titlex", &LauncherConfig::titlex),
    Int("titley", &LauncherConfig::titley),
    Int("titleWidth", &LauncherConfig::titleWidth),
    Int("titleHeight", &LauncherConfig::titleHeight),
    Text("title", &LauncherConfig::title, 128),
    Text("firstUrl", &LauncherConfig::firstUrl, 128),
    Text("notityTitle", &LauncherConfig::notityTitle, 64),
    Text("notifyCloseTitle", &LauncherConfig::notifyCloseTitle, 64),
    Text("clearFlashTitle", &LauncherConfig::clearFlashTitle, 64),
    Text("clearFlashMsg", &LauncherConfig::clearFlashMsg, 128),
    Text("versionUrl", &LauncherConfig::versionUrl, 128),
    Text("exeUrl", &LauncherConfig::exeUrl, 128),
    Int("port", &LauncherConfig::port),
    Text("server", &LauncherConfig::server, 64),
    Text("version", &LauncherConfig::version, 64),
    Text("closeMsg", &LauncherConfig::closeMsg, 64),
    Col("titleColor", &LauncherConfig::titleColor),
    Col("loginCenterColor", &LauncherConfig::loginCenterColor),
    Int("minGameWidth", &LauncherConfig::minGameWidth),
    Int("minGameHeight", &LauncherConfig::minGameHeight),
    // Wider than the 64 digits a key has, so that a longer value stays too
    // long instead of being cut into a well-formed one.
    Text("updateKey", &LauncherConfig::updateKey, 128),
    Int("dpiScaling", &LauncherConfig::dpiScaling),
    Int("browserMode", &LauncherConfig::browserMode),
    // Wider than any name it takes, so that a longer value stays another
    // name instead of being cut into one.
    Text("textEncoding", &LauncherConfig::textEncoding, 16),
};

const Field<LinkSpec> kLinkFields[] = {
    Text("url", &LinkSpec::url, 256), Int("x", &LinkSpec::x),         Int("y", &LinkSpec::y),
    Int("width", &LinkSpec::width),   Int("height", &LinkSpec::height), Int("type", &LinkSpec::type),
};

const Field<SpriteSpec> kSpriteFields[] = {
    Int("x", &SpriteSpec::x),          Int("y", &SpriteSpec::y),
    Int("width", &SpriteSpec::width),  Int("height", &SpriteSpec::height),
    Int("interval", &SpriteSpec::interval),
};

const Field<GameButtonSpec> kGameButtonFields[] = {
    Int("x", &GameButtonSpec::x),
    Int("y", &GameButtonSpec::y),
    Int("type", &GameButtonSpec::type),
    Int("image", &GameButtonSpec::image),
    Col("color", &GameButtonSpec::color),
    Int("shortCut", &GameButtonSpec::shortCut),
    Text("title", &GameButtonSpec::title, 32),
    Text("url", &GameButtonSpec::url, 256),
    Text("tips", &GameButtonSpec::tips, 32),
};

const Field<MenuItemSpec> kMenuFields[] = {
    Text("title", &MenuItemSpec::title, 32),
    Int("type", &MenuItemSpec::type),
    Int("shortCut", &MenuItemSpec::shortCut),
};

constexpr const char* kEdgeImageKeys[8] = {"edgeImage1", "edgeImage2", "edgeImage3", "edgeImage4",
                                           "edgeImage5", "edgeImage6", "edgeImage7", "edgeImage8"};
constexpr const char* kCountKeys[4] = {"linkCount", "menuCount", "picCount", "gameButtonCount"};

// GCC 12 follows the text branch below into records that have no text
// member at all (SpriteSpec) and warns about a string it can never reach.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Warray-bounds"
template <class R, std::size_t N>
void ReadRecord(const IniDocument& document, const char* section, const Field<R> (&fields)[N], TextEncoding encoding,
                R* record) {
  for (const Field<R>& field : fields) {
    if (field.text != nullptr) {
      const std::string& fallback = record->*field.text;
      record->*field.text = CutToField(document.GetString(section, field.key, fallback.c_str()), field.width, encoding);
    } else if (field.colour != nullptr) {
      // The integer's bits are the colour, as the file gives them.
      const auto fallback = static_cast<std::int32_t>(record->*field.colour);
      record->*field.colour = static_cast<Colour>(document.GetInt(section, field.key, fallback));
    } else {
      record->*field.number = document.GetInt(section, field.key, record->*field.number);
    }
  }
}

#pragma GCC diagnostic pop

// Reads [nameN] for N = 1 .. count; a missing section gives a record of defaults.
template <class R, std::size_t N>
std::vector<R> ReadList(const IniDocument& document, const char* name, int count, const Field<R> (&fields)[N],
                        TextEncoding encoding) {
  std::vector<R> list;
  for (int n = 1; n <= count && n <= kMaxListLength; ++n) {
    const std::string section = name + std::to_string(n);
    R record;
    ReadRecord(document, section.c_str(), fields, encoding, &record);
    list.push_back(std::move(record));
  }
  return list;
}

template <class R, std::size_t N>
void AddKeys(std::vector<KeyInfo>* keys, const char* section, const Field<R> (&fields)[N]) {
  static const R defaults{};
  for (const Field<R>& field : fields) {
    if (field.text != nullptr)
      keys->push_back({section, field.key, field.kind, field.width, 0, defaults.*field.text});
    else if (field.colour != nullptr)
      keys->push_back({section, field.key, field.kind, 0, defaults.*field.colour, {}});
    else
      keys->push_back({section, field.key, field.kind, 0, defaults.*field.number, {}});
  }
}

}  // namespace

bool BuildConfig(const IniDocument& document, LauncherConfig* config) {
  *config = LauncherConfig{};
  // Every text is cut to its field by the rules of its encoding: the key
  // that declares it is read first.
  const TextEncoding encoding = TextEncodingOf(document.GetString("global", "textEncoding", ""));
  ReadRecord(document, "global", kGlobalFields, encoding, config);
  for (std::size_t i = 0; i < 8; ++i)
    config->edgeImages[i] = document.GetInt("global", kEdgeImageKeys[i], config->edgeImages[i]);
  const int linkCount = document.GetInt("global", "linkCount", 0);
  if (linkCount < 1) return false;
  config->links = ReadList(document, "link", linkCount, kLinkFields, encoding);
  config->menuItems = ReadList(document, "menu", document.GetInt("global", "menuCount", 0), kMenuFields, encoding);
  config->sprites = ReadList(document, "gamePic", document.GetInt("global", "picCount", 0), kSpriteFields, encoding);
  config->gameButtons =
      ReadList(document, "gamebutton", document.GetInt("global", "gameButtonCount", 0), kGameButtonFields, encoding);
  return true;
}

bool ScalesWithDisplay(const LauncherConfig& config) { return config.dpiScaling == 1; }

bool IsValidDpiScaling(std::int64_t value) { return value == 0 || value == 1; }

TextEncoding SkinTextEncoding(const LauncherConfig& config) { return TextEncodingOf(config.textEncoding); }

std::span<const KeyInfo> ConfigKeys() {
  static const std::vector<KeyInfo> keys = [] {
    std::vector<KeyInfo> all;
    AddKeys(&all, "global", kGlobalFields);
    for (const char* key : kCountKeys) all.push_back({"global", key, KeyKind::kInteger, 0, 0, {}});
    for (const char* key : kEdgeImageKeys) all.push_back({"global", key, KeyKind::kInteger, 0, 9, {}});
    AddKeys(&all, "link", kLinkFields);
    AddKeys(&all, "gamePic", kSpriteFields);
    AddKeys(&all, "gamebutton", kGameButtonFields);
    AddKeys(&all, "menu", kMenuFields);
    return all;
  }();
  return keys;
}
