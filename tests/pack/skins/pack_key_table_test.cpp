#include <gtest/gtest.h>

#include <fstream>
#include <set>
#include <sstream>
#include <string>

#include "package/launcher_config.h"
#include "skins/key_table.h"

TEST(PackKeyTable, EveryKeyHasOneMeaningAndEveryMeaningAKey) {
  std::multiset<std::string> keys, meanings;
  for (const KeyInfo& key : ConfigKeys()) keys.insert(std::string(key.section) + " " + key.key);
  for (const KeyMeaning& meaning : KeyMeanings()) meanings.insert(std::string(meaning.section) + " " + meaning.key);
  EXPECT_EQ(meanings, keys);
}

TEST(PackKeyTable, TheReadmeShowsTheTableAsTheLauncherDefinesIt) {
  std::ifstream readme(LAUNCHER_SOURCE_DIR "/README.md");
  std::stringstream text;
  text << readme.rdbuf();
  EXPECT_NE(text.str().find(KeyTableMarkdown()), std::string::npos)
      << "README.md's key table is not the launcher's: paste in the output of `launcher-pack keys`";
}

TEST(PackKeyTable, RowsNameKindAndDefault) {
  const std::string table = KeyTableMarkdown();
  const char* rows[] = {
      "| `[global]` | `minGameWidth` | integer | 800 |",
      "| `[global]` | `title` | text, ≤ 127 bytes | empty |",
      "| `[global]` | `loginCenterColor` | colour | 16777215 (white) |",
      "| `[global]` | `edgeImage5` | integer | 9 |",
      "| `[linkN]` | `url` | text, ≤ 255 bytes | `_blank` |",
      "| `[gamebuttonN]` | `color` | colour | 16777215 (white) |",
  };
  for (const char* row : rows) EXPECT_NE(table.find(row), std::string::npos) << row;
}
