#include <gtest/gtest.h>

#include "update/server_url.h"

TEST(LastPathComponent, IsWhatFollowsTheLastSlashOrBackslash) {
  struct Case {
    const char* path;
    const char* last;
  } cases[] = {
      {"/static/version.txt", "version.txt"},
      {"version.txt", "version.txt"},
      {"/a\\b/c\\Launcher.exe", "Launcher.exe"},
      {"/dir/", ""},
      {"", ""},
      {"/", ""},
      {"/\xB1\\a", "a"},  // byte by byte: the trail byte 0x5C of 盶 counts as a backslash
  };
  for (const Case& c : cases) EXPECT_EQ(LastPathComponent(c.path), c.last) << c.path;
}

TEST(BuildServerUrl, AddsTheSchemeUnlessPresentAndAlwaysThePort) {
  struct Case {
    const char* server;
    std::int32_t port;
    const char* path;
    const char* url;
  } cases[] = {
      {"update.example", 80, "/static/version.txt", "http://update.example:80/static/version.txt"},
      {"http://update.example", 8080, "/v.txt", "http://update.example:8080/v.txt"},
      {"HTTP://update.example", 80, "/v.txt", "HTTP://update.example:80/v.txt"},
      {"hTtP://h", 80, "/v.txt", "hTtP://h:80/v.txt"},
      {"h", -1, "/v.txt", "http://h:-1/v.txt"},
      {"h", 0, "/v.txt", "http://h:0/v.txt"},
      {"h", -2147483647 - 1, "/v", "http://h:-2147483648/v"},
      {"h", 80, "", "http://h:80"},                        // an empty path asks for the server's root
      {"h", 80, "v.txt", "http://h:80v.txt"},              // the path is taken as it is
      {"https://h", 443, "/v", "https://h:443/v"},  // https is used as it is, its port written too
      {"HTTPS://h", 8443, "/v", "HTTPS://h:8443/v"},
      {"hTtPs://h", 80, "/v", "hTtPs://h:80/v"},
      {"https:/h", 443, "/v", "http://https:/h:443/v"},  // no scheme but the two, each whole
      {"httpss://h", 443, "/v", "http://httpss://h:443/v"},
      {"ftp://h", 21, "/v", "http://ftp://h:21/v"},
      {"http:/", 80, "/v", "http://http:/:80/v"},
  };
  for (const Case& c : cases) EXPECT_EQ(BuildServerUrl(c.server, c.port, c.path), c.url) << c.server;
  EXPECT_EQ(BuildServerUrl("", 80, "/v.txt"), std::nullopt);
}

TEST(DownloadPrefix, IsTheTickCountAsASignedNumberAndTheUnguessableOneInHex) {
  EXPECT_EQ(DownloadPrefix(917, 0x00c0ffee12345678), "917-00c0ffee12345678-");
  EXPECT_EQ(DownloadPrefix(0, 0), "0-0000000000000000-");
  EXPECT_EQ(DownloadPrefix(2147483647u, ~0ull), "2147483647-ffffffffffffffff-");
  EXPECT_EQ(DownloadPrefix(2147483648u, 1), "-2147483648-0000000000000001-");  // after ~24.8 days of uptime
  EXPECT_EQ(DownloadPrefix(0xFFFFFFFFu, 0x10), "-1-0000000000000010-");
  EXPECT_NE(DownloadPrefix(1000, 7), DownloadPrefix(1001, 7));  // two checks, two names
  EXPECT_NE(DownloadPrefix(1000, 7), DownloadPrefix(1000, 8));  // and a name nobody can plant ahead
}

TEST(DownloadPath, JoinsTheWorkingDirectoryThePrefixAndTheLastComponent) {
  EXPECT_EQ(DownloadPath("C:\\Games", "917", "/static/version.txt"), "C:\\Games\\917version.txt");
  EXPECT_EQ(DownloadPath("C:\\Games", "-5", "/x/Launcher.exe"), "C:\\Games\\-5Launcher.exe");
  EXPECT_EQ(DownloadPath("C:\\Games", "917", ""), "C:\\Games\\917");  // empty path: the prefix alone
  EXPECT_EQ(DownloadPath("C:\\", "917", "/v.txt"), "C:\\\\917v.txt");
  // 259 characters fit a path buffer; 260 do not.
  const std::string dir(250, 'd');
  EXPECT_EQ(DownloadPath(dir, "917", "/abcde")->size(), 259u);
  EXPECT_EQ(DownloadPath(dir, "917", "/abcdef"), std::nullopt);
  // Counted as the system holds them, in UTF-16 units, not in UTF-8 bytes:
  // 游 takes three bytes and one unit, an emoji four bytes and two units.
  std::string chinese;
  for (int i = 0; i < 250; ++i) chinese += "\xE6\xB8\xB8";
  EXPECT_TRUE(DownloadPath(chinese, "917", "/abcde").has_value());
  EXPECT_EQ(DownloadPath(chinese, "917", "/abcdef"), std::nullopt);
  std::string emoji;
  for (int i = 0; i < 125; ++i) emoji += "\xF0\x9F\x8E\xAE";
  EXPECT_TRUE(DownloadPath(emoji, "917", "/abcde").has_value());
  EXPECT_EQ(DownloadPath(emoji, "917", "/abcdef"), std::nullopt);
}

TEST(IsEarlierDownload, IsASignedTickCountAndTheLastComponent) {
  struct Case {
    const char* name;
    const char* serverPath;
    bool earlier;
  } cases[] = {
      {"917Launcher_new.exe", "/static/Launcher_new.exe", true},
      {"-2147483648version.txt", "/v/version.txt", true},
      {"4294967295version.txt", "version.txt", true},
      {"Launcher_new.exe", "/static/Launcher_new.exe", false},      // no prefix: the operator's own file
      {"-Launcher_new.exe", "/static/Launcher_new.exe", false},
      {"12345678901version.txt", "/version.txt", false},            // more digits than a tick count has
      {"9x1version.txt", "/version.txt", false},
      {"917launcher_new.exe", "/static/Launcher_new.exe", false},   // named as created, letter case included
      {"917", "", false},                                           // bare numbers could be anyone's
      {"917", "/static/", false},
      {"917version.txt.bak", "/version.txt", false},
      {"917-00c0ffee12345678-Launcher_new.exe", "/static/Launcher_new.exe", true},
      {"-5-00c0ffee12345678-version.txt", "/version.txt", true},
      {"917-00C0FFEE12345678-version.txt", "/version.txt", false},  // not the launcher's lower-case digits
      {"917-00c0ffee1234567-version.txt", "/version.txt", false},   // fifteen digits
      {"917-00c0ffee1234567g-version.txt", "/version.txt", false},
      {"-00c0ffee12345678-version.txt", "/version.txt", false},     // no tick count
      {"917-00c0ffee12345678version.txt", "/version.txt", false},
  };
  for (const Case& c : cases) EXPECT_EQ(IsEarlierDownload(c.name, c.serverPath), c.earlier) << c.name;
}
