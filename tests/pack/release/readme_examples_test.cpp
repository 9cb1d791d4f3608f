// The README's operator part shows command lines an operator copies: each
// of them runs here as written, in the README's order, through the shell,
// with the built launcher-pack on the PATH, in a folder that holds what the
// examples assume an operator has at hand (Launcher.exe, game.ico,
// publisher.pfx with its password in $PASS) and a loopback server in place
// of the game's. Between the commands the test does what the README tells
// the operator to do by hand: after keygen, it pastes the updateKey line
// into the skin with the update server's settings and a raised version;
// before verify-server, it uploads the release. The one placeholder,
// "3b6a27bc...", stands for that updateKey. A command that no longer runs,
// or a file name the others no longer find, fails the test.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <regex>
#include <set>
#include <sstream>
#include <thread>

#include "loopback_server.h"
#include "pack_test_skin.h"

namespace fs = std::filesystem;

namespace {

constexpr char kKeyPlaceholder[] = "3b6a27bc...";
constexpr char kPassword[] = "pfx-password";

// The part of the README an operator reads: from re-branding to the keys.
std::string OperatorPart() {
  std::ifstream readme(LAUNCHER_SOURCE_DIR "/README.md");
  std::stringstream text;
  text << readme.rdbuf();
  const std::string all = text.str();
  const std::size_t from = all.find("\n## Re-branding"), to = all.find("\n## Configuration keys");
  return from == std::string::npos || to == std::string::npos ? std::string() : all.substr(from, to - from);
}

// The command lines of its code blocks without a language, in order, each
// with its continuation lines joined: those that start a program an
// operator runs.
std::vector<std::string> CommandLines(const std::string& part) {
  std::vector<std::string> commands;
  std::istringstream lines(part);
  bool inBlock = false, shell = false;
  std::string command;
  for (std::string line; std::getline(lines, line);) {
    const std::size_t indent = line.find_first_not_of(' ');
    const std::string text = indent == std::string::npos ? std::string() : line.substr(indent);
    if (text.starts_with("```")) {
      shell = !inBlock && text == "```";
      inBlock = !inBlock;
      continue;
    }
    if (!inBlock || !shell) continue;
    if (command.empty() && !text.starts_with("launcher-pack ") && !text.starts_with("osslsigncode ") &&
        !text.starts_with("openssl "))
      continue;
    const bool continued = text.ends_with("\\");
    command += continued ? text.substr(0, text.size() - 1) : text;
    if (!continued) {
      commands.push_back(command);
      command.clear();
    }
  }
  return commands;
}

// The command without its comment and with single spaces, to know one
// shown twice (keygen, once in the overview and once where it is explained).
std::string Normalised(const std::string& command) {
  const std::size_t comment = command.find(" #");
  std::istringstream words(command.substr(0, comment));
  std::string normal;
  for (std::string word; words >> word;) normal += (normal.empty() ? "" : " ") + word;
  return normal;
}

struct Ran {
  int status = -1;
  std::string output;
};

// Starts `command` through the shell in `folder`, its output into `log`.
pid_t Start(const std::string& command, const fs::path& folder, const fs::path& log) {
  const pid_t child = fork();
  if (child == 0) {
    const int out = open(log.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (out < 0 || chdir(folder.c_str()) != 0) _exit(127);
    dup2(out, 1);
    dup2(out, 2);
    execl("/bin/sh", "sh", "-c", command.c_str(), static_cast<char*>(nullptr));
    _exit(127);
  }
  return child;
}

Ran Finish(pid_t child, const fs::path& log) {
  int status = 0;
  while (waitpid(child, &status, 0) < 0 && errno == EINTR) {
  }
  return {WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status), packtest::ReadFile(log)};
}

Ran Shell(const std::string& command, const fs::path& folder) {
  const fs::path log = folder / ".log";
  return Finish(Start(command, folder, log), log);
}

// --watch runs until Ctrl+C: it is interrupted once it has drawn.
Ran Interrupted(const std::string& command, const fs::path& folder, const fs::path& drawn) {
  const fs::path log = folder / ".log";
  const pid_t child = Start("exec " + command, folder, log);
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
  while (!fs::exists(drawn) && std::chrono::steady_clock::now() < deadline)
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  kill(child, SIGINT);
  return Finish(child, log);
}

// The operator's edit after keygen: the key pasted into [global], with the
// update server and a version above the players' 1.01.
void PrepareForRelease(const fs::path& skin, const std::string& keyLine, int port) {
  std::string config = packtest::ReadFile(skin / "config/cg.txt");
  const std::string global = "[global]\r\n";
  config.insert(config.find(global) + global.size(),
                keyLine + "\r\nserver=127.0.0.1\r\nport=" + std::to_string(port) +
                    "\r\nversionUrl=/game/version.txt\r\nexeUrl=/game/MyGame.exe\r\n");
  config = std::regex_replace(config, std::regex("\nversion=[0-9.]+\r"), "\nversion=1.02\r");
  packtest::WriteFile(skin / "config/cg.txt", config);
}

}  // namespace

