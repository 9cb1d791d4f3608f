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
    std::string path, name;
  } cases[] = {
      {"C:\\Games\\Star Sea\\MyGame.exe", "MyGame.exe"},
      {"C:\\\xE6\xB8\xB8\xE6\x88\x8F\\\xE6\x98\x9F\xE6\xB5\xB7.exe", "\xE6\x98\x9F\xE6\xB5\xB7.exe"},  // 游戏\星海.exe
      {"Z:/build/win32_tests.exe", "win32_tests.exe"},
      {"Launcher.exe", "Launcher.exe"},
      {"C:\\dir.with.dots\\noextension", "noextension"},
  };
  for (const Case& c : cases) EXPECT_EQ(BrowserModeValueName(c.path), c.name);
}
