#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <map>
#include <string>

#include "formats/gbk_text.h"
#include "pack_test_skin.h"
#include "package/launcher_config.h"

namespace {

using Json = nlohmann::json;

constexpr int kRecords = 2;  // of every numbered kind

// The skin in `dir`/skin packed onto a test launcher as MyGame.exe; empty
// when pack failed.
std::string PackedProgram(const packtest::TempDir& dir) {
  packtest::WriteFile(dir / "Launcher.exe", packtest::LauncherImage());
  const std::string exe = (dir / "MyGame.exe").string();
  const auto packed =
      packtest::Run({"pack", (dir / "skin").string(), "--exe", (dir / "Launcher.exe").string(), "-o", exe, "--force"});
  EXPECT_EQ(packed.status, 0) << packed.err;
  return packed.status == 0 ? exe : std::string();
}

struct Kind {
  const char* section;
  const char* countKey;
  const char* list;  // its name in the JSON
};
constexpr Kind kKinds[] = {{"link", "linkCount", "links"},
                           {"gamePic", "picCount", "sprites"},
                           {"gamebutton", "gameButtonCount", "gameButtons"},
                           {"menu", "menuCount", "menuItems"}};

const Kind* KindOf(const std::string& sectionOrCount) {
  for (const Kind& kind : kKinds)
    if (sectionOrCount == kind.section || sectionOrCount == kind.countKey) return &kind;
  return nullptr;
}

bool IsCount(const std::string& key) {
  const Kind* kind = KindOf(key);
  return kind != nullptr && key == kind->countKey;
}

// What FullConfig wrote, by "[section] key".
std::map<std::string, std::string> written;

std::string Where(const std::string& section, const std::string& key) { return "[" + section + "] " + key; }

// Every key of the table with a value of its own: numbers that differ from
// key to key, texts in GBK that run past their fields.
std::string FullConfig() {
  written.clear();
  std::string global = "[global]\n", numbered;
  int serial = 1;
  for (const KeyInfo& key : ConfigKeys()) {
    std::string value;
    if (IsCount(key.key))
      value = std::to_string(kRecords);
    else if (key.kind == KeyKind::kText)
      for (int i = 0; i * 4 < key.width + 6; ++i) value += "\xD1\xDD" + std::to_string(serial % 10) + "\"";  // 演
    else
      value = std::to_string(serial * 1001 * (serial % 2 ? 1 : -1));
    ++serial;
    if (std::string(key.section) == "global") {
      global += std::string(key.key) + "=" + value + "\n";
      written[Where("global", key.key)] = value;
      continue;
    }
    for (int n = 1; n <= kRecords; ++n) {
      const std::string section = key.section + std::to_string(n);
      numbered += "[" + section + "]\n" + key.key + "=" + value + std::to_string(n) + "\n";
      written[Where(section, key.key)] = value + std::to_string(n);
    }
  }
  return global + numbered;
}

// Where inspect --json puts the key of the record.
const Json& Field(const Json& configuration, const KeyInfo& key, int record) {
  const std::string section = key.section, name = key.key;
  if (section != "global")
    return configuration.at(KindOf(section)->list).at(static_cast<std::size_t>(record - 1)).at(name);
  if (name.starts_with("edgeImage"))
    return configuration.at("global").at("edgeImages").at(static_cast<std::size_t>(std::stoi(name.substr(9)) - 1));
  return configuration.at("global").at(name);
}

// What a field of `width` bytes keeps of one of FullConfig's texts: width - 1
// bytes, less a lead byte whose second byte is cut off (the texts have a
// two-byte character at every fourth byte from the first).
std::string Kept(const std::string& text, int width) {
  std::size_t keep = std::min(text.size(), static_cast<std::size_t>(width - 1));
  if (keep % 4 == 1) --keep;
  return text.substr(0, keep);
}

void ExpectSame(const Json& configuration, const KeyInfo& key, int record) {
  const std::string section = std::string(key.section) == "global" ? "global" : key.section + std::to_string(record);
  const std::string where = Where(section, key.key);
  const std::string& wrote = written.at(where);
  const Json& value = Field(configuration, key, record);
  if (key.kind == KeyKind::kText) {
    const std::string kept = Kept(wrote, key.width);
    ASSERT_TRUE(value.is_string()) << where;
    EXPECT_EQ(Utf8ToGbk(value.get<std::string>()).text, kept) << where;
  } else {
    // Read as a signed 32-bit number; a colour is shown as its unsigned bits.
    const std::int64_t number = std::stoll(wrote);
    EXPECT_EQ(value.get<std::int64_t>(), key.kind == KeyKind::kColour ? static_cast<std::uint32_t>(number) : number)
        << where;
  }
}

}  // namespace

