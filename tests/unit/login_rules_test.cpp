#include "login/login_rules.h"

#include <gtest/gtest.h>

namespace {

LinkSpec Link(int type, int x = 0, int y = 0, int width = 0, int height = 0) {
  LinkSpec l;
  l.type = type;
  l.x = x;
  l.y = y;
  l.width = width;
  l.height = height;
  return l;
}

}  // namespace

TEST(PlanLinks, ButtonsKeepTheirLinkNumberAndHtmlAreasCountFrom150) {
  const std::vector<PlannedLink> plan =
      PlanLinks({Link(1), Link(9), Link(4, 10, 20, 300, 200), Link(1), Link(2), Link(4, 1, 2, 3, 4), Link(3), Link(0)});
  const std::vector<PlannedLink> expected = {
      {LinkKind::kButton, 1, 201, {}},
      {LinkKind::kNone, 2, 0, {}},
      {LinkKind::kHtmlArea, 3, 150, {10, 20, 310, 220}},
      {LinkKind::kButton, 4, 201, {}},  // pictures config/4_n.png and config/4_d.png
      {LinkKind::kButton, 5, 202, {}},
      {LinkKind::kHtmlArea, 6, 151, {1, 2, 4, 6}},
      {LinkKind::kButton, 7, 203, {}},
      {LinkKind::kNone, 8, 0, {}},
  };
  EXPECT_EQ(plan, expected);
  // Absurd sizes stay at the int range instead of overflowing.
  EXPECT_EQ(PlanLinks({Link(4, 2147483000, -2147483000, 1000, -1000)})[0].rect,
            (Rect{2147483000, -2147483000, 2147483647, -2147483647 - 1}));
  EXPECT_EQ(ButtonImageName(4, false), "config/4_n.png");
  EXPECT_EQ(ButtonImageName(12, true), "config/12_d.png");
}

TEST(HandOverAddress, OnlyAWebAddressAfterExactlyTheHeader) {
  const char* header = "client://loadgame|";
  struct Case {
    const char* address;
    const char* header;
    std::optional<std::string> handed;
  } cases[] = {
      {"client://loadgame|http://game/s1", header, "http://game/s1"},
      {"client://loadgame|", header, std::nullopt},  // nothing after the header
      {"client://loadgame|HTTPS://game/s1", header, "HTTPS://game/s1"},
      {"http://a/?client://loadgame|http://x", header, std::nullopt},  // header later in the address
      {"CLIENT://loadgame|http://x", header, std::nullopt},            // letter case of the header counts
      {"client://load", header, std::nullopt},
      // Whatever is not a web page stays where it is.
      {"client://loadgame|x", header, std::nullopt},
      {"client://loadgame|javascript:alert(1)", header, std::nullopt},
      {"client://loadgame|file:///C:/Windows/win.ini", header, std::nullopt},
      {"client://loadgame|\\\\host\\share\\a.exe", header, std::nullopt},
      {"client://loadgame| http://x", header, std::nullopt},
      {"client://loadgame|http:/x", header, std::nullopt},
      {"http://game/s1", "", "http://game/s1"},  // an empty header hands over every web address
      {"about:blank", "", std::nullopt},
      {"", "", std::nullopt},
  };
  for (const Case& c : cases) EXPECT_EQ(HandOverAddress(c.address, c.header), c.handed) << c.address;
}

TEST(LoginKeyFilters, EnterAndEscapeNeverCloseAndTheBackgroundDropsShortcuts) {
  EXPECT_EQ(CompanionKeyFilter(0x0D), KeyFilter::kPassThrough);
  EXPECT_EQ(CompanionKeyFilter(0x1B), KeyFilter::kPassThrough);
  EXPECT_EQ(CompanionKeyFilter(0x09), KeyFilter::kDialogHandling);
  EXPECT_EQ(CompanionKeyFilter(0x70), KeyFilter::kDialogHandling);
  struct Case {
    unsigned key;
    bool control, shift;
    KeyFilter filter;
  } cases[] = {
      {0x0D, false, false, KeyFilter::kPassThrough}, {0x1B, true, false, KeyFilter::kPassThrough},
      {0x70, false, false, KeyFilter::kDrop},        {0x7B, false, false, KeyFilter::kDrop},
      {0x6F, false, false, KeyFilter::kDialogHandling}, {0x7C, false, false, KeyFilter::kDialogHandling},
      {'A', true, false, KeyFilter::kDrop},          {'A', false, true, KeyFilter::kDrop},
      {'A', false, false, KeyFilter::kDialogHandling},
  };
  for (const Case& c : cases) EXPECT_EQ(BackgroundKeyFilter(c.key, c.control, c.shift), c.filter) << c.key;
}
