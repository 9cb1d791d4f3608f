#include "browser/browser_mode.h"

#include <gtest/gtest.h>

#include <vector>

TEST(BrowserMode, TheModesAreTheFeatureControlsOwn) {
  const std::vector<std::uint32_t> modes(BrowserModes().begin(), BrowserModes().end());
  EXPECT_EQ(modes, (std::vector<std::uint32_t>{7000, 8000, 8888, 9000, 9999, 10000, 10001, 11000, 11001}));
}

TEST(BrowserMode, OnlyAModeIsRegisteredAndZeroRegistersNothing) {
  struct Case {
    std::int64_t configured;
    std::optional<std::uint32_t> registered;
    bool valid;
  } cases[] = {
      {0, std::nullopt, true},       {11001, 11001u, true},        {7000, 7000u, true},
      {8888, 8888u, true},           {11002, std::nullopt, false}, {11, std::nullopt, false},
      {-11001, std::nullopt, false}, {1, std::nullopt, false},     {11001 + (1ll << 32), std::nullopt, false},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(BrowserModeToRegister(c.configured), c.registered) << c.configured;
    EXPECT_EQ(IsValidBrowserMode(c.configured), c.valid) << c.configured;
  }
}

TEST(BrowserMode, TheValueIsNamedAfterTheProgramFileWithoutItsDirectory) {
  struct Case {
    std::u16string path, name;
  } cases[] = {
      {u"C:\\Games\\Star Sea\\MyGame.exe", u"MyGame.exe"},
      {u"C:\\\u6e38\u620f\\\u661f\u6d77.exe", u"\u661f\u6d77.exe"},
      {u"Z:/build/win32_tests.exe", u"win32_tests.exe"},
      {u"Launcher.exe", u"Launcher.exe"},
      {u"C:\\dir.with.dots\\noextension", u"noextension"},
  };
  for (const Case& c : cases) EXPECT_EQ(BrowserModeValueName(c.path), c.name);
}
