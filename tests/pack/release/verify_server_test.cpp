// verify-server against a loopback server: what a launcher of the players'
// version would get and do, over http and https.
#include <gtest/gtest.h>

#include <filesystem>

#include "loopback_server.h"
#include "pack_test_skin.h"

namespace fs = std::filesystem;

namespace {

using packtest::kRfcKeyPem;
using packtest::kRfcPublicKey;

std::string Config(const std::string& server, int port, const std::string& version) {
  std::string config = packtest::CleanConfig();
  config.replace(config.find("title=Clean\n"), 12,
                 "title=Clean\nserver=" + server + "\nport=" + std::to_string(port) +
                     "\nversionUrl=/version.txt\nexeUrl=/MyGame.exe\nversion=" + version + "\nupdateKey=" + kRfcPublicKey +
                     "\n");
  return config;
}

// A release of `version` made with release, for a server at `server`:`port`.
struct Made {
  std::string versionFile, exe, signature;
};
Made MakeRelease(const packtest::TempDir& dir, const std::string& server, int port, const std::string& version) {
  packtest::WriteFile(dir / "Launcher.exe", packtest::LauncherImage());
  packtest::WriteFile(dir / "operator.key", kRfcKeyPem);
  fs::permissions(dir / "operator.key", fs::perms::owner_read | fs::perms::owner_write);
  const fs::path skin = dir / ("skin-" + version), out = dir / ("out-" + version);
  packtest::WriteSkin(skin, packtest::SkinWithConfig(Config(server, port, version)));
  const auto run = packtest::Run({"release", skin.string(), "--exe", (dir / "Launcher.exe").string(), "--key",
                                  (dir / "operator.key").string(), "--out", out.string()});
  EXPECT_EQ(run.status, 0) << run.err;
  return {packtest::ReadFile(out / "version.txt"), packtest::ReadFile(out / "MyGame.exe"),
          packtest::ReadFile(out / "MyGame.exe.sig")};
}

}  // namespace

TEST(VerifyServer, SaysWhetherTheServedReleaseIsInstalledAndWhyNot) {
  packtest::LoopbackServer server;
  ASSERT_TRUE(server.Started());
  packtest::TempDir dir;
  const Made release = MakeRelease(dir, "127.0.0.1", server.Port(), "1.02");
  const Made older = MakeRelease(dir, "127.0.0.1", server.Port(), "1.01");
  packtest::WriteSkin(dir / "players", packtest::SkinWithConfig(Config("127.0.0.1", server.Port(), "1.01")));
  const auto verify = [&] { return packtest::Run({"verify-server", (dir / "players").string()}); };

  const std::string url = "http://127.0.0.1:" + std::to_string(server.Port());
  const struct {
    const char* name;
    Made served;
    bool exeThere;
    int status;
    std::string says;
  } cases[] = {
      {"the release as made", release, true, 0, "a launcher of version 1.1 installs it: version 1.2"},
      {"the exe not uploaded", release, false, 1, url + "/MyGame.exe: status 404: the launcher takes only 2xx"},
      {"the signature of another exe",
       {release.versionFile, release.exe, older.signature},
       true,
       1,
       "the signature does not verify against updateKey="},
      {"the version file raised, the old exe left",
       {release.versionFile, older.exe, older.signature},
       true,
       1,
       "the version file offers 1.2 but the exe carries 1.1: every launcher below 1.2 fetches it, refuses it"},
      {"the version not raised", older, true, 1, "the version file offers 1.1, not newer than 1.1"},
  };
  for (const auto& c : cases) {
    server.Serve("/version.txt", c.served.versionFile);
    server.Serve("/MyGame.exe.sig", c.served.signature);
    if (c.exeThere) server.Serve("/MyGame.exe", c.served.exe);
    const auto run = verify();
    EXPECT_EQ(run.status, c.status) << c.name << ":\n" << run.out << run.err;
    EXPECT_NE(run.out.find(c.says), std::string::npos) << c.name << ":\n" << run.out;
    server.Forget("/MyGame.exe");  // gone again for the next case
  }
}

TEST(VerifyServer, FetchesOverHttpsFromAServerItTrusts) {
  packtest::LoopbackServer server("localhost");
  ASSERT_TRUE(server.Started());
  packtest::TempDir dir;
  const Made release = MakeRelease(dir, "https://localhost", server.Port(), "1.02");
  server.Serve("/version.txt", release.versionFile);
  server.Serve("/MyGame.exe", release.exe);
  server.Serve("/MyGame.exe.sig", release.signature);
  packtest::WriteSkin(dir / "players", packtest::SkinWithConfig(Config("https://localhost", server.Port(), "1.01")));
  const auto trusted =
      packtest::Run({"verify-server", (dir / "players").string(), "--ca-file", server.CertificatePem().string()});
  EXPECT_EQ(trusted.status, 0) << trusted.out << trusted.err;
  EXPECT_NE(trusted.out.find("installs it"), std::string::npos) << trusted.out;
  // A certificate nobody vouches for is no answer, as for a launcher.
  const auto untrusted = packtest::Run({"verify-server", (dir / "players").string()});
  EXPECT_EQ(untrusted.status, 1);
  EXPECT_NE(untrusted.out.find("no answer"), std::string::npos) << untrusted.out;
}
