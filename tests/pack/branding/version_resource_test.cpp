#include "branding/version_resource.h"

#include <gtest/gtest.h>

TEST(VersionNumber, ReadsUpToFourParts) {
  const struct {
    const char* text;
    std::optional<VersionNumber> number;
  } cases[] = {
      {"1", VersionNumber{1, 0, 0, 0}},
      {"1.01", VersionNumber{1, 1, 0, 0}},
      {"2.3.4.65535", VersionNumber{2, 3, 4, 65535}},
      {"", std::nullopt},
      {"1.", std::nullopt},
      {".1", std::nullopt},
      {"1.2.3.4.5", std::nullopt},
      {"1.65536", std::nullopt},
      {"1.2 beta", std::nullopt},
      {"-1", std::nullopt},
      {"v1", std::nullopt},
  };
  for (const auto& c : cases) EXPECT_EQ(ParseVersionNumber(c.text), c.number) << c.text;
}

TEST(VersionResource, ReadsBackWhatWasWritten) {
  VersionInfo info;
  info.fileVersion = {1, 2, 3, 4};
  info.productVersion = {5, 6, 0, 7};
  info.language = 0x0804;
  info.strings = {{"CompanyName", "星海游戏"},
                  {"FileDescription", "登录器 😀"},  // beyond the BMP: a surrogate pair
                  {"FileVersion", "1.2.3.4"},
                  {"ProductName", "A"},
                  {"LegalCopyright", "© 2024"}};
  const auto built = BuildVersionResource(info);
  ASSERT_TRUE(built);
  EXPECT_EQ(ReadVersionResource(*built), info);
  // Texts are UTF-16 in the resource: 星海 is U+661F U+6D77, the table is 080404b0.
  EXPECT_NE(built->find(std::string("\x1F\x66\x77\x6D", 4)), std::string::npos);
  EXPECT_NE(built->find(std::string("0\0" "8\0" "0\0" "4\0" "0\0" "4\0" "b\0" "0\0", 16)), std::string::npos);
  EXPECT_EQ(built->size() % 4, 0u);
  EXPECT_EQ(static_cast<unsigned char>((*built)[0]) | static_cast<unsigned char>((*built)[1]) << 8, built->size());
}

TEST(VersionResource, RefusesTextThatIsNotUtf8) {
  VersionInfo info;
  info.strings = {{"ProductName", "\xD0\xC7\xBA\xA3"}};  // 星海 in GBK
  EXPECT_FALSE(BuildVersionResource(info));
}

TEST(VersionResource, DamagedResourcesReadAsNothing) {
  VersionInfo info;
  info.strings = {{"ProductName", "Game"}};
  const std::string good = *BuildVersionResource(info);
  std::string longer = good;
  longer[0] = static_cast<char>(0xFF);
  std::string child = good;
  child[good.find(std::string("S\0t\0r", 5)) - 6] = 2;  // StringFileInfo's length below its own header
  for (const std::string& bad : {std::string(), good.substr(0, 40), longer, child, std::string(good.size(), '\0')})
    EXPECT_FALSE(ReadVersionResource(bad));
}

TEST(Utf16, RoundTripsAndRefusesMalformedInput) {
  for (const std::string text : {"", "ascii", "星海 · 游戏", "😀 and \xF4\x8F\xBF\xBF"}) {
    const auto wide = Utf8ToUtf16(text);
    ASSERT_TRUE(wide) << text;
    EXPECT_EQ(Utf16ToUtf8(*wide), text);
  }
  EXPECT_EQ(Utf8ToUtf16("😀"), std::u16string(u"\xD83D\xDE00"));
  EXPECT_FALSE(Utf8ToUtf16("\xC0\x80"));
  EXPECT_FALSE(Utf8ToUtf16("\xED\xA0\x80"));
  EXPECT_FALSE(Utf16ToUtf8(std::u16string(1, char16_t(0xD800))));
  EXPECT_FALSE(Utf16ToUtf8(std::u16string(1, char16_t(0xDC00))));
}
