// release end to end: a skin folder becomes an exe, its signature and the
// version file, in the order that keeps the signature true, each verified as
// a launcher verifies it; and each mistake stops it before a version file
// could make launchers fetch anything.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>

#include "pack_test_skin.h"
#include "png_writer.h"
#include "release/release_verdict.h"
#include "update/update_version.h"
#include "zip_builder.h"

namespace fs = std::filesystem;

namespace {

using packtest::kRfcKeyPem;
using packtest::kRfcPublicKey;

std::string ReleaseConfig(const std::string& version, const std::string& key = kRfcPublicKey,
                          const std::string& paths = "versionUrl=/game/version.txt\nexeUrl=/game/MyGame.exe\n") {
  std::string config = packtest::CleanConfig();
  config.replace(
      config.find("title=Clean\n"), 12,
      "title=Clean\nserver=127.0.0.1\nport=8080\n" + paths + "version=" + version + "\nupdateKey=" + key + "\n");
  return config;
}

// The names in a folder, its hidden ones included.
std::vector<std::string> Names(const fs::path& folder) {
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(folder)) names.push_back(entry.path().filename().string());
  std::sort(names.begin(), names.end());
  return names;
}

#ifdef _WIN32
const std::string kCopies = "cmd /c copy /b {in} {out}";
#else
const std::string kCopies = "cp {in} {out}";
#endif

struct Workshop {
  packtest::TempDir dir;
  Workshop() {
    packtest::WriteFile(dir / "Launcher.exe", packtest::LauncherImage());
    packtest::WriteFile(dir / "operator.key", kRfcKeyPem);
    fs::permissions(dir / "operator.key", fs::perms::owner_read | fs::perms::owner_write);
  }
  packtest::RunResult Release(const std::string& config, std::vector<std::string> more = {},
                              const std::vector<SkinFile>& files = {}) {
    packtest::WriteSkin(dir / "skin", files.empty() ? packtest::SkinWithConfig(config) : files);
    std::vector<std::string> args = {
        "release", (dir / "skin").string(),         "--exe", (dir / "Launcher.exe").string(),
        "--key",   (dir / "operator.key").string(), "--out", (dir / "out").string()};
    args.insert(args.end(), more.begin(), more.end());
    return packtest::Run(args);
  }
  ReleaseBytes Made() const {
    return {packtest::ReadFile(dir / "out/version.txt"), packtest::ReadFile(dir / "out/MyGame.exe"),
            packtest::ReadFile(dir / "out/MyGame.exe.sig")};
  }
};

}  // namespace

TEST(Release, MakesWhatLaunchersOfThePreviousVersionInstall) {
  Workshop w;
  // The version information as the README shows it: two texts given, the
  // rest from the skin.
  const auto run = w.Release(ReleaseConfig("1.02"), {"--previous", "1.01", "--company", "Star Sea Games", "--copyright",
                                                     "© 2024 Star Sea Games"});
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(packtest::ReadFile(w.dir / "out/version.txt"), "1.02\r\n");
  const ReleaseVerdict verdict = JudgeRelease(w.Made(), kRfcPublicKey, Version{1, 1});
  EXPECT_TRUE(verdict.Installs()) << testing::PrintToString(verdict.problems);
  EXPECT_EQ(verdict.carried, "1.2");
  // What to upload and where launchers ask for it, the version file last.
  const std::string exe = (w.dir / "out" / "MyGame.exe").string();
  EXPECT_NE(
      run.out.find("  " + exe + "  ->  http://127.0.0.1:8080/game/MyGame.exe\n  " + exe +
                   ".sig  ->  http://127.0.0.1:8080/game/MyGame.exe.sig\n  " +
                   (w.dir / "out" / "version.txt").string() + "  ->  http://127.0.0.1:8080/game/version.txt  (last)"),
      std::string::npos)
      << run.out;
  // The command that checks the server afterwards checks for exactly this release.
  EXPECT_NE(run.out.find("launcher-pack verify-server " + (w.dir / "skin").string() + " --release " +
                         (w.dir / "out").string() + " --previous 1.01\n"),
            std::string::npos)
      << run.out;
  EXPECT_EQ(Names(w.dir.Path()), (std::vector<std::string>{"Launcher.exe", "operator.key", "out", "skin"}));
}

