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

// A link goes to the shell as written, spaces, quotes and percent signs
// included; only a control character refuses it.
TEST(ShellMayOpen, RefusesControlCharactersOnly) {
  struct Case {
    std::wstring link;
    bool opens;
  } cases[] = {
      {L"C:\\Program Files\\Game Tools\\help.chm", true},
      {L"\"C:\\my docs\\a b.exe\" -x", true},
      {L"http://a/b?c=1&d=2%20", true},
      {L"http://a/\u533A\uFF3C\u0100", true},
      {L"", true},
      {L"http://a/\r\nb", false},
      {L"\tC:\\a.exe", false},
      {std::wstring(L"http://a/\0b", 11), false},
      {L"http://a/\x1F", false},
      {L"http://a/\x7F", false},
  };
  for (const Case& c : cases) EXPECT_EQ(ShellMayOpen(c.link), c.opens) << c.link.size();
}

// What a page supplies keeps everything but its spaces and double quotes,
// which a program started for it could split at or end its quoting with.
TEST(EncodePageAddress, SpacesAndQuotesOnly) {
  struct Case {
    std::wstring address, encoded;
  } cases[] = {
      {L"http://a/b?c=1&d=2", L"http://a/b?c=1&d=2"},
      {L"http://a/my page.html", L"http://a/my%20page.html"},
      {L"http://a/\" -x \"", L"http://a/%22%20-x%20%22"},
      {L"http://a/%20", L"http://a/%20"},  // already encoded: kept as it is
      {L"http://a/\u533A\uFF3C\u0100", L"http://a/\u533A\uFF3C\u0100"},
      {L"http://a/\r\n", L"http://a/\r\n"},  // refused when opened, not here
      {L"", L""},
  };
  for (const Case& c : cases) EXPECT_EQ(EncodePageAddress(c.address), c.encoded);
}
