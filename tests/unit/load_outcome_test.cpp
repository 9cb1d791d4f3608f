#include "package/load_outcome.h"

#include <gtest/gtest.h>

#include <string>

// The player is told why start-up stopped where a text exists for it; the
// rest ends silently, as it always has.
TEST(LoadOutcome, EachFailureHasItsBoxTextOrNone) {
  struct Case {
    LoadOutcome outcome;
    const char* text;  // GBK; null: no box
  } cases[] = {
      {LoadOutcome::kLoaded, nullptr},
      {LoadOutcome::kProgramUnreadable, nullptr},
      {LoadOutcome::kMappingFailed, "CreateMapFile fail"},
      {LoadOutcome::kNoPackage,  // 没有附加配置文件,请打包配置文件
       "\xC3\xBB\xD3\xD0\xB8\xBD\xBC\xD3\xC5\xE4\xD6\xC3\xCE\xC4\xBC\xFE,\xC7\xEB\xB4\xF2\xB0\xFC\xC5\xE4\xD6\xC3\xCE\xC4\xBC\xFE"},
      {LoadOutcome::kNotAnArchive, "OpenZip\xCA\xA7\xB0\xDC"},                                   // OpenZip失败
      {LoadOutcome::kConfigMissing, "\xB6\xC1\xC8\xA1ini\xCE\xC4\xBC\xFE\xCA\xA7\xB0\xDC"},      // 读取ini文件失败
      {LoadOutcome::kConfigUnreadable, "\xD7\xB0\xD4\xD8ini\xCE\xC4\xBC\xFE\xCA\xA7\xB0\xDC"},   // 装载ini文件失败
      {LoadOutcome::kPictureMissing, "\xB6\xC1\xC8\xA1\xCD\xBC\xC6\xAC\xCA\xA7\xB0\xDC"},        // 读取图片失败
      {LoadOutcome::kPictureNoMemory, nullptr},
      {LoadOutcome::kPictureUndecodable, nullptr},
  };
  for (const Case& c : cases) {
    const char* text = FailureText(c.outcome);
    if (c.text == nullptr)
      EXPECT_EQ(text, nullptr) << static_cast<int>(c.outcome);
    else
      EXPECT_EQ(std::string(text != nullptr ? text : "(none)"), c.text) << static_cast<int>(c.outcome);
  }
}