TEST(ReadmeExamples, EveryCommandLineRunsAsWritten) {
  const std::vector<std::string> commands = CommandLines(OperatorPart());
  ASSERT_GE(commands.size(), 10u) << "the README's operator part shows no command lines";
  packtest::LoopbackServer server;
  ASSERT_TRUE(server.Started());
  packtest::TempDir dir;
  const fs::path& at = dir.Path();
  packtest::WriteFile(at / "Launcher.exe", packtest::LauncherImage());
  ASSERT_EQ(Shell("python3 '" LAUNCHER_SOURCE_DIR "/scripts/make_icon.py' game.ico", at).status, 0);
  ASSERT_EQ(Shell(std::string("openssl req -x509 -newkey rsa:2048 -nodes -days 1 -subj /CN=publisher -keyout "
                              "publisher.pem -out publisher.pem 2>/dev/null && openssl pkcs12 -export -in "
                              "publisher.pem -out publisher.pfx -passout pass:") +
                      kPassword,
                  at)
                .status,
            0);
  setenv("PASS", kPassword, 1);
  const std::string path = fs::path(LAUNCHER_PACK_PROGRAM).parent_path().string() + ":" + getenv("PATH");
  setenv("PATH", path.c_str(), 1);

  std::set<std::string> done;
  std::string updateKey, verifyRelease;
  for (std::string command : commands) {
    if (!done.insert(Normalised(command)).second) continue;
    if (const std::size_t key = command.find(kKeyPlaceholder); key != std::string::npos)
      command.replace(key, std::string(kKeyPlaceholder).size(), updateKey);
    // What the operator uploads before asking the server.
    if (command.starts_with("launcher-pack verify-server"))
      for (const char* name : {"version.txt", "MyGame.exe", "MyGame.exe.sig"})
        server.Serve(std::string("/game/") + name, packtest::ReadFile(at / "release" / name));
    const bool watch = command.find("--watch") != std::string::npos;
    const Ran ran = watch ? Interrupted(command, at, at / "previews/login.png") : Shell(command, at);
    EXPECT_EQ(ran.status, watch ? 130 : 0) << command << "\n" << ran.output;
    if (command.starts_with("launcher-pack keygen")) {
      std::smatch line;
      ASSERT_TRUE(std::regex_search(ran.output, line, std::regex("updateKey=([0-9a-f]{64})"))) << ran.output;
      updateKey = line[1];
      PrepareForRelease(at / "my-skin", line[0], server.Port());
    }
    if (command.starts_with("launcher-pack release")) {
      std::smatch line;
      EXPECT_TRUE(std::regex_search(ran.output, line, std::regex("(launcher-pack verify-server .*)\n"))) << ran.output;
      if (!line.empty()) verifyRelease = line[1];
    }
  }
  EXPECT_FALSE(updateKey.empty()) << "no keygen among the examples";
  // And the command release gives for checking the server.
  ASSERT_FALSE(verifyRelease.empty()) << "no release among the examples";
  const Ran ran = Shell(verifyRelease, at);
  EXPECT_EQ(ran.status, 0) << verifyRelease << "\n" << ran.output;
}

// The hook's own lines come after the tool's in a log both write to.
TEST(ReadmeExamples, ASigningCommandsOutputFollowsTheToolsLines) {
  packtest::TempDir dir;
  const fs::path& at = dir.Path();
  packtest::WriteFile(at / "Launcher.exe", packtest::LauncherImage());
  packtest::WriteFile(at / "operator.key", packtest::kRfcKeyPem);
  fs::permissions(at / "operator.key", fs::perms::owner_read | fs::perms::owner_write);
  std::string config = packtest::CleanConfig();
  config.replace(config.find("title=Clean\n"), 12,
                 std::string("title=Clean\nserver=127.0.0.1\nversionUrl=/v.txt\nexeUrl=/MyGame.exe\nversion=1.02\n"
                             "updateKey=") +
                     packtest::kRfcPublicKey + "\n");
  packtest::WriteSkin(at / "skin", packtest::SkinWithConfig(config));
  const Ran ran = Shell(std::string(LAUNCHER_PACK_PROGRAM) +
                            " release skin --exe Launcher.exe --key operator.key --out release --authenticode "
                            "'sh -c \"echo the hook speaks; cp {in} {out}\"'",
                        at);
  EXPECT_EQ(ran.status, 2) << ran.output;  // the copy carries no Authenticode signature
  const std::size_t tool = ran.output.find("2. sign with Authenticode"), hook = ran.output.find("the hook speaks");
  ASSERT_NE(hook, std::string::npos) << ran.output;
  EXPECT_LT(tool, hook) << ran.output;
}
