// What a check lets in: a launcher signed with the configured key, newer
// inside than the running one, of a bounded size, into the program's own
// folder. Everything else is removed and nothing is replaced.
#include <gtest/gtest.h>
#include <sodium/crypto_sign_ed25519.h>

#include "package/launcher_config.h"
#include "update/self_replacement.h"
#include "update/update_check.h"
#include "update/update_signature.h"
#include "update_test_fakes.h"
#include "zip_builder.h"

using namespace updatefakes;

namespace {

constexpr char kVersionUrl[] = "http://update.test:8080/static/version.txt";
constexpr char kExeUrl[] = "http://update.test:8080/static/Launcher_new.exe";
constexpr char kSigUrl[] = "http://update.test:8080/static/Launcher_new.exe.sig";
const std::string kLauncherFile = std::string("C:\\Games\\") + kPrefix + "Launcher_new.exe";
const std::string kSignatureFile = kLauncherFile + ".sig";
constexpr std::size_t kLauncherLimit = 64u << 20;
constexpr auto kFailed = UpdateResult::LauncherDownloadFailed;

std::string AsText(const testkit::Bytes& bytes) { return std::string(bytes.begin(), bytes.end()); }

struct KeyPair {
  explicit KeyPair(std::uint8_t seedByte) {
    std::array<std::uint8_t, 32> seed;
    seed.fill(seedByte);
    crypto_sign_ed25519_seed_keypair(publicKey.data(), secretKey.data(), seed.data());
  }
  std::string PublicHex() const { return HexDigits(publicKey); }
  std::string SignatureHex(const std::string& file) const {
    UpdateSignature signature{};
    crypto_sign_ed25519_detached(signature.data(), nullptr, reinterpret_cast<const unsigned char*>(file.data()),
                                 file.size(), secretKey.data());
    return HexDigits(signature);
  }
  UpdatePublicKey publicKey{};
  std::array<std::uint8_t, 64> secretKey{};
};

class UpdateTrust : public ::testing::Test {
 protected:
  UpdateTrust() {
    http.answers[kVersionUrl] = Ok("1.02\r\n");
    http.answers[kExeUrl] = Ok(launcher);
    http.answers[kSigUrl] = Ok(operatorKey.SignatureHex(launcher) + "\r\n");
    settings.updateKey = operatorKey.PublicHex();
  }

  std::optional<UpdateResult> Run() { return RunUpdateCheck(&settings, env); }

  // A new machine for the next case of a table: no files, a fresh process,
  // nothing asked yet.
  void StartOver() {
    files = MemoryFileSystem();
    process = FakeProcess();
    http.requests.clear();
  }

  // After a refused update: the download is gone, no script, nothing ended,
  // and no file of the check is left in the working directory.
  void ExpectNothingReplaced() {
    EXPECT_FALSE(files.Has(kLauncherFile));
    EXPECT_FALSE(files.Has(kSignatureFile));
    EXPECT_FALSE(files.Has("C:\\Games\\Launcher_update.bat"));
    EXPECT_TRUE(process.startedScripts.empty());
    EXPECT_EQ(process.ended, 0);
    EXPECT_EQ(files.ListFiles("C:\\Games"), std::vector<std::string>{});
  }

  const KeyPair operatorKey{1};
  const KeyPair otherKey{2};
  // A signed release carries the key it was signed with, for the updates after it.
  const std::string keyLine = "updateKey=" + operatorKey.PublicHex() + "\r\n";
  const std::string launcher = LauncherWith("version=1.02\r\n" + keyLine);
  UpdateSettings settings{"/static/version.txt", "/static/Launcher_new.exe", "update.test", "1.01", 8080, "C:\\Games", ""};
  FakeHttp http;
  MemoryFileSystem files;
  FakeProcess process;
  UpdateEnvironment env{http, files, process, IsGbkLeadByte};
};

}  // namespace

TEST_F(UpdateTrust, ASignedLauncherReplacesThisOneAndItsSignatureFileGoes) {
  EXPECT_EQ(Run(), std::nullopt);
  EXPECT_EQ(http.requests, (std::vector<std::string>{kVersionUrl, kExeUrl, kSigUrl}));
  EXPECT_EQ(files.files.at(kLauncherFile), launcher);
  EXPECT_EQ(WhatIsLeft(files, kSignatureFile), Left::kRemoved);
  EXPECT_EQ(process.startedScripts.size(), 1u);
  EXPECT_EQ(process.ended, 1);
}

