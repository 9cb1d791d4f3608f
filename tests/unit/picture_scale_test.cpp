#include "package/picture_scale.h"

#include <gtest/gtest.h>

TEST(PictureScale, TheDoubleSizeNameCarriesAt2xBeforeTheExtension) {
  struct Case {
    const char* name;
    const char* doubled;
  } cases[] = {
      {"config/logo.png", "config/logo@2x.png"},  {"config/12_n.png", "config/12_n@2x.png"},
      {"config/a.b.png", "config/a.b@2x.png"},    {"config/noext", "config/noext@2x"},
      {"conf.d/name", "conf.d/name@2x"},          {"main1.png", "main1@2x.png"},
      {"config/.png", "config/@2x.png"},
  };
  for (const Case& c : cases) EXPECT_EQ(DoubleSizeName(c.name), c.doubled) << c.name;
}

TEST(PictureScale, TheSingleSizeNameIsTheOneWhoseDoubleSizeNameItIs) {
  struct Case {
    const char* name;
    std::optional<std::string> single;
  } cases[] = {
      {"config/logo@2x.png", "config/logo.png"},
      {"config/12_n@2x.png", "config/12_n.png"},
      {"config/a.b@2x.png", "config/a.b.png"},
      {"config/noext@2x", "config/noext"},
      {"config/@2x.png", "config/.png"},
      {"main1@2x.png", "main1.png"},
      // Not where DoubleSizeName puts it, or not there at all.
      {"config/logo.png", std::nullopt},
      {"config/a@2x.b.png", std::nullopt},
      {"config/x.png@2x", std::nullopt},
      {"config/lo.go@2x", std::nullopt},
      {"conf@2x.d/name", std::nullopt},
      {"config/logo@2X.png", std::nullopt},
      {"@2x", ""},
      {"", std::nullopt},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(SingleSizeName(c.name), c.single) << c.name;
    if (c.single) {
      EXPECT_EQ(DoubleSizeName(*c.single), c.name);
    }
  }
}

TEST(PictureScale, DoubleSizePicturesAreWantedFrom150PercentOn) {
  EXPECT_FALSE(WantsDoubleSize(96));
  EXPECT_FALSE(WantsDoubleSize(120));
  EXPECT_FALSE(WantsDoubleSize(143));
  EXPECT_TRUE(WantsDoubleSize(144));
  EXPECT_TRUE(WantsDoubleSize(192));
  EXPECT_TRUE(WantsDoubleSize(288));
}

TEST(PictureScale, ADoubleSizePictureFitsOnlyAtExactlyTwiceTheSize) {
  EXPECT_TRUE(IsDoubleSizeOf({80, 40}, {40, 20}));
  EXPECT_FALSE(IsDoubleSizeOf({81, 40}, {40, 20}));
  EXPECT_FALSE(IsDoubleSizeOf({80, 41}, {40, 20}));
  EXPECT_FALSE(IsDoubleSizeOf({40, 20}, {40, 20}));
  EXPECT_FALSE(IsDoubleSizeOf({79, 39}, {40, 20}));
  EXPECT_FALSE(IsDoubleSizeOf({60, 30}, {40, 20}));
  // Twice a width beyond 2^31 is not the same width cut to 32 bits.
  EXPECT_FALSE(IsDoubleSizeOf({0, 2}, {0x80000000u, 1}));
}

TEST(PictureScale, TheChoiceTakesTheDoubleSizeFormFrom150PercentAndAlwaysShowsTheScaled1xSize) {
  const PictureSize single{40, 20};
  const PictureSize fits{80, 40}, wrong{80, 42};
  struct Case {
    int dpi;
    std::optional<PictureSize> doubleSize;
    PictureChoice choice;
  } cases[] = {
      {96, fits, {false, 40, 20}},           // 100 %: the 1x picture as it is
      {96, std::nullopt, {false, 40, 20}},
      {120, fits, {false, 50, 25}},          // 125 %: the 1x picture scaled
      {143, fits, {false, 60, 30}},
      {144, fits, {true, 60, 30}},           // 150 %: the @2x picture scaled down
      {144, std::nullopt, {false, 60, 30}},  // none: the 1x picture scaled up
      {144, wrong, {false, 60, 30}},         // the wrong size: left out
      {192, fits, {true, 80, 40}},           // 200 %: the @2x picture as it is
      {288, fits, {true, 120, 60}},
  };
  for (const Case& c : cases) EXPECT_EQ(ChoosePicture(DisplayScale(c.dpi), single, c.doubleSize), c.choice) << c.dpi;
}
