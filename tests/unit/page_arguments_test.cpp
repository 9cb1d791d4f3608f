#include "browser/page_arguments.h"

#include <gtest/gtest.h>

#include <climits>

using Pieces = std::vector<std::string>;

TEST(PageArguments, SplitsAtCommasSkippingEmptyPiecesUpToEight) {
  struct Case {
    std::string text;
    Pieces pieces;
  } cases[] = {
      {"2,100,200", {"2", "100", "200"}},
      {"", {}},
      {",,,", {}},
      {"a,,b", {"a", "b"}},
      {",a,", {"a"}},
      {"a b, c", {"a b", " c"}},
      {"\xD3\xCE,\xCF\xB7", {"\xD3\xCE", "\xCF\xB7"}},
      {"1,2,3,4,5,6,7,8,9,10", {"1", "2", "3", "4", "5", "6", "7", "8"}},
      {",,1,2,3,4,5,6,7,8", {"1", "2", "3", "4", "5", "6", "7", "8"}},
      {std::string("x\0y,z", 5), {"x"}},
  };
  for (const Case& c : cases) EXPECT_EQ(SplitPageArguments(c.text), c.pieces) << c.text;
}

TEST(PageArguments, EventTextIsCodeAndScreenPositionButNeverANegativeY) {
  struct Case {
    int code, x, y;
    std::optional<std::string> text;
  } cases[] = {
      {kPageEventRightDown, 100, 200, "2,100,200"}, {kPageEventRightUp, 0, 0, "3,0,0"},
      {kPageEventRightDown, -1280, 5, "2,-1280,5"}, {kPageEventRightUp, INT_MIN, INT_MAX, "3,-2147483648,2147483647"},
      {kPageEventRightDown, 10, -1, std::nullopt},  {kPageEventRightUp, 10, INT_MIN, std::nullopt},
  };
  for (const Case& c : cases) EXPECT_EQ(PageEventText(c.code, c.x, c.y), c.text) << c.x << "," << c.y;
}

TEST(PageArguments, EventTextSplitsIntoItsThreeArguments) {
  EXPECT_EQ(SplitPageArguments(*PageEventText(kPageEventRightDown, -7, 9)), (Pieces{"2", "-7", "9"}));
}
