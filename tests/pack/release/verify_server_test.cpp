// verify-server against a loopback server: what a launcher of the players'
// version would get and do, over http and https.
#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>

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
                     "\nversionUrl=/version.txt\nexeUrl=/MyGame.exe\nversion=" + version +
                     "\nupdateKey=" + kRfcPublicKey + "\n");
  return config;
}

// A release of `version` made with release, for a server at `server`:`port`,
// with the command it gives for checking the server afterwards.
struct Made {
  std::string versionFile, exe, signature;
  std::vector<std::string> verify{};  // the arguments after "launcher-pack"
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
  Made made{packtest::ReadFile(out / "version.txt"),
            packtest::ReadFile(out / "MyGame.exe"),
            packtest::ReadFile(out / "MyGame.exe.sig"),
            {}};
  const std::string tool = "launcher-pack ";
  const std::size_t at = run.out.rfind(tool);
  std::istringstream words(run.out.substr(at == std::string::npos ? run.out.size() : at + tool.size()));
  for (std::string word; words >> word;) made.verify.push_back(word);
  return made;
}

// What is served: the three files of a release, the exe only when it is there.
void Upload(packtest::LoopbackServer& server, const Made& made, bool exeThere = true) {
  server.Serve("/version.txt", made.versionFile);
  server.Serve("/MyGame.exe.sig", made.signature);
  if (exeThere)
    server.Serve("/MyGame.exe", made.exe);
  else
    server.Forget("/MyGame.exe");
}

// A loopback server, and releases 1.01 and 1.02 made for it.
struct Releases {
  packtest::LoopbackServer server;
  packtest::TempDir dir;
  Made older = MakeRelease(dir, "127.0.0.1", server.Port(), "1.01");
  Made release = MakeRelease(dir, "127.0.0.1", server.Port(), "1.02");
};

}  // namespace

TEST(VerifyServer, SaysWhetherTheServedReleaseIsInstalledAndWhyNot) {
  Releases r;
  ASSERT_TRUE(r.server.Started());
  auto& [server, dir, older, release] = r;
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
      {"a page for the version file",
       {"<!DOCTYPE html>\n<html><body>Not Found</body></html>\n", release.exe, release.signature},
       true,
       1,
       "the version file's first line is HTML, \"<!DOCTYPE html>\", not the version file"},
      {"an empty version file",
       {"", release.exe, release.signature},
       true,
       1,
       "the version file's first line is empty"},
      {"a letter before the version",
       {"v2\r\n", release.exe, release.signature},
       true,
       1,
       "the version file's first line is \"v2\", not numbers and dots such as 1.02: the launcher reads it as 0.0"},
      {"a byte-order mark",
       {"\xEF\xBB\xBF"
        "1.02\r\n",
        release.exe, release.signature},
       true,
       1,
       "the version file's first line begins with a byte-order mark (as Notepad saves \"UTF-8\" or \"Unicode\"), "
       "before \"1.02\": the launcher reads it as 0.2"},
      {"notes after the version",
       {"1.02  \r\nwhat is new\n", release.exe, release.signature},
       true,
       0,
       "installs it: version 1.2"},
  };
  for (const auto& c : cases) {
    Upload(server, c.served, c.exeThere);
    const auto run = verify();
    EXPECT_EQ(run.status, c.status) << c.name << ":\n" << run.out << run.err;
    EXPECT_NE(run.out.find(c.says), std::string::npos) << c.name << ":\n" << run.out;
  }
}

// release ends with the command that checks the server: it passes against
// the release just made, whatever the players run, and fails when the
// server gives anything else.
TEST(VerifyServer, TheCommandReleaseGivesChecksThatExactRelease) {
  Releases r;
  ASSERT_TRUE(r.server.Started());
  auto& [server, dir, older, release] = r;
  ASSERT_GE(release.verify.size(), 4u);
  EXPECT_EQ(release.verify[0], "verify-server");
  const struct {
    const char* name;
    Made served;
    int status;
    std::string says;
  } cases[] = {
      {"the release as made", release, 0, "installs it: version 1.2, its signature verifying"},
      {"an older release left on the server", older, 1,
       "the server does not serve the release in " + (dir / "out-1.02").string() +
           ":\n  /version.txt: the server serves other bytes than " + (dir / "out-1.02/version.txt").string() +
           " (as many): upload it again\n"},
      {"the old signature beside the new exe",
       {release.versionFile, release.exe, older.signature, {}},
       1,
       "the signature does not verify"},
      {"the version file with notes, not the one made",
       {"1.02\r\nnotes\r\n", release.exe, release.signature, {}},
       1,
       "/version.txt: the server serves 13 bytes, not the 6 bytes of"},
  };
  for (const auto& c : cases) {
    Upload(server, c.served);
    const auto run = packtest::Run(release.verify);
    EXPECT_EQ(run.status, c.status) << c.name << ":\n" << run.out << run.err;
    EXPECT_NE(run.out.find(c.says), std::string::npos) << c.name << ":\n" << run.out;
  }
  // Given the version the players run, it judges for that version.
  std::vector<std::string> previous = release.verify;
  previous.insert(previous.end(), {"--previous", "1.02"});
  const auto run = packtest::Run(previous);
  EXPECT_EQ(run.status, 1);
  EXPECT_NE(run.out.find("not newer than 1.2"), std::string::npos) << run.out;
}

TEST(VerifyServer, FetchesOverHttpsFromAServerItTrusts) {
  packtest::LoopbackServer server("localhost");
  ASSERT_TRUE(server.Started());
  packtest::TempDir dir;
  Upload(server, MakeRelease(dir, "https://localhost", server.Port(), "1.02"));
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
