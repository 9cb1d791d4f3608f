// A launcher that was fetched while the game window was open waits in the
// program's folder; the next start installs it before any window, after the
// same checks again. A file that waited is never trusted for having waited.
#include <gtest/gtest.h>
#include <sodium/crypto_sign_ed25519.h>

#include <thread>

#include "update/ending_gate.h"
#include "update/update_check.h"
#include "update/update_script.h"
#include "update/update_signature.h"
#include "update_test_fakes.h"

using namespace updatefakes;

namespace {

constexpr char kWaiting[] = "C:\\Games\\Launcher_next.exe";
constexpr char kWaitingSignature[] = "C:\\Games\\Launcher_next.sig";
const std::string kCopy = std::string("C:\\Games\\") + kPrefix + "Launcher_new.exe";
constexpr char kScript[] = "C:\\Games\\Launcher_update.bat";

std::string SignatureOf(const std::string& file, const std::array<std::uint8_t, 64>& secretKey) {
  UpdateSignature signature{};
  crypto_sign_ed25519_detached(signature.data(), nullptr, reinterpret_cast<const unsigned char*>(file.data()),
                               file.size(), secretKey.data());
  return HexDigits(signature);
}

class WaitingUpdateTest : public ::testing::Test {
 protected:
  WaitingUpdateTest() {
    std::array<std::uint8_t, 32> seed;
    seed.fill(7);
    crypto_sign_ed25519_seed_keypair(publicKey.data(), secretKey.data(), seed.data());
    release = LauncherWith("version=1.02\r\nupdateKey=" + HexDigits(publicKey) + "\r\n");
  }
  WaitingUpdate Install() { return InstallWaitingUpdate(settings, env); }

  UpdatePublicKey publicKey{};
  std::array<std::uint8_t, 64> secretKey{};
  std::string release;
  UpdateSettings settings{
      "/static/version.txt", "/static/Launcher_new.exe", "update.test", "1.01", 8080, "C:\\Games", ""};
  FakeHttp http;
  MemoryFileSystem files;
  FakeProcess process;
  std::vector<std::string> reports;
  UpdateEnvironment env{http,
                        files,
                        process,
                        IsGbkLeadByte,
                        [](std::string_view text) { return std::string(text); },
                        {},
                        [this](std::string_view line) { reports.emplace_back(line); }};
};

}  // namespace

TEST_F(WaitingUpdateTest, IsCopiedIntoANewFileJudgedAgainAndInstalled) {
  files.files[kWaiting] = release;
  EXPECT_EQ(Install(), WaitingUpdate::kInstalling);
  EXPECT_TRUE(http.requests.empty()) << "the server was asked";
  // The script moves the copy, made new under a name nobody could plant,
  // never the file that waited.
  EXPECT_EQ(files.files.at(kCopy), release);
  EXPECT_TRUE(files.everCreated.count(kCopy));
  EXPECT_FALSE(files.Has(kWaiting));
  ASSERT_TRUE(files.Has(kScript));
  EXPECT_EQ(files.files.at(kScript), BuildUpdateScript("C:\\Games\\Launcher.exe", kCopy));
  EXPECT_EQ(process.startedScripts, std::vector<std::string>{kScript});
  EXPECT_EQ(process.ended, 1);
  EXPECT_EQ(reports, std::vector<std::string>{"Launcher update at start: replacing"});
}

