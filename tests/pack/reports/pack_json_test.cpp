// The reports for programs: check --json says what the text report says,
// finding by finding; keys --json and schema hold the launcher's key table.
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "pack_test_skin.h"
#include "package/launcher_config.h"

namespace {

using Json = nlohmann::json;

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

// A finding of the JSON report written as the text report writes it.
std::string AsText(const Json& f) {
  std::string text = f.at("file").get<std::string>();
  if (!f.at("line").is_null()) text += ":" + std::to_string(f.at("line").get<std::int64_t>());
  text += ": " + f.at("severity").get<std::string>() + ": ";
  if (!f.at("section").get<std::string>().empty()) text += "[" + f.at("section").get<std::string>() + "] ";
  if (!f.at("key").get<std::string>().empty()) text += f.at("key").get<std::string>() + ": ";
  return text + f.at("message").get<std::string>();
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
  for (const Json& f : report->at("findings")) {
    found.push_back(AsText(f));
    errors += f.at("severity").get<std::string>() == "error";
  }
  EXPECT_EQ(found, expected);
  EXPECT_EQ(report->at("errors").get<std::int64_t>(), errors);
  EXPECT_EQ(report->at("warnings").get<std::int64_t>(), static_cast<std::int64_t>(found.size()) - errors);
  EXPECT_EQ(report->at("findings").at(0).at("line").get<std::int64_t>(), 27);
  EXPECT_EQ(report->at("findings").at(0).at("section").get<std::string>(), "link1");
}

TEST(PackJson, CheckOfACleanSkinHasNoFindings) {
  packtest::TempDir dir;
  packtest::WriteSkin(dir / "skin", packtest::CleanSkin());
  const auto result = packtest::Run({"check", (dir / "skin").string(), "--json"});
  EXPECT_EQ(result.status, 0);
  const auto report = packtest::ParseJson(result.out);
  ASSERT_TRUE(report) << result.out;
  EXPECT_TRUE(report->at("findings").empty());
  EXPECT_EQ(report->at("errors").get<std::int64_t>(), 0);
}

TEST(PackJson, KeysHoldTheLaunchersTable) {
  const auto result = packtest::Run({"keys", "--json"});
  ASSERT_EQ(result.status, 0);
  const auto keys = packtest::ParseJson(result.out);
  ASSERT_TRUE(keys) << result.out;
  const auto table = ConfigKeys();
  ASSERT_EQ(keys->size(), table.size());
  for (std::size_t i = 0; i < table.size(); ++i) {
    const Json& k = keys->at(i);
    const KeyInfo& info = table[i];
    EXPECT_EQ(k.at("section").get<std::string>(), info.section);
    EXPECT_EQ(k.at("key").get<std::string>(), info.key);
    EXPECT_FALSE(k.at("meaning").get<std::string>().empty()) << info.key;
    if (info.kind == KeyKind::kText) {
      EXPECT_EQ(k.at("kind").get<std::string>(), "text");
      EXPECT_EQ(k.at("maxBytes").get<std::int64_t>(), info.width - 1) << info.key;
      EXPECT_EQ(k.at("default").get<std::string>(), info.defaultText) << info.key;
    } else {
      EXPECT_EQ(k.at("kind").get<std::string>(), info.kind == KeyKind::kColour ? "colour" : "integer");
      EXPECT_EQ(k.at("default").get<std::int64_t>(), info.defaultNumber) << info.key;
    }
  }
}

TEST(PackJson, TheSchemaDescribesEveryKeyAndNothingElse) {
  const auto result = packtest::Run({"schema"});
  ASSERT_EQ(result.status, 0);
  const auto schema = packtest::ParseJson(result.out);
  ASSERT_TRUE(schema) << result.out;
  EXPECT_FALSE(schema->at("additionalProperties").get<bool>());
  const auto sectionOf = [&](const std::string& section) -> const Json& {
    if (section == "global") return schema->at("properties").at("global");
    return schema->at("patternProperties").at("^" + section + "[1-9][0-9]*$");
  };
  std::size_t described = 0;
  for (const std::string section : {"global", "link", "gamePic", "gamebutton", "menu"}) {
    EXPECT_FALSE(sectionOf(section).at("additionalProperties").get<bool>()) << section;
    described += sectionOf(section).at("properties").size();
  }
  EXPECT_EQ(described, ConfigKeys().size());
  for (const KeyInfo& info : ConfigKeys()) {
    const Json& key = sectionOf(info.section).at("properties").at(info.key);
    EXPECT_EQ(key.at("type").get<std::string>(), info.kind == KeyKind::kText ? "string" : "integer") << info.key;
    if (info.kind == KeyKind::kText) {
      EXPECT_EQ(key.at("maxLength").get<std::int64_t>(), info.width - 1) << info.key;
    }
  }
  std::vector<std::int64_t> linkTypes;
  for (const Json& v : sectionOf("link").at("properties").at("type").at("enum"))
    linkTypes.push_back(v.get<std::int64_t>());
  EXPECT_EQ(linkTypes, (std::vector<std::int64_t>{1, 2, 3, 4}));
}
