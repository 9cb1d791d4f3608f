// Whom the self-update trusts, end to end: a packed v1 whose skin names an
// operator key (or an https server) asks a loopback server, and only a
// launcher that is newer, carries the key's signature over its exact bytes,
// came over a certificate the machine trusts for that host, and lands in
// the program's own folder takes v1's place. Anything less leaves v1 as it
// was, running, and nothing of the check once it has started again.
#include <gtest/gtest.h>
#include <sodium/crypto_sign_ed25519.h>

#include <algorithm>
#include <array>
#include <memory>
#include <optional>

#include "debug_output.h"
#include "launcher_driver.h"
#include "png_writer.h"
#include "trusted_root.h"
#include "update/update_signature.h"
#include "update_e2e.h"
#include "update_process_tree.h"
#include "update_test_server.h"

using testkit::Bytes;
using testkit::FilesEndingWith;
using testkit::IdleLoginWindow;
using testkit::kExePath;
using testkit::kVersionPath;
using testkit::Leftovers;
using testkit::RequestsFor;
using testkit::WaitForWindowTitled;
using testkit::LauncherProcess;
using testkit::Route;
using testkit::UpdateTestServer;

namespace {

constexpr char kSignaturePath[] = "/static/Launcher_new.exe.sig";
// What the https server logs for each connection, before any request: a
// client that does not trust its certificate asks for nothing.
constexpr char kTlsConnection[] = "!connection";
constexpr char kTlsHost[] = "localhost";

struct Ed25519Key {
  std::array<std::uint8_t, 32> publicKey{};
  std::array<std::uint8_t, 64> secretKey{};
};

Ed25519Key KeyFromSeed(std::uint8_t fill) {
  std::array<std::uint8_t, 32> seed;
  seed.fill(fill);
  Ed25519Key key;
  crypto_sign_ed25519_seed_keypair(key.publicKey.data(), key.secretKey.data(), seed.data());
  return key;
}

// The body of a .sig file as an operator's tools may write it: the digits
// and a line end.
std::string SignatureFile(const Bytes& file, const Ed25519Key& key) {
  std::array<std::uint8_t, 64> signature{};
  crypto_sign_ed25519_detached(signature.data(), nullptr, file.data(), file.size(), key.secretKey.data());
  return HexDigits(signature) + "\r\n";
}

Bytes PackedLauncher(const std::string& version, const std::string& server, int port, const std::string& updateKey) {
  std::string global = "title=Launcher " + version + "\r\nversion=" + version + "\r\nserver=" + server +
                       "\r\nport=" + std::to_string(port) + "\r\nversionUrl=" + kVersionPath +
                       "\r\nexeUrl=" + kExePath + "\r\n";
  if (!updateKey.empty()) global += "updateKey=" + updateKey + "\r\n";
  return testkit::Concat({testkit::LauncherExe(), testkit::LauncherPackage(testkit::MinimalConfig(global))});
}

enum class Channel {
  kHttp,
  kHttpsTrusted,    // a certificate for the host, its root in the machine's store
  kHttpsUntrusted,  // a certificate for the host that nothing vouches for
  kHttpsOtherHost,  // a trusted certificate, but for another host name
};

enum class Signed {
  kNoKey,        // the skin names no updateKey; the server has no .sig
  kByUpdateKey,  // a .sig by the key the skin names
  kByOtherKey,   // a well-formed .sig by another key
  kMissing,      // the skin names a key; the .sig is not found (404)
};

struct TrustCase {
  const char* name;
  Channel channel = Channel::kHttp;
  Signed signature = Signed::kByUpdateKey;
  const char* exeVersion = "1.02";  // the [global] version inside the served exe
  bool tampered = false;            // one byte of the served exe changed after signing
  bool otherWorkDir = false;        // started in another directory than the program's
  bool installs = false;
  const char* report = "";  // how the check ends, when it installs nothing
};

void PrintTo(const TrustCase& c, std::ostream* out) { *out << c.name; }

// The launcher closes the connection after the handshake.
bool Distrusted(Channel channel) { return channel == Channel::kHttpsUntrusted || channel == Channel::kHttpsOtherHost; }

class UpdateTrust : public ::testing::TestWithParam<TrustCase> {};

}  // namespace