TEST(PackInspect, JsonHoldsEveryKeyAsTheLauncherReadsIt) {
  const std::string config = FullConfig();
  packtest::TempDir dir;
  packtest::WriteSkin(dir / "skin", packtest::SkinWithConfig(config));
  const std::string exe = PackedProgram(dir);
  ASSERT_FALSE(exe.empty());
  const auto result = packtest::Run({"inspect", exe, "--json"});
  ASSERT_EQ(result.status, 0) << result.err;
  const auto json = packtest::ParseJson(result.out);
  ASSERT_TRUE(json) << result.out;

  EXPECT_EQ(json->at("source").get<std::string>(), exe);
  ASSERT_EQ(json->at("members").size(), packtest::CleanSkin().size());
  EXPECT_EQ(json->at("members").at(0).at("name").get<std::string>(), "config/2_d.png");
  const Json& configuration = json->at("configuration");
  EXPECT_TRUE(configuration.at("accepted").get<bool>());
  for (const KeyInfo& key : ConfigKeys()) {
    if (IsCount(key.key)) {
      EXPECT_EQ(configuration.at(KindOf(key.key)->list).size(), static_cast<std::size_t>(kRecords)) << key.key;
      continue;
    }
    for (int record = 1; record <= (std::string(key.section) == "global" ? 1 : kRecords); ++record)
      ExpectSame(configuration, key, record);
  }
}

TEST(PackInspect, ShowsARejectedOrMissingConfiguration) {
  packtest::TempDir dir;
  packtest::WriteSkin(dir / "rejected", packtest::SkinWithConfig("[global]\ntitle=t\n"));
  packtest::WriteSkin(dir / "empty", {{"config/main1.png", packtest::SolidPng(1, 1, {})}});
  const auto rejected = packtest::ParseJson(packtest::Run({"inspect", (dir / "rejected").string(), "--json"}).out);
  ASSERT_TRUE(rejected);
  EXPECT_FALSE(rejected->at("configuration").at("accepted").get<bool>());
  EXPECT_EQ(rejected->at("configuration").at("global").at("title").get<std::string>(), "t");
  EXPECT_TRUE(rejected->at("configuration").at("links").empty());
  const auto empty = packtest::ParseJson(packtest::Run({"inspect", (dir / "empty").string(), "--json"}).out);
  ASSERT_TRUE(empty);
  EXPECT_TRUE(empty->at("configuration").is_null());

  const auto text = packtest::Run({"inspect", (dir / "rejected").string()});
  EXPECT_EQ(text.status, 0);
  EXPECT_NE(text.out.find("configuration rejected: [global] linkCount is missing or below 1"), std::string::npos)
      << text.out;
  EXPECT_NE(text.out.find("\ntitle = t\n"), std::string::npos) << text.out;
}

TEST(PackInspect, ShowsAUtf8ConfigurationAsWritten) {
  packtest::TempDir dir;
  std::string config = packtest::CleanConfig();
  config.replace(config.find("title=Clean"), 11, "title=\xE6\xBC\x94\xE7\xA4\xBA");  // 演示 in UTF-8
  packtest::WriteSkin(dir / "skin", packtest::SkinWithConfig(config));
  const auto asWritten = packtest::Run({"inspect", (dir / "skin").string()});
  EXPECT_NE(asWritten.out.find("title = 演示\n"), std::string::npos) << asWritten.out;
  EXPECT_NE(asWritten.out.find("config/cg.txt is UTF-8, so its texts are shown as written"), std::string::npos);
  const auto converted = packtest::Run({"inspect", (dir / "skin").string(), "--from-utf8"});
  EXPECT_NE(converted.out.find("title = 演示\n"), std::string::npos) << converted.out;
  EXPECT_EQ(converted.out.find("is UTF-8"), std::string::npos) << converted.out;
  // GBK is what the launcher shows on any system; UTF-8 it would garble.
  const std::string anySystem = "the launcher shows them as these characters on Windows of any language";
  EXPECT_NE(converted.out.find(anySystem), std::string::npos) << converted.out;
  EXPECT_EQ(asWritten.out.find(anySystem), std::string::npos) << asWritten.out;
}