// Each mistake stops the release with its reason, in check's words where
// check has them, and leaves nothing behind: no --out, no folder of its own,
// no exe, signed or not.
TEST(Release, StopsAtTheFirstMistake) {
  const std::string otherKey = "a09aa5f47a6759802ff955f8dc2d2a14a5c99d23be97f864127ff9383455a4f0";
  const struct {
    const char* name;
    std::string config;
    std::vector<std::string> options;
    int status;
    std::string says;
    std::vector<SkinFile> files;
  } cases[] = {
      {"not newer than the players'",
       ReleaseConfig("1.02"),
       {"--previous", "1.2"},
       1,
       "the version file offers 1.2, which is not newer than 1.2",
       {}},
      {"signed by a key the skin does not hold",
       ReleaseConfig("1.02", otherKey),
       {},
       1,
       "--key: the key is not the exe's own updateKey=" + otherKey,
       {}},
      {"a version the launcher cannot compare",
       ReleaseConfig("1.0-beta"),
       {},
       1,
       "error: [global] version: is \"1.0-beta\", which the launcher cannot compare",
       {}},
      {"an error in the skin",
       ReleaseConfig("1.02"),
       {},
       1,
       "config/logo.png: error: missing",
       packtest::SkinWithMember("config/logo.png", "")},
      {"a signing command that fails",
       ReleaseConfig("1.02"),
       {"--authenticode", "launcher-pack-no-such-tool {in}"},
       2,
       "--authenticode: ",
       {}},
      {"a signing command that signs nothing",
       ReleaseConfig("1.02"),
       {"--authenticode", kCopies},
       2,
       "carries no Authenticode signature",
       {}},
      {"players' version with a comma",
       ReleaseConfig("1.02"),
       {"--previous", "1,01"},
       2,
       "--previous: wants a version as the launcher compares it, numbers and dots such as 1.01, not \"1,01\" "
       "(which it would read as 1.0)",
       {}},
      {"players' version with a letter", ReleaseConfig("1.02"), {"--previous", "v1"}, 2, "not \"v1\"", {}},
      {"players' version empty", ReleaseConfig("1.02"), {"--previous", ""}, 2, "not \"\"", {}},
      {"a folder as exeUrl",
       ReleaseConfig("1.02", kRfcPublicKey, "versionUrl=/game/version.txt\nexeUrl=/game/\n"),
       {},
       1,
       "config/cg.txt:6: error: [global] exeUrl: is \"/game/\", a folder, not a file",
       {}},
      {"no versionUrl",
       ReleaseConfig("1.02", kRfcPublicKey, "exeUrl=/game/MyGame.exe\n"),
       {},
       1,
       "config/cg.txt: error: [global] versionUrl: missing, though [global] server is set",
       {}},
  };
  for (const auto& c : cases) {
    Workshop w;
    const auto run = w.Release(
        c.config, c.options, c.files.empty() ? c.files : [&] {
          auto files = c.files;
          for (SkinFile& f : files)
            if (f.name == "config/cg.txt") f.content = c.config;
          return files;
        }());
    EXPECT_EQ(run.status, c.status) << c.name << ": " << run.err;
    EXPECT_NE(run.err.find(c.says), std::string::npos) << c.name << ": " << run.err;
    EXPECT_EQ(run.err.find("--force"), std::string::npos) << c.name << ": release takes no --force";
    EXPECT_EQ(Names(w.dir.Path()), (std::vector<std::string>{"Launcher.exe", "operator.key", "skin"})) << c.name;
  }
}

// A release that fails into the --out of a good one leaves the good one as
// it was, byte for byte, whichever step it fails at.
TEST(Release, AFailedReleaseLeavesTheGoodOneAsItWas) {
  Workshop w;
  ASSERT_EQ(w.Release(ReleaseConfig("1.02"), {"--previous", "1.01"}).status, 0);
  const ReleaseBytes good = w.Made();
  const struct {
    const char* name;
    std::string config;
    std::vector<std::string> options;
  } cases[] = {
      {"the version not raised", ReleaseConfig("1.03"), {"--previous", "1.3"}},
      {"no Authenticode signature", ReleaseConfig("1.03"), {"--authenticode", kCopies}},
      {"an error in the skin", ReleaseConfig("1.0-beta"), {}},
  };
  for (const auto& c : cases) {
    EXPECT_NE(w.Release(c.config, c.options).status, 0) << c.name;
    EXPECT_EQ(Names(w.dir / "out"), (std::vector<std::string>{"MyGame.exe", "MyGame.exe.sig", "version.txt"}))
        << c.name;
    const ReleaseBytes left = w.Made();
    EXPECT_TRUE(left.versionFile == good.versionFile && left.launcher == good.launcher &&
                left.signature == good.signature)
        << c.name;
    EXPECT_EQ(Names(w.dir.Path()), (std::vector<std::string>{"Launcher.exe", "operator.key", "out", "skin"})) << c.name;
  }
  // A good release after them takes the folder over, and keeps what else it holds.
  packtest::WriteFile(w.dir / "out/notes.txt", "mine");
  ASSERT_EQ(w.Release(ReleaseConfig("1.03"), {"--previous", "1.02"}).status, 0);
  EXPECT_EQ(packtest::ReadFile(w.dir / "out/version.txt"), "1.03\r\n");
  EXPECT_EQ(packtest::ReadFile(w.dir / "out/notes.txt"), "mine");
}