TEST_P(UpdateTrust, OnlyANewerLauncherSignedWithTheKeyOverATrustedChannelIsInstalled) {
  const TrustCase& c = GetParam();
  testkit::DebugOutput debug;
  ASSERT_TRUE(debug.Listening()) << "another program reads the debug output";
  const auto server =
      c.channel == Channel::kHttp
          ? std::make_unique<UpdateTestServer>()
          : std::make_unique<UpdateTestServer>(c.channel == Channel::kHttpsOtherHost ? "update.example" : kTlsHost);
  ASSERT_TRUE(server->Started());
  std::optional<testkit::TrustedRoot> trusted;
  if (c.channel == Channel::kHttpsTrusted || c.channel == Channel::kHttpsOtherHost) {
    trusted.emplace(server->Certificate());
    ASSERT_TRUE(trusted->Added());
  }
  const std::string address = c.channel == Channel::kHttp ? "127.0.0.1" : std::string("https://") + kTlsHost;
  const Ed25519Key key = KeyFromSeed(0x11), otherKey = KeyFromSeed(0x22);
  const std::string updateKey = c.signature == Signed::kNoKey ? "" : HexDigits(key.publicKey);
  const Bytes v1 = PackedLauncher("1.01", address, server->Port(), updateKey);
  const Bytes v2 = PackedLauncher(c.exeVersion, address, server->Port(), updateKey);

  Bytes served = v2;
  if (c.tampered) {
    // A letter of the DOS stub's text: the exe still starts, still carries
    // its package and its version; only the signature no longer fits.
    const std::string text = "This program";
    const auto at = std::search(served.begin(), served.begin() + 0x100, text.begin(), text.end());
    ASSERT_NE(at, served.begin() + 0x100);
    *at ^= 0x20;
  }
  server->Serve(kVersionPath, testkit::Text("1.02\r\n"));
  server->Serve(kExePath, testkit::Program(served));
  if (c.signature == Signed::kByUpdateKey)
    server->Serve(kSignaturePath, testkit::Text(SignatureFile(v2, key)));
  if (c.signature == Signed::kByOtherKey)
    server->Serve(kSignaturePath, testkit::Text(SignatureFile(v2, otherKey)));

  testkit::LaunchOptions options;
  options.separateWorkDir = c.otherWorkDir;
  const auto launcher = testkit::StartLauncherAs(v1, "Launcher.exe", options);
  ASSERT_TRUE(launcher->Started());
  const testkit::TempDir& dir = launcher->ProgramDir();

  if (c.installs) {
    EXPECT_EQ(launcher->WaitForExit(30000), 0u) << launcher->Describe();
    const HWND v2Window = WaitForWindowTitled(std::string("Launcher ") + c.exeVersion, 30000);
    testkit::EndProcessesStartedBy(launcher->Id());
    EXPECT_NE(v2Window, nullptr) << "v2 never showed its window";
    EXPECT_EQ(testkit::ReadFileBytes(dir.File("Launcher.exe")), v2);
    if (c.signature != Signed::kNoKey) { EXPECT_EQ(RequestsFor(*server, kSignaturePath), 1u); }
    // The script went at v2's start, once its interpreter let go.
    EXPECT_TRUE(testkit::PumpUntil([&] { return Leftovers(*launcher).empty(); }, 10000))
        << "left: " << testing::PrintToString(Leftovers(*launcher));
    return;
  }

  const HWND window = IdleLoginWindow(*launcher, "Launcher 1.01");
  ASSERT_NE(window, nullptr) << launcher->Describe();
  // The check is over once it reports: v1 still runs, and nothing is left.
  EXPECT_EQ(debug.WaitForLine(launcher->Id(), testkit::kUpdateReport), std::string(c.report));
  EXPECT_FALSE(launcher->WaitForExit(0).has_value());
  EXPECT_EQ(Leftovers(*launcher), std::vector<std::string>{});
  if (c.otherWorkDir) {
    EXPECT_TRUE(server->Requests().empty()) << "asked from another folder";
  }
  EXPECT_TRUE(IsWindowVisible(window));
  EXPECT_TRUE(launcher->WaitUntilIdle(window));
  EXPECT_EQ(testkit::ReadFileBytes(dir.File("Launcher.exe")), v1);
  if (Distrusted(c.channel)) { EXPECT_EQ(RequestsFor(*server, kVersionPath), 0u) << "asked over a distrusted channel"; }
  PostMessageA(window, WM_SYSKEYDOWN, VK_F4, 1 << 29);
  EXPECT_EQ(launcher->WaitForExit(), 0u);
  testkit::EndProcessesStartedBy(launcher->Id());

  // Started again, with the server saying it is up to date: still v1, and
  // nothing of either check beside it.
  server->Serve(kVersionPath, testkit::Text("1.01\r\n"));
  const std::string asked = Distrusted(c.channel) ? kTlsConnection : kVersionPath;
  const std::size_t before = RequestsFor(*server, asked);
  ASSERT_TRUE(launcher->StartAgain());
  ASSERT_NE(IdleLoginWindow(*launcher, "Launcher 1.01"), nullptr) << launcher->Describe();
  const auto report = debug.WaitForLine(launcher->Id(), testkit::kUpdateReport);
  // Asked again from the program's folder; never from another.
  EXPECT_EQ(RequestsFor(*server, asked) > before, !c.otherWorkDir) << report.value_or("no report");
  EXPECT_EQ(Leftovers(*launcher), std::vector<std::string>{});
  EXPECT_EQ(testkit::ReadFileBytes(dir.File("Launcher.exe")), v1);
  launcher->Kill();
}