// Which pictures have @2x forms, of which sizes, and which of those the
// launcher can show: in a folder, and in the exe it is packed into, where
// pack has put the @2x forms of the launcher's pictures too.
TEST(PackInspect, ListsThePicturesWithTheirDoubleSizeForms) {
  packtest::TempDir dir;
  std::vector<SkinFile> files = packtest::SkinWithConfig(packtest::CleanConfig() + "[global]\ndpiScaling=1\n");
  files.push_back({"config/logo@2x.png", packtest::SolidPng(16, 16, packtest::kLogo)});
  files.push_back({"config/main1@2x.png", packtest::SolidPng(201, 160, packtest::kBackground)});
  files.push_back({"config/3_n@2x.png", packtest::SolidPng(40, 40, packtest::kButtonNormal)});
  packtest::WriteSkin(dir / "skin", files);
  const auto text = packtest::Run({"inspect", (dir / "skin").string()});
  ASSERT_EQ(text.status, 0) << text.err;
  EXPECT_NE(text.out.find("pictures and their @2x forms (twice the size, shown in their place from 150 % on with "
                          "dpiScaling=1):\n"
                          "  config/2_d.png 20 × 20; no @2x\n"
                          "  config/2_n.png 20 × 20; no @2x\n"
                          "  config/3_n.png missing; @2x: config/3_n@2x.png 40 × 40, never shown without its 1x "
                          "picture\n"
                          "  config/logo.png 8 × 8; @2x: config/logo@2x.png 16 × 16\n"
                          "  config/main1.png 100 × 80; @2x: config/main1@2x.png 201 × 160, not twice the size: "
                          "never shown\n"
                          "  config/style.png 40 × 40; no @2x\n\n"),
            std::string::npos)
      << text.out;
  EXPECT_EQ(text.out.find("dpiScaling is not 1"), std::string::npos) << text.out;

  const std::string exe = PackedProgram(dir);
  ASSERT_FALSE(exe.empty());
  const auto json = packtest::ParseJson(packtest::Run({"inspect", exe, "--json"}).out);
  ASSERT_TRUE(json);
  const Json& pictures = json->at("pictures");
  ASSERT_EQ(pictures.size(), 6u) << pictures.dump();
  EXPECT_EQ(pictures.at(0), Json::parse(R"({"name": "config/2_d.png", "present": true,
                                            "size": {"width": 20, "height": 20}, "doubleSize": null})"));
  EXPECT_EQ(pictures.at(2), Json::parse(R"({"name": "config/3_n.png", "present": false, "size": null,
                                            "doubleSize": {"name": "config/3_n@2x.png",
                                                           "size": {"width": 40, "height": 40}, "fits": false}})"));
  EXPECT_EQ(pictures.at(3), Json::parse(R"({"name": "config/logo.png", "present": true,
                                            "size": {"width": 8, "height": 8},
                                            "doubleSize": {"name": "config/logo@2x.png",
                                                           "size": {"width": 16, "height": 16}, "fits": true}})"));
  EXPECT_EQ(pictures.at(4).at("doubleSize").at("fits"), false);

  // A skin that keeps physical pixels shows none of them, and inspect says so.
  packtest::WriteFile(dir / "skin/config/cg.txt", packtest::CleanConfig());
  const auto fixed = packtest::Run({"inspect", (dir / "skin").string()});
  EXPECT_NE(fixed.out.find("config/main1@2x.png 201 × 160, not twice the size: never shown\n"
                           "  config/style.png 40 × 40; no @2x\n"
                           "dpiScaling is not 1: the launcher keeps physical pixels and shows none of the @2x "
                           "pictures\n"),
            std::string::npos)
      << fixed.out;
}