// A launcher installs only launchers of its own kind: a release made from
// the other build is judged for launchers of that build, and said to be no
// release for the players' kind.
TEST(Release, IsJudgedForLaunchersOfItsOwnKind) {
  Workshop w;
  std::string other = packtest::LauncherImage();
  const std::uint16_t otherMachine = kLauncherMachine == 0x14C ? 0x8664 : 0x14C;
  other[0x84] = static_cast<char>(otherMachine & 0xFF);
  other[0x85] = static_cast<char>(otherMachine >> 8);
  packtest::WriteFile(w.dir / "Launcher.exe", other);
  const auto run = w.Release(ReleaseConfig("1.02"), {"--previous", "1.01"});
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_NE(run.err.find("warning: --exe is " + LauncherKindName(otherMachine) +
                         ": only launchers of that kind install this release (the launcher players get is " +
                         LauncherKindName(kLauncherMachine) + ")"),
            std::string::npos)
      << run.err;
  EXPECT_TRUE(JudgeRelease(w.Made(), kRfcPublicKey, Version{1, 1}, otherMachine).Installs());
  const ReleaseVerdict players = JudgeRelease(w.Made(), kRfcPublicKey, Version{1, 1}, kLauncherMachine);
  EXPECT_EQ(players.problems,
            std::vector<std::string>{"the exe is " + LauncherKindName(otherMachine) + ", which launchers of " +
                                     LauncherKindName(kLauncherMachine) + " never install"});
}

#ifndef _WIN32
// The Authenticode step comes before the update signature, so that the
// signature is over the exe exactly as it is served: a throwaway certificate,
// Debian's osslsigncode, and the result checked by both.
TEST(Release, SignsWithAuthenticodeBeforeTheUpdateSignature) {
  Workshop w;
  const std::string key = (w.dir / "code.key").string(), cert = (w.dir / "code.pem").string();
  ASSERT_EQ(std::system(("openssl req -x509 -newkey rsa:2048 -nodes -days 1 -subj /CN=launcher-pack-test -keyout '" +
                         key + "' -out '" + cert + "' >/dev/null 2>&1")
                            .c_str()),
            0);
  const auto run =
      w.Release(ReleaseConfig("1.02"), {"--authenticode", "osslsigncode sign -certs \"" + cert + "\" -key \"" + key +
                                                              "\" -n Clean -in {in} -out {out}"});
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_NE(run.out.find("2. sign with Authenticode"), std::string::npos) << run.out;
  const std::string exe = (w.dir / "out/MyGame.exe").string();
  EXPECT_EQ(std::system(("osslsigncode verify -CAfile '" + cert + "' -in '" + exe + "' >/dev/null 2>&1").c_str()), 0);
  EXPECT_TRUE(JudgeRelease(w.Made(), kRfcPublicKey, Version{1, 1}).Installs());
  EXPECT_FALSE(fs::exists(w.dir / "out/MyGame.exe.authenticode"));
}
#endif

// A release that would start but never update again, or is not the
// launcher at all, is named for what the launchers would refuse it for.
TEST(JudgeRelease, NamesTheReleasesNoLauncherInstalls) {
  const std::string channel = "server=127.0.0.1\r\nversionUrl=/v.txt\r\nexeUrl=/L.exe\r\n";
  const testkit::Bytes png = testkit::RgbaPng(2, 2, [](int, int) { return 0xFF000000u; });
  const std::string picture(png.begin(), png.end());
  const auto release = [&](const std::string& lines, const std::string& background, bool marked) {
    const std::string image = marked ? packtest::LauncherImage() : [] {
      std::string other = packtest::LauncherImage();
      other.replace(other.find(".lmark"), 6, ".other");
      return other;
    }();
    const testkit::Bytes package = testkit::ZipBuilder()
                                       .Add("config/cg.txt", testkit::MinimalConfig("version=1.02\r\n" + lines))
                                       .Add("config/main1.png", background)
                                       .Build();
    return ReleaseBytes{"1.02\r\n", image + std::string(package.begin(), package.end()), std::nullopt};
  };
  const struct {
    const char* name;
    ReleaseBytes release;
    std::string says;  // empty: it installs
  } cases[] = {
      {"a launcher that checks", release(channel, picture, true), ""},
      {"another program", release(channel, picture, false), "the exe is another program with the package appended"},
      {"straight to the game", release(channel + "firstUrl=http://g.test/\r\n", picture, true),
       "the exe's firstUrl opens the game at once"},
      {"no server", release("versionUrl=/v.txt\r\nexeUrl=/L.exe\r\n", picture, true), "the exe names no server"},
      {"a malformed key", release(channel + "updateKey=12\r\n", picture, true),
       "the exe's updateKey is not 64 hexadecimal digits"},
      {"a background that does not decode", release(channel, picture.substr(0, 40), true),
       "the exe would not start: config/main1.png does not decode"},
  };
  for (const auto& c : cases) {
    const ReleaseVerdict verdict = JudgeRelease(c.release, "", Version{1, 1});
    if (c.says.empty()) {
      EXPECT_TRUE(verdict.Installs()) << c.name << ": " << testing::PrintToString(verdict.problems);
      continue;
    }
    ASSERT_EQ(verdict.problems.size(), 1u) << c.name << ": " << testing::PrintToString(verdict.problems);
    EXPECT_TRUE(verdict.problems[0].starts_with(c.says)) << c.name << ": " << verdict.problems[0];
  }
}
