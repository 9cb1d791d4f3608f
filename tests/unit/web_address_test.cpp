#include "common/web_address.h"

#include <gtest/gtest.h>

TEST(WebAddress, OnlyHttpAndHttpsInAnyLetterCase) {
  struct Case {
    const char* address;
    bool web;
  } cases[] = {
      {"http://a/", true},         {"HTTPS://A/", true},   {"hTtP://", true},
      {"http:/a", false},          {"https:a", false},     {" http://a/", false},
      {"file:///C:/a.exe", false}, {"javascript:x", false}, {"\\\\host\\share", false},
      {"", false},
  };
  for (const Case& c : cases) EXPECT_EQ(IsWebAddress(c.address), c.web) << c.address;
}

TEST(ShellAddress, ControlCharactersRefuseAndSpacesAndQuotesAreEncoded) {
  struct Case {
    std::string address;
    std::optional<std::string> shell;
  } cases[] = {
      {"http://a/b?c=1&d=2", "http://a/b?c=1&d=2"},
      {"http://a/my page.html", "http://a/my%20page.html"},
      {"http://a/\" -x \"", "http://a/%22%20-x%20%22"},
      {"http://a/%20", "http://a/%20"},  // already encoded: kept as it is
      // GBK: "区" is C7 F8, "乗" 81 5C, whose trail byte is a backslash.
      {"http://a/\xC7\xF8\x81\x5C", "http://a/\xC7\xF8\x81\x5C"},
      {"http://a/\r\nb", std::nullopt},
      {"http://a/\tb", std::nullopt},
      {std::string("http://a/\0b", 11), std::nullopt},
      {"http://a/\x7F", std::nullopt},
      {"", ""},
  };
  for (const Case& c : cases) EXPECT_EQ(ShellAddress(c.address), c.shell) << c.address;
}

// A page's address keeps its characters beyond ASCII; the same refusals and
// encodings hold for it.
TEST(ShellAddress, WideAddressesFollowTheSameRules) {
  struct Case {
    std::wstring address;
    std::optional<std::wstring> shell;
  } cases[] = {
      {L"http://a/my page.html", L"http://a/my%20page.html"},
      {L"http://a/\" -x \"", L"http://a/%22%20-x%20%22"},
      {L"http://a/\u533A\uFF3C\u0100", L"http://a/\u533A\uFF3C\u0100"},
      {L"http://a/\r\nb", std::nullopt},
      {std::wstring(L"http://a/\0b", 11), std::nullopt},
      {L"http://a/\x7F", std::nullopt},
      {L"", L""},
  };
  for (const Case& c : cases) EXPECT_EQ(ShellAddress(c.address), c.shell);
}