TEST_F(UpdateTrust, WithoutAKeyNoSignatureIsFetched) {
  settings.updateKey = "";
  http.answers.erase(kSigUrl);
  EXPECT_EQ(Run(), std::nullopt);
  EXPECT_EQ(http.requests, (std::vector<std::string>{kVersionUrl, kExeUrl}));
  EXPECT_EQ(process.ended, 1);
}

TEST_F(UpdateTrust, OnlyAGoodSignatureByTheConfiguredKeyLetsTheLauncherIn) {
  std::string tampered = launcher;
  tampered[tampered.size() / 2] ^= 0x01;
  const std::string good = operatorKey.SignatureHex(launcher);
  Answer broken = Ok(good);
  broken.breakAfter = 64;
  Answer noAnswer;
  noAnswer.connects = false;
  Answer announcedTooLong = Ok(good);
  announcedTooLong.contentLength = "1025";
  Answer tooLong = Ok(good + std::string(1024 - good.size() + 1, ' '));
  tooLong.contentLength = std::nullopt;  // only counting finds out
  struct Case {
    const char* what;
    std::string served;  // the launcher as the server sends it
    Answer signature;
    bool replaced;
  } cases[] = {
      {"good", launcher, Ok(good), true},
      {"good, upper case, white space around", launcher, Ok(" \r\n\t" + [&] {
         std::string upper = good;
         for (char& c : upper) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
         return upper;
       }() + "\n\n"), true},
      {"one byte of the launcher changed", tampered, Ok(good), false},
      {"signed by another key", launcher, Ok(otherKey.SignatureHex(launcher)), false},
      {"the signature of another file", launcher, Ok(operatorKey.SignatureHex(tampered)), false},
      {"no signature (404)", launcher, WithStatus(404), false},
      {"no signature (no answer)", launcher, noAnswer, false},
      {"the signature's transfer breaks", launcher, broken, false},
      {"an empty signature", launcher, Ok(""), false},
      {"127 digits", launcher, Ok(good.substr(1)), false},
      {"not hex", launcher, Ok(good.substr(1) + "x"), false},
      {"a body longer than 1024 bytes", launcher, tooLong, false},
      {"announced longer than 1024 bytes", launcher, announcedTooLong, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    files = MemoryFileSystem();
    process = FakeProcess();
    http.answers[kExeUrl] = Ok(c.served);
    http.answers[kSigUrl] = c.signature;
    const auto result = Run();
    if (c.replaced) {
      EXPECT_EQ(result, std::nullopt);
      EXPECT_EQ(process.ended, 1);
      EXPECT_FALSE(files.Has(kSignatureFile));
    } else {
      EXPECT_EQ(result, kFailed);
      ExpectNothingReplaced();
    }
  }
}

TEST_F(UpdateTrust, AMalformedKeyLetsNothingInAndFetchesNoLauncher) {
  struct Case {
    const char* what;
    std::string key;
    bool replaced;
  } cases[] = {
      {"the key", operatorKey.PublicHex(), true},
      {"the key in upper case", [&] {
         std::string upper = operatorKey.PublicHex();
         for (char& c : upper) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
         return upper;
       }(), true},
      {"63 digits", operatorKey.PublicHex().substr(1), false},
      {"65 digits", operatorKey.PublicHex() + "0", false},
      {"not hex", operatorKey.PublicHex().substr(1) + "g", false},
      {"a space inside", operatorKey.PublicHex().substr(0, 32) + " " + operatorKey.PublicHex().substr(32), false},
      {"base64", "O2onvM62pC1io6jQKm8Nc2UyFXcd4kOmOsBIoYtZ2ik=", false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    StartOver();
    settings.updateKey = c.key;
    const auto result = Run();
    EXPECT_EQ(result, c.replaced ? std::nullopt : std::optional(kFailed));
    if (!c.replaced) {
      EXPECT_EQ(http.requests, std::vector<std::string>{kVersionUrl});
      ExpectNothingReplaced();
    }
  }
}

TEST_F(UpdateTrust, TheLauncherMustCarryANewerVersionThanTheRunningOne) {
  // Running 1.01; the comparison is the version check's: the first two
  // numbers, 1.1 equal to 1.01.
  struct Case {
    const char* what;
    std::string launcher;
    bool replaced;
  } cases[] = {
      {"1.02", LauncherWith("version=1.02\r\n" + keyLine), true},
      {"2.0", LauncherWith("version=2.0\r\n" + keyLine), true},
      {"1.1.9, equal by its first two numbers", LauncherWith("version=1.1.9\r\n" + keyLine), false},
      {"1.01, the same", LauncherWith("version=1.01\r\n" + keyLine), false},
      {"1.00, older", LauncherWith("version=1.00\r\n" + keyLine), false},
      {"0.99, older", LauncherWith("version=0.99\r\n" + keyLine), false},
      {"no version", LauncherWith(keyLine), false},
      {"a configuration the launcher refuses (no links)",
       [] {
         const testkit::Bytes bytes = testkit::Concat(
             {testkit::MakePeImage(),
              testkit::ZipBuilder().Add("config/cg.txt", "[global]\r\nversion=1.02\r\n").Build()});
         return std::string(bytes.begin(), bytes.end());
       }(),
       false},
  };
  for (const bool signedUpdates : {false, true}) {
    for (const Case& c : cases) {
      SCOPED_TRACE(std::string(c.what) + (signedUpdates ? ", signed" : ", unsigned"));
      files = MemoryFileSystem();
      process = FakeProcess();
      settings.updateKey = signedUpdates ? operatorKey.PublicHex() : "";
      http.answers[kExeUrl] = Ok(c.launcher);
      // Validly signed: an old launcher replayed must not roll players back.
      http.answers[kSigUrl] = Ok(operatorKey.SignatureHex(c.launcher));
      const auto result = Run();
      EXPECT_EQ(result, c.replaced ? std::nullopt : std::optional(kFailed));
      if (!c.replaced) ExpectNothingReplaced();
    }
  }
}

// A version file may carry release notes after its first line: only its
// first 4 KB are read, whatever follows. A launcher beyond the limit is a
// failed download.
TEST_F(UpdateTrust, AVersionFileIsReadFromItsStartAndALauncherBeyondItsLimitIsRemoved) {
  const std::string versionLine = "1.02\r\n";
  const std::string notes = versionLine + std::string(1 << 20, 'n');
  Answer launcherAnnouncedTooLong = Ok(launcher);
  launcherAnnouncedTooLong.contentLength = std::to_string(kLauncherLimit + 1);
  Answer notesNotAnnounced = Ok(notes);
  notesNotAnnounced.contentLength = std::nullopt;
  Answer notesCutShort = Ok(notes);
  notesCutShort.endAfter = 3000;  // a cut connection before the 4 KB are there
  struct Case {
    const char* what;
    Answer version;
    Answer launcher;
    std::optional<UpdateResult> result;
  } cases[] = {
      {"a version file of 4096 bytes", Ok(versionLine + std::string(4096 - versionLine.size(), 'x')), Ok(launcher),
       std::nullopt},
      {"a version file of 4097 bytes", Ok(versionLine + std::string(4097 - versionLine.size(), 'x')), Ok(launcher),
       std::nullopt},
      {"a megabyte of release notes", Ok(notes), Ok(launcher), std::nullopt},
      {"release notes sent without a length", notesNotAnnounced, Ok(launcher), std::nullopt},
      {"a version file cut short", notesCutShort, Ok(launcher), UpdateResult::VersionDownloadFailed},
      {"a launcher announced beyond 64 MB", Ok(versionLine), launcherAnnouncedTooLong, kFailed},
  };
  settings.updateKey = "";
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    files = MemoryFileSystem();
    process = FakeProcess();
    http.answers[kVersionUrl] = c.version;
    http.answers[kExeUrl] = c.launcher;
    EXPECT_EQ(Run(), c.result);
    if (c.result) ExpectNothingReplaced();
  }
}

TEST_F(UpdateTrust, ALauncherBeyond64MegabytesIsRemoved) {
  // Sent without a length: only counting finds out.
  Answer huge = Ok(std::string(kLauncherLimit + 1, 'M'));
  huge.contentLength = std::nullopt;
  http.answers[kExeUrl] = huge;
  settings.updateKey = "";
  EXPECT_EQ(Run(), kFailed);
  EXPECT_EQ(WhatIsLeft(files, kLauncherFile), Left::kRemoved);
  ExpectNothingReplaced();
}

TEST_F(UpdateTrust, ReplacesOnlyWhenTheWorkingDirectoryIsTheProgramsFolder) {
  // Fetched into `workDir` (the directory when the check began); the script
  // goes to the directory of the moment of replacement. Started from
  // another folder, nothing is fetched at all.
  constexpr auto kElsewhere = UpdateResult::OutsideProgramFolder;
  constexpr auto kNoScript = UpdateResult::ScriptNotCreated;
  struct Case {
    const char* what;
    std::string programPath;
    std::string workDir;
    std::optional<std::string> directoryNow;
    std::size_t requests;
    std::optional<UpdateResult> result;  // nothing: replaced
  } cases[] = {
      {"the same", "C:\\Games\\Launcher.exe", "C:\\Games", "C:\\Games", 2, std::nullopt},
      {"another letter case", "C:\\Games\\Launcher.exe", "c:\\GAMES", "C:\\gAMES", 2, std::nullopt},
      {"a drive's root", "C:\\Launcher.exe", "C:\\", "C:\\", 2, std::nullopt},
      {"another folder", "C:\\Games\\Launcher.exe", "C:\\Windows\\System32", "C:\\Windows\\System32", 0, kElsewhere},
      {"a subfolder", "C:\\Games\\Launcher.exe", "C:\\Games\\sub", "C:\\Games\\sub", 0, kElsewhere},
      {"a folder whose name the program's begins with", "C:\\Games\\Launcher.exe", "C:\\Game", "C:\\Game", 0,
       kElsewhere},
      {"changed while fetching", "C:\\Games\\Launcher.exe", "C:\\Games", "D:\\Now", 2, kNoScript},
      {"unreadable now: no script could be written", "C:\\Games\\Launcher.exe", "C:\\Games", std::nullopt, 1,
       kNoScript},
      // 0xB1 leads a GBK character: its trail bytes 'A' and 'a' are different characters.
      {"a GBK folder, the same",
       "C:\\\xB1"
       "A\\Launcher.exe",
       "C:\\\xB1"
       "A",
       "C:\\\xB1"
       "A",
       2, std::nullopt},
      {"a GBK folder differing in a trail byte's case",
       "C:\\\xB1"
       "A\\Launcher.exe",
       "C:\\\xB1"
       "a",
       "C:\\\xB1"
       "a",
       0, kElsewhere},
  };
  settings.updateKey = "";
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    StartOver();
    process.programPath = c.programPath;
    process.currentDirectory = c.directoryNow;
    settings.workDir = c.workDir;
    EXPECT_EQ(Run(), c.result);
    EXPECT_EQ(http.requests.size(), c.requests);
    EXPECT_EQ(process.ended, c.result ? 0 : 1);
    const std::string download = c.workDir + "\\" + kPrefix + "Launcher_new.exe";  // two separators after a root
    EXPECT_EQ(files.Has(download), !c.result);
    if (c.result) {
      EXPECT_TRUE(process.startedScripts.empty());
    }
    if (c.result == kElsewhere) {
      EXPECT_TRUE(files.everCreated.empty());
    }
  }
}