INSTANTIATE_TEST_SUITE_P(
    Cases, UpdateTrust,
    ::testing::Values(TrustCase{.name = "signed", .installs = true},
                      TrustCase{.name = "tampered",
                                .tampered = true,
                                .report = "Launcher update: 10011 LauncherDownloadFailed WrongSignature"},
                      TrustCase{.name = "signatureMissing",
                                .signature = Signed::kMissing,
                                .report = "Launcher update: 10011 LauncherDownloadFailed Unsigned"},
                      TrustCase{.name = "signedByAnotherKey",
                                .signature = Signed::kByOtherKey,
                                .report = "Launcher update: 10011 LauncherDownloadFailed WrongSignature"},
                      TrustCase{.name = "equalVersionInside",
                                .exeVersion = "1.01",
                                .report = "Launcher update: 10011 LauncherDownloadFailed NotNewer"},
                      TrustCase{.name = "olderVersionInside",
                                .exeVersion = "1.00",
                                .report = "Launcher update: 10011 LauncherDownloadFailed NotNewer"},
                      // Nothing is fetched or written there.
                      TrustCase{.name = "anotherWorkingDirectory",
                                .otherWorkDir = true,
                                .report = "Launcher update: 10015 OutsideProgramFolder"},
                      TrustCase{.name = "httpsTrusted",
                                .channel = Channel::kHttpsTrusted,
                                .signature = Signed::kNoKey,
                                .installs = true},
                      TrustCase{.name = "httpsUntrusted",
                                .channel = Channel::kHttpsUntrusted,
                                .signature = Signed::kNoKey,
                                .report = "Launcher update: 10009 VersionDownloadFailed"},
                      TrustCase{.name = "httpsOtherHost",
                                .channel = Channel::kHttpsOtherHost,
                                .signature = Signed::kNoKey,
                                .report = "Launcher update: 10009 VersionDownloadFailed"}),
    [](const auto& info) { return std::string(info.param.name); });
