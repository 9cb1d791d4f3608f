// The launcher's configuration model: every setting the windows and the
// update check use, read once from the configuration document with its
// defaults applied. Texts are the skin's bytes (GBK, or UTF-8 where the
// skin declares it) cut to their field width - 1.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "common/text_encoding.h"

class IniDocument;

using Colour = std::uint32_t;  // red in the lowest byte, then green, then blue

struct LinkSpec {  // [linkN]
  std::string url = "_blank";
  int x = 0, y = 0, width = 0, height = 0;
  int type = 0;  // 1 opens url, 2 minimises, 3 closes, 4 browser area
};

struct SpriteSpec {  // [gamePicN]: a rectangle of config/style.png
  int x = 0, y = 0, width = 0, height = 0;
  int interval = 0;  // gap between a button's three state pictures
};

struct GameButtonSpec {  // [gamebuttonN]
  int x = 0, y = 0;
  int type = 0;
  int image = 0;  // sprite number, 1-based
  Colour color = 16777215;
  int shortCut = 0;  // F1..F12 as 1..12
  std::string title;
  std::string url;
  std::string tips;
};

struct MenuItemSpec {  // [menuN]
  std::string title;
  int type = 0;
  int shortCut = 0;
};

struct LauncherConfig {
  std::string gameheader;
  std::vector<LinkSpec> links;
  std::vector<SpriteSpec> sprites;
  std::vector<GameButtonSpec> gameButtons;
  int logx = 0, logy = 0;
  int titlex = 0, titley = 0, titleWidth = 0, titleHeight = 0;
  std::string title;
  std::string firstUrl;
  std::string notityTitle;  // sic: the key is spelled with "ty"
  std::string notifyCloseTitle;
  std::string clearFlashTitle;
  std::string clearFlashMsg;
  std::string versionUrl;
  std::string exeUrl;
  int port = 80;
  std::string server;
  std::string version;
  std::string closeMsg;
  Colour titleColor = 16777215;
  Colour loginCenterColor = 16777215;
  int minGameWidth = 800;
  int minGameHeight = 600;
  std::string updateKey;  // the operator's Ed25519 public key in hex; empty: unsigned updates
  int dpiScaling = 0;      // 1: the windows take the display's scale; else physical pixels
  int browserMode = 0;     // the browser control's document mode to register; 0: none
  std::string textEncoding;  // "utf-8": every text of the file is UTF-8; else GBK
  std::vector<MenuItemSpec> menuItems;
  std::array<int, 8> edgeImages{9, 9, 9, 9, 9, 9, 9, 9};
};

// Fills `config` from the document. False (lists left empty) when
// [global] linkCount is absent or below 1: the launcher then ends silently.
// Each list is read up to its count in [global], at most 1000 records.
bool BuildConfig(const IniDocument& document, LauncherConfig* config);

// Whether the windows take the display's scale ([global] dpiScaling=1).
// Any other value keeps every size in physical pixels, as it always was.
bool ScalesWithDisplay(const LauncherConfig& config);
// The values [global] dpiScaling is meant to have: 0 and 1.
bool IsValidDpiScaling(std::int64_t value);

// The encoding of every text of the configuration, as [global] textEncoding
// declares it (TextEncodingOf): the texts are cut to their fields by it,
// and the windows show them by it.
TextEncoding SkinTextEncoding(const LauncherConfig& config);

// The key table, for tools that document or check a configuration.
enum class KeyKind { kInteger, kColour, kText };
struct KeyInfo {
  const char* section;  // "global", or a numbered section's name without its number
  const char* key;
  KeyKind kind;
  int width;  // field width in bytes for texts, else 0
  std::int64_t defaultNumber;
  std::string defaultText;
};
std::span<const KeyInfo> ConfigKeys();