TEST_F(WaitingUpdateTest, PassesOnlyTheChecksOfADownload) {
  std::string changed = release;
  changed[0x40] ^= 1;  // a byte of the stub, after it was signed
  struct Case {
    const char* what;
    std::string waiting;
    std::optional<std::string> signature;  // the waiting signature file's body
    std::string runningKey;
    bool afterUpdate;
    WaitingUpdate outcome;
    const char* report;
  } cases[] = {
      {"unsigned updates", release, std::nullopt, "", false, WaitingUpdate::kInstalling,
       "Launcher update at start: replacing"},
      {"signed, its signature read again", release, SignatureOf(release, secretKey), HexDigits(publicKey), false,
       WaitingUpdate::kInstalling, "Launcher update at start: replacing"},
      {"changed while it waited", changed, SignatureOf(release, secretKey), HexDigits(publicKey), false,
       WaitingUpdate::kRefused, "Launcher update at start: 10011 LauncherDownloadFailed WrongSignature"},
      {"its signature gone", release, std::nullopt, HexDigits(publicKey), false, WaitingUpdate::kRefused,
       "Launcher update at start: 10011 LauncherDownloadFailed Unsigned"},
      {"no newer than this one", LauncherWith("version=1.01\r\n"), std::nullopt, "", false, WaitingUpdate::kRefused,
       "Launcher update at start: 10011 LauncherDownloadFailed NotNewer"},
      {"no launcher", "<html>", std::nullopt, "", false, WaitingUpdate::kRefused,
       "Launcher update at start: 10011 LauncherDownloadFailed NotLauncher"},
      // The run after an update tries nothing more, as the check does.
      {"after an update", release, std::nullopt, "", true, WaitingUpdate::kRefused,
       "Launcher update at start: 10014 CheckSkipped"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    files = MemoryFileSystem();
    process = FakeProcess();
    reports.clear();
    files.files[kWaiting] = c.waiting;
    if (c.signature) files.files[kWaitingSignature] = *c.signature + "\r\n";
    settings.updateKey = c.runningKey;
    settings.afterUpdate = c.afterUpdate;
    EXPECT_EQ(Install(), c.outcome);
    EXPECT_EQ(reports, std::vector<std::string>{c.report});
    EXPECT_EQ(process.ended, c.outcome == WaitingUpdate::kInstalling ? 1 : 0);
    // What waited goes either way; a refused copy goes with it.
    EXPECT_FALSE(files.Has(kWaiting));
    EXPECT_FALSE(files.Has(kWaitingSignature));
    if (c.outcome != WaitingUpdate::kInstalling) {
      EXPECT_EQ(files.files, (std::map<std::string, std::string>{}));
    }
  }
}

TEST_F(WaitingUpdateTest, WaitsForTheFirstStartAloneAndIsNoneElsewhere) {
  files.files[kWaiting] = release;
  process.othersRunning = true;
  EXPECT_EQ(Install(), WaitingUpdate::kLeft);
  EXPECT_TRUE(files.Has(kWaiting));
  process.othersRunning = false;
  settings.workDir = "C:\\Users\\p\\Desktop";  // started through a shortcut that starts elsewhere
  EXPECT_EQ(Install(), WaitingUpdate::kNone);
  EXPECT_TRUE(files.Has(kWaiting));
  EXPECT_EQ(process.ended, 0);
  settings.workDir = "C:\\Games";
  files.files.erase(kWaiting);
  files.files[kWaitingSignature] = "a signature alone";
  EXPECT_EQ(Install(), WaitingUpdate::kNone);
  EXPECT_FALSE(files.Has(kWaitingSignature));
}

// A script that never ran: nothing replaced, nothing left to try again in
// this start.
TEST_F(WaitingUpdateTest, AScriptThatDoesNotRunLeavesTheLauncherRunning) {
  files.files[kWaiting] = release;
  process.scriptRuns = false;
  EXPECT_EQ(Install(), WaitingUpdate::kScriptDidNotRun);
  EXPECT_EQ(process.ended, 0);
  EXPECT_EQ(files.files, (std::map<std::string, std::string>{}));
  EXPECT_EQ(reports, std::vector<std::string>{"Launcher update at start: 10017 ScriptDidNotRun"});
}

// The worker's replacement and the game window exclude each other: the
// first to come wins, and a replacement under way holds the game back until
// it has failed (had it worked, the process would have ended).
TEST(EndingGate, TheFirstToComeWins) {
  {
    EndingGate gate;
    gate.GameBegins();
    EXPECT_FALSE(gate.BeginEnding());
  }
  {
    EndingGate gate;
    EXPECT_TRUE(gate.BeginEnding());
    EXPECT_FALSE(gate.BeginEnding());  // once
    gate.CancelEnding();
    gate.GameBegins();
    EXPECT_FALSE(gate.BeginEnding());
  }
  {
    EndingGate gate;
    ASSERT_TRUE(gate.BeginEnding());
    std::atomic<bool> gameOpened{false};
    std::thread windows([&] {
      gate.GameBegins();
      gameOpened = true;
    });
    // The window thread waits on the replacement for as long as it runs.
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    EXPECT_FALSE(gameOpened) << "the game window came while the replacement ran";
    gate.CancelEnding();
    windows.join();
    EXPECT_TRUE(gameOpened);
    EXPECT_FALSE(gate.BeginEnding());
  }
}
