// The reports for programs: check --json says what the text report says,
// finding by finding; keys --json and schema hold the launcher's key table.
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "pack_json_reader.h"
#include "pack_test_skin.h"
#include "package/launcher_config.h"

namespace {

using packtest::Json;

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

// A finding of the JSON report written as the text report writes it.
std::string AsText(const Json& f) {
  std::string text = f["file"].text;
  if (f["line"].type != Json::Type::kNull) text += ":" + std::to_string(f["line"].number);
  text += ": " + f["severity"].text + ": ";
  if (!f["section"].text.empty()) text += "[" + f["section"].text + "] ";
  if (!f["key"].text.empty()) text += f["key"].text + ": ";
  return text + f["message"].text;
}

}  // namespace

TEST(PackJson, CheckGivesEachFindingWithItsPlace) {
  packtest::TempDir dir;
  std::string config = packtest::CleanConfig();
  config.replace(config.find("[link2]"), 7, "[link2");  // findings on lines, off lines, errors and warnings
  auto files = packtest::SkinWithConfig(config);
  packtest::WriteSkin(dir / "skin", files);
  const auto text = packtest::Run({"check", (dir / "skin").string()});
  const auto json = packtest::Run({"check", (dir / "skin").string(), "--json"});
  EXPECT_EQ(json.status, text.status);
  const auto report = packtest::ParseJson(json.out);
  ASSERT_TRUE(report) << json.out;
  std::vector<std::string> expected = Lines(text.out);
  ASSERT_GT(expected.size(), 2u);
  expected.pop_back();  // the summary line
  std::vector<std::string> found;
  int errors = 0;
  for (const Json& f : (*report)["findings"].items) {
    found.push_back(AsText(f));
    errors += f["severity"].text == "error";
  }
  EXPECT_EQ(found, expected);
  EXPECT_EQ((*report)["errors"].number, errors);
  EXPECT_EQ((*report)["warnings"].number, static_cast<std::int64_t>(found.size()) - errors);
  EXPECT_EQ((*report)["findings"][0]["line"].number, 27);
  EXPECT_EQ((*report)["findings"][0]["section"].text, "link1");
}

TEST(PackJson, CheckOfACleanSkinHasNoFindings) {
  packtest::TempDir dir;
  packtest::WriteSkin(dir / "skin", packtest::CleanSkin());
  const auto result = packtest::Run({"check", (dir / "skin").string(), "--json"});
  EXPECT_EQ(result.status, 0);
  const auto report = packtest::ParseJson(result.out);
  ASSERT_TRUE(report) << result.out;
  EXPECT_TRUE((*report)["findings"].items.empty());
  EXPECT_EQ((*report)["errors"].number, 0);
}

TEST(PackJson, KeysHoldTheLaunchersTable) {
  const auto result = packtest::Run({"keys", "--json"});
  ASSERT_EQ(result.status, 0);
  const auto keys = packtest::ParseJson(result.out);
  ASSERT_TRUE(keys) << result.out;
  const auto table = ConfigKeys();
  ASSERT_EQ(keys->items.size(), table.size());
  for (std::size_t i = 0; i < table.size(); ++i) {
    const Json& k = (*keys)[i];
    const KeyInfo& info = table[i];
    EXPECT_EQ(k["section"].text, info.section);
    EXPECT_EQ(k["key"].text, info.key);
    EXPECT_FALSE(k["meaning"].text.empty()) << info.key;
    if (info.kind == KeyKind::kText) {
      EXPECT_EQ(k["kind"].text, "text");
      EXPECT_EQ(k["maxBytes"].number, info.width - 1) << info.key;
      EXPECT_EQ(k["default"].text, info.defaultText) << info.key;
    } else {
      EXPECT_EQ(k["kind"].text, info.kind == KeyKind::kColour ? "colour" : "integer");
      EXPECT_EQ(k["default"].number, info.defaultNumber) << info.key;
    }
  }
}

TEST(PackJson, TheSchemaDescribesEveryKeyAndNothingElse) {
  const auto result = packtest::Run({"schema"});
  ASSERT_EQ(result.status, 0);
  const auto schema = packtest::ParseJson(result.out);
  ASSERT_TRUE(schema) << result.out;
  EXPECT_FALSE((*schema)["additionalProperties"].boolean);
  const auto sectionOf = [&](const std::string& section) -> const Json& {
    if (section == "global") return (*schema)["properties"]["global"];
    return (*schema)["patternProperties"]["^" + section + "[1-9][0-9]*$"];
  };
  std::size_t described = 0;
  for (const std::string section : {"global", "link", "gamePic", "gamebutton", "menu"}) {
    EXPECT_FALSE(sectionOf(section)["additionalProperties"].boolean) << section;
    described += sectionOf(section)["properties"].fields.size();
  }
  EXPECT_EQ(described, ConfigKeys().size());
  for (const KeyInfo& info : ConfigKeys()) {
    const Json& key = sectionOf(info.section)["properties"][info.key];
    EXPECT_EQ(key["type"].text, info.kind == KeyKind::kText ? "string" : "integer") << info.key;
    if (info.kind == KeyKind::kText) EXPECT_EQ(key["maxLength"].number, info.width - 1) << info.key;
  }
  std::vector<std::int64_t> linkTypes;
  for (const Json& v : sectionOf("link")["properties"]["type"]["enum"].items) linkTypes.push_back(v.number);
  EXPECT_EQ(linkTypes, (std::vector<std::int64_t>{1, 2, 3, 4}));
}
