#include <gtest/gtest.h>

#include "common/paths.h"
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

// What a check fetches is kept under the last component of the address's
// path: a query or fragment (cache busting on a CDN) names no part of the
// file, and a name Windows cannot hold is none.
TEST(LocalFileName, IsTheLastComponentWithoutQueryOrFragment) {
  struct Case {
    const char* path;
    std::optional<std::string> name;
  } cases[] = {
      {"/static/version.txt", "version.txt"},
      {"/v/version.txt?nocache=1", "version.txt"},
      {"/game/Launcher.exe?v=102", "Launcher.exe"},
      {"/game/Launcher.exe#top", "Launcher.exe"},
      {"/game/Launcher.exe?next=/a/b.exe", "Launcher.exe"},  // a "/" in the query is no separator
      {"/dl?file=Launcher.exe", "dl"},
      {"/files/?id=3", ""},  // the prefix alone, as for "/files/"
      {"", ""},
      {"/a\\b.exe", "b.exe"},
      {"/get:exe", std::nullopt},  // a stream of the file "get" on NTFS, not a file
      {"/a<b.exe", std::nullopt},
      {"/a|b.exe", std::nullopt},
      {"/a*.exe", std::nullopt},
      {"/a\"b.exe", std::nullopt},
      {"/a\tb.exe", std::nullopt},
      {"/Launcher.exe.", std::nullopt},  // the system would create "Launcher.exe"
      {"/Launcher.exe ", std::nullopt},
      {"/bad:dir/Launcher.exe", "Launcher.exe"},  // only the name counts
  };
  for (const Case& c : cases) EXPECT_EQ(LocalFileName(c.path), c.name) << c.path;
}

TEST(LocalFileName, StepsOverDoubleByteCharactersOfTheGivenRule) {
  // 盶 is 0xB1 0x5C and 0xB1 0x7C a character whose trail byte is "|": in
  // GBK neither is a separator nor a forbidden character.
  EXPECT_EQ(LocalFileName("/d/\xB1\x5Cgame.exe", IsGbkLeadByte), "\xB1\x5Cgame.exe");
  EXPECT_EQ(LocalFileName("/d/\xB1\x7Cgame.exe", IsGbkLeadByte), "\xB1\x7Cgame.exe");
  EXPECT_EQ(LocalFileName("/d/\xB1\x7Cgame.exe"), std::nullopt);  // read byte by byte
}

TEST(SignatureServerPath, PutsTheSuffixBeforeTheQuery) {
  EXPECT_EQ(SignatureServerPath("/static/Launcher.exe"), "/static/Launcher.exe.sig");
  EXPECT_EQ(SignatureServerPath("/game/Launcher.exe?v=102"), "/game/Launcher.exe.sig?v=102");
  EXPECT_EQ(SignatureServerPath("/game/Launcher.exe#x"), "/game/Launcher.exe.sig#x");
  EXPECT_EQ(SignatureServerPath(""), ".sig");
}

TEST(DownloadPath, JoinsTheWorkingDirectoryThePrefixAndTheLocalName) {
  const CheckNumbers numbers{917, 0x00c0ffee12345678};
  const std::string prefix = "917-00c0ffee12345678-";
  EXPECT_EQ(DownloadPath("C:\\Games", numbers, "/static/version.txt", DownloadKind::kVersionFile),
            "C:\\Games\\" + prefix + "version.txt");
  EXPECT_EQ(DownloadPath("C:\\Games", numbers, "/x/Launcher.exe?v=2", DownloadKind::kLauncher),
            "C:\\Games\\" + prefix + "Launcher.exe");
  EXPECT_EQ(DownloadPath("C:\\Games", numbers, "", DownloadKind::kVersionFile), "C:\\Games\\" + prefix);
  EXPECT_EQ(DownloadPath("C:\\", numbers, "/v.txt", DownloadKind::kVersionFile), "C:\\\\" + prefix + "v.txt");
  EXPECT_EQ(DownloadPath("C:\\Games", numbers, "/get:exe", DownloadKind::kLauncher), std::nullopt);
}