TEST_F(UpdateTrust, WaitsWhileAnotherLauncherRunsTheSameProgramFile) {
  // The script could neither replace nor rename a file another launcher
  // holds; it would start this one again, which would fetch again.
  struct Case {
    const char* what;
    bool running;
    bool startsWhileFetching;
    bool fetched;
  } cases[] = {
      {"running before the check", true, false, false},
      {"started while the update was fetched", false, true, true},
  };
  settings.updateKey = "";
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    StartOver();
    process.othersRunning = c.running;
    process.othersStartWhileFetching = c.startsWhileFetching;
    EXPECT_EQ(Run(), std::optional(UpdateResult::ScriptNotCreated));
    EXPECT_EQ(http.requests.size(), c.fetched ? 2u : 1u);
    EXPECT_EQ(WhatIsLeft(files, kLauncherFile), c.fetched ? Left::kRemoved : Left::kNeverCreated);
    EXPECT_TRUE(process.startedScripts.empty());
    EXPECT_EQ(process.ended, 0);
  }
}

// A release that stops at start never reaches another update: the player
// would be left with a launcher that ends at once, for good.
TEST_F(UpdateTrust, TheLauncherMustStartAsTheRunningOneDoes) {
  const auto png = [](int width, int height) {
    return AsText(testkit::RgbaPng(width, height, [](int, int) { return 0xFF808080u; }));
  };
  // Only the header: what the loaders measure before they decode.
  const auto announced = [](std::uint32_t width, std::uint32_t height) {
    std::string header("\x89PNG\r\n\x1a\n\0\0\0\x0dIHDR", 16);
    for (const std::uint32_t v : {width, height})
      for (int shift = 24; shift >= 0; shift -= 8) header += static_cast<char>(v >> shift);
    return header + std::string("\x08\x06\0\0\0\0\0\0\0", 9);
  };
  // Data the launcher's decoder (here a stand-in) refuses behind a sound header.
  const auto undecodable = [&](std::uint32_t width, std::uint32_t height) {
    return announced(width, height) + "undecodable";
  };
  env.decodes = [](std::span<const std::uint8_t> bytes) {
    return std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()).find("undecodable") ==
           std::string_view::npos;
  };
  const std::string config = testkit::MinimalConfig(std::string(kUpdateChannel) + "version=1.02\r\n");
  const std::string withButton = std::string("[global]\r\nlinkCount=2\r\nversion=1.02\r\n") + kUpdateChannel +
                                 "[link1]\r\ntype=4\r\nwidth=10\r\nheight=10\r\n"
                                 "url=about:blank\r\n[link2]\r\ntype=1\r\nurl=http://example.test/\r\n";
  const std::string straightToGame =
      testkit::MinimalConfig(std::string(kUpdateChannel) + "version=1.02\r\nfirstUrl=http://game.test/\r\n");
  struct Case {
    const char* what;
    testkit::ZipBuilder package;
    bool replaced;
  } cases[] = {
      {"whole", testkit::ZipBuilder().Add("config/cg.txt", config).Add("config/main1.png", png(4, 3)), true},
      {"no login background", testkit::ZipBuilder().Add("config/cg.txt", config), false},
      {"a login background that is no picture",
       testkit::ZipBuilder().Add("config/cg.txt", config).Add("config/main1.png", "<html>"), false},
      {"a login background of 0 x 0",
       testkit::ZipBuilder().Add("config/cg.txt", config).Add("config/main1.png", announced(0, 0)), false},
      {"a login background beyond the picture limit",
       testkit::ZipBuilder().Add("config/cg.txt", config).Add("config/main1.png", announced(7681, 4320)), false},
      {"a login background at the picture limit",
       testkit::ZipBuilder().Add("config/cg.txt", config).Add("config/main1.png", announced(7680, 4320)), true},
      {"a login background that does not decode",
       testkit::ZipBuilder().Add("config/cg.txt", config).Add("config/main1.png", undecodable(4, 3)), false},
      {"a login button without its pressed picture",
       testkit::ZipBuilder()
           .Add("config/cg.txt", withButton)
           .Add("config/main1.png", png(4, 3))
           .Add("config/2_n.png", png(2, 2)),
       false},
      {"a login button with both pictures",
       testkit::ZipBuilder()
           .Add("config/cg.txt", withButton)
           .Add("config/main1.png", png(4, 3))
           .Add("config/2_n.png", png(2, 2))
           .Add("config/2_d.png", png(2, 2)),
       true},
      {"a login button whose pressed picture does not decode",
       testkit::ZipBuilder()
           .Add("config/cg.txt", withButton)
           .Add("config/main1.png", png(4, 3))
           .Add("config/2_n.png", png(2, 2))
           .Add("config/2_d.png", undecodable(2, 2)),
       false},
      // Whole, it would start, but never check for an update again: only
      // the login window checks.
      {"straight to the game with its sprite sheet and logo",
       testkit::ZipBuilder()
           .Add("config/cg.txt", straightToGame)
           .Add("config/main1.png", png(4, 3))
           .Add("config/style.png", png(8, 8))
           .Add("config/logo.png", png(2, 2)),
       false},
  };
  settings.updateKey = "";
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    StartOver();
    http.answers[kExeUrl] = Ok(AsText(testkit::Concat({testkit::MakePeImage(), c.package.Build()})));
    const auto result = Run();
    EXPECT_EQ(result, c.replaced ? std::nullopt : std::optional(kFailed));
    if (!c.replaced) ExpectNothingReplaced();
  }
}

// Players who install a release that starts but can never update again
// are stuck on it for good: such a release is refused before anything is
// replaced, and the refusal is named in the launcher's report.
TEST_F(UpdateTrust, AReleaseThatCouldNeverUpdateAgainIsRefused) {
  const auto release = [](const std::string& globalLines, bool marked = true) {
    const testkit::Bytes bytes = testkit::Concat(
        {testkit::MakePeImage(1024, 2, marked), testkit::LauncherPackage(testkit::MinimalConfig(globalLines))});
    return AsText(bytes);
  };
  const std::string version = "version=1.02\r\n";
  const std::string server = "server=update.test\r\nport=8080\r\n";
  const std::string paths = "versionUrl=/static/version.txt\r\nexeUrl=/static/Launcher_new.exe\r\n";
  struct Case {
    const char* what;
    std::string release;
    UpdateVerdict refusal;  // kAccepted: installed
  } cases[] = {
      {"a release that checks as this one does", release(version + server + paths), UpdateVerdict::kAccepted},
      {"addresses made unique for a cache",
       release(version + server + "versionUrl=/v/version.txt?nocache=1\r\nexeUrl=/game/Launcher.exe?v=102\r\n"),
       UpdateVerdict::kAccepted},
      {"another server", release(version + "server=https://cdn.test\r\nport=443\r\n" + paths),
       UpdateVerdict::kAccepted},
      {"straight to the game", release(version + server + paths + "firstUrl=http://game.test/\r\n"),
       UpdateVerdict::kOpensTheGame},
      {"a malformed key", release(version + server + paths + "updateKey=" + std::string(63, 'a') + "\r\n"),
       UpdateVerdict::kKeyMalformed},
      {"no server", release(version + paths), UpdateVerdict::kNoUpdateChannel},
      {"no version file", release(version + server + "exeUrl=/static/Launcher_new.exe\r\n"),
       UpdateVerdict::kNoUpdateChannel},
      {"no launcher address", release(version + server + "versionUrl=/static/version.txt\r\n"),
       UpdateVerdict::kNoUpdateChannel},
      {"a launcher address that names no file",
       release(version + server + "versionUrl=/static/version.txt\r\nexeUrl=/static/get:exe\r\n"),
       UpdateVerdict::kNoUpdateChannel},
      // A console tool uploaded in the launcher's place, the release's
      // package appended: a program of the right machine, not the launcher.
      {"another program with the package", release(version + server + paths, false), UpdateVerdict::kNotThisLauncher},
  };
  settings.updateKey = "";
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    StartOver();
    std::vector<std::string> reports;
    env.report = [&](std::string_view line) { reports.emplace_back(line); };
    http.answers[kExeUrl] = Ok(c.release);
    const auto result = Run();
    if (c.refusal == UpdateVerdict::kAccepted) {
      EXPECT_EQ(result, std::nullopt);
      continue;
    }
    EXPECT_EQ(result, kFailed);
    ExpectNothingReplaced();
    EXPECT_EQ(reports, std::vector<std::string>{std::string("Launcher update: 10011 LauncherDownloadFailed ") +
                                                UpdateVerdictName(c.refusal)});
  }
}