// A program folder deep enough that the long name passes a path buffer
// gets the compact one, which fits wherever the update script's name fits.
TEST(DownloadPath, TakesTheCompactNameWhereTheLongOneDoesNotFit) {
  const CheckNumbers numbers{917, 0x00c0ffee12345678};
  const std::string scriptName = "Launcher_update.bat";
  for (const std::size_t length : {std::size_t{215}, std::size_t{235}, 259 - 1 - scriptName.size()}) {
    SCOPED_TRACE(length);
    const std::string dir(length, 'd');
    ASSERT_TRUE(PathInDirectory(dir, scriptName).has_value());
    const auto path = DownloadPath(dir, numbers, "/static/Launcher_new.exe", DownloadKind::kLauncher);
    ASSERT_TRUE(path.has_value());
    EXPECT_LT(Utf16Length(*path), kMaxPath);
    const bool longFits = length + 1 + 21 + 16 < kMaxPath;
    EXPECT_EQ(*path, dir + "\\" + (longFits ? "917-00c0ffee12345678-Launcher_new.exe" : "00c0ffee12345678.e"));
  }
  EXPECT_EQ(CompactDownloadName(0x00c0ffee12345678, DownloadKind::kVersionFile), "00c0ffee12345678.v");
  EXPECT_EQ(CompactDownloadName(1, DownloadKind::kSignature), "0000000000000001.s");
  EXPECT_EQ(DownloadPath(std::string(242, 'd'), numbers, "/v.txt", DownloadKind::kVersionFile), std::nullopt);
  // Counted as the system holds them, in UTF-16 units, not in UTF-8 bytes:
  // 游 takes three bytes and one unit, an emoji four bytes and two units.
  std::string chinese;
  for (int i = 0; i < 240; ++i) chinese += "\xE6\xB8\xB8";
  EXPECT_TRUE(DownloadPath(chinese, numbers, "/v.txt", DownloadKind::kVersionFile).has_value());
  std::string emoji;
  for (int i = 0; i < 121; ++i) emoji += "\xF0\x9F\x8E\xAE";
  EXPECT_EQ(DownloadPath(emoji, numbers, "/v.txt", DownloadKind::kVersionFile), std::nullopt);
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
      {"Launcher_new.exe", "/static/Launcher_new.exe", false},  // no prefix: the operator's own file
      {"-Launcher_new.exe", "/static/Launcher_new.exe", false},
      {"12345678901version.txt", "/version.txt", false},  // more digits than a tick count has
      {"9x1version.txt", "/version.txt", false},
      {"917launcher_new.exe", "/static/Launcher_new.exe", false},  // named as created, letter case included
      {"917", "", false},                                          // bare numbers could be anyone's
      {"917", "/static/", false},
      {"917version.txt.bak", "/version.txt", false},
      {"917-00c0ffee12345678-Launcher_new.exe", "/static/Launcher_new.exe", true},
      {"-5-00c0ffee12345678-version.txt", "/version.txt", true},
      {"917-00C0FFEE12345678-version.txt", "/version.txt", false},  // not the launcher's lower-case digits
      {"917-00c0ffee1234567-version.txt", "/version.txt", false},   // fifteen digits
      {"917-00c0ffee1234567g-version.txt", "/version.txt", false},
      {"-00c0ffee12345678-version.txt", "/version.txt", false},  // no tick count
      {"917-00c0ffee12345678version.txt", "/version.txt", false},
      {"917-00c0ffee12345678-version.txt", "/version.txt?nocache=1", true},  // the query named no part of it
      {"917-00c0ffee12345678-version.txt?nocache=1", "/version.txt?nocache=1", false},
      {"00c0ffee12345678.e", "/version.txt", true},  // compact names, of any check's three files
      {"00c0ffee12345678.v", "", true},
      {"00c0ffee12345678.x", "/version.txt", false},
      {"00C0FFEE12345678.e", "/version.txt", false},
      {"0c0ffee12345678.e", "/version.txt", false},
  };
  for (const Case& c : cases) EXPECT_EQ(IsEarlierDownload(c.name, c.serverPath), c.earlier) << c.name;
}