// The signature binds the file's bytes only: a release signed with the
// operator's key could otherwise switch signing off for the updates after it
// (no key) or hand it to whoever holds another one.
TEST_F(UpdateTrust, ASignedLauncherKeepsTheKeyOfTheRunningOne) {
  std::string upper = operatorKey.PublicHex();
  for (char& c : upper) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  struct Case {
    const char* what;
    std::string runningKey;
    std::string newKeyLine;
    bool replaced;
  } cases[] = {
      {"the same key", operatorKey.PublicHex(), keyLine, true},
      {"the same key in upper case", operatorKey.PublicHex(), "updateKey=" + upper + "\r\n", true},
      {"no key: unsigned updates after it", operatorKey.PublicHex(), "", false},
      {"another key", operatorKey.PublicHex(), "updateKey=" + otherKey.PublicHex() + "\r\n", false},
      {"a malformed key", operatorKey.PublicHex(), "updateKey=" + operatorKey.PublicHex().substr(1) + "\r\n", false},
      {"a running launcher without a key takes one", "", "updateKey=" + otherKey.PublicHex() + "\r\n", true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    StartOver();
    settings.updateKey = c.runningKey;
    const std::string release = LauncherWith("version=1.02\r\n" + c.newKeyLine);
    http.answers[kExeUrl] = Ok(release);
    http.answers[kSigUrl] = Ok(operatorKey.SignatureHex(release));  // validly signed every time
    const auto result = Run();
    EXPECT_EQ(result, c.replaced ? std::nullopt : std::optional(kFailed));
    if (!c.replaced) ExpectNothingReplaced();
  }
}

TEST(IsProgramFolder, ComparesWithoutLetterCaseOutsideDoubleByteCharacters) {
  struct Case {
    const char* directory;
    const char* programPath;
    bool same;
  } cases[] = {
      {"C:\\Games", "C:\\Games\\Launcher.exe", true},
      {"c:\\games", "C:\\GAMES\\Launcher.exe", true},
      {"C:\\Games\\", "C:\\Games\\Launcher.exe", true},
      {"C:\\", "C:\\Launcher.exe", true},
      {"\\\\server\\share", "\\\\SERVER\\share\\Launcher.exe", true},
      {"C:\\Games", "C:\\Games\\bin\\Launcher.exe", false},
      {"C:\\Games\\bin", "C:\\Games\\Launcher.exe", false},
      {"C:\\Game", "C:\\Games\\Launcher.exe", false},
      {"D:\\Games", "C:\\Games\\Launcher.exe", false},
      {"", "C:\\Games\\Launcher.exe", false},
      {"C:\\Games", "Launcher.exe", false},
      {"C:\\\xB1\\", "C:\\\xB1\\\\Launcher.exe", true},  // a character whose trail byte is 0x5C
      {"C:\\\xB1" "A", "C:\\\xB1" "a\\Launcher.exe", false},
  };
  for (const Case& c : cases)
    EXPECT_EQ(IsProgramFolder(c.directory, c.programPath, IsGbkLeadByte), c.same)
        << c.directory << " / " << c.programPath;
}

TEST(UpdateTrustSweep, ASignatureFileOfAnEarlierCheckGoesAndOthersStay) {
  FakeHttp http;
  http.answers[kVersionUrl] = Ok("1.01");
  MemoryFileSystem files;
  const std::vector<std::string> earlier = {"C:\\Games\\123Launcher_new.exe.sig", "C:\\Games\\-7Launcher_new.exe.sig",
                                            "C:\\Games\\-7-0123456789abcdef-Launcher_new.exe.sig"};
  const std::vector<std::string> others = {"C:\\Games\\Launcher_new.exe.sig", "C:\\Games\\123notes.sig",
                                           "C:\\Games\\v1Launcher_new.exe.sig"};
  for (const auto& path : earlier) files.files[path] = "part";
  for (const auto& path : others) files.files[path] = "keep";
  FakeProcess process;
  UpdateEnvironment env{http, files, process, IsGbkLeadByte};
  const UpdateSettings settings{"/static/version.txt", "/static/Launcher_new.exe", "update.test", "1.01", 8080,
                                "C:\\Games", ""};
  EXPECT_EQ(RunUpdateCheck(&settings, env), UpdateResult::UpToDate);
  for (const auto& path : earlier) EXPECT_FALSE(files.Has(path)) << path;
  for (const auto& path : others) EXPECT_TRUE(files.Has(path)) << path;
}

TEST(UpdateSettingsFrom, CopiesTheUpdateKey) {
  LauncherConfig config;
  config.updateKey = std::string(64, 'a');
  EXPECT_EQ(UpdateSettingsFrom(config, "C:\\w").updateKey, std::string(64, 'a'));
}
