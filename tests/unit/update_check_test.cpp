#include "update/update_check.h"

#include <gtest/gtest.h>

#include "package/launcher_config.h"
#include "update/self_replacement.h"
#include "common/paths.h"
#include "update/update_script.h"
#include "update_test_fakes.h"
#include "zip_builder.h"

using namespace updatefakes;

namespace {

constexpr char kVersionUrl[] = "http://update.test:8080/static/version.txt";
constexpr char kExeUrl[] = "http://update.test:8080/static/Launcher_new.exe";
const std::string kVersionFile = std::string("C:\\Games\\") + kPrefix + "version.txt";
const std::string kLauncherFile = std::string("C:\\Games\\") + kPrefix + "Launcher_new.exe";
constexpr char kScriptFile[] = "C:\\Games\\Launcher_update.bat";
const std::string kBom = "\xEF\xBB\xBF";  // UTF-8's byte-order mark

std::string AsText(const testkit::Bytes& bytes) { return std::string(bytes.begin(), bytes.end()); }

std::string NewLauncher() { return LauncherWith("version=1.02\r\n"); }

class UpdateCheck : public ::testing::Test {
 protected:
  std::optional<UpdateResult> Run() { return RunUpdateCheck(&settings, env); }
  void StartOver() {
    files = MemoryFileSystem();
    process = FakeProcess();
    http.requests.clear();
  }

  UpdateSettings settings{"/static/version.txt", "/static/Launcher_new.exe", "update.test", "1.01", 8080, "C:\\Games", ""};
  FakeHttp http;
  MemoryFileSystem files;
  FakeProcess process;
  UpdateEnvironment env{http, files, process, IsGbkLeadByte};
};

// Runs one check against `version` and `launcher` answers with the given
// files refusing to be created or read, and checks what it left behind.
void ExpectOutcome(const UpdateSettings& settings, const Answer& version, const Answer& launcher,
                   const std::string& unwritable, const std::string& unreadable, std::optional<UpdateResult> result,
                   Left versionLeft, Left launcherLeft, const std::string& unclosable = "") {
  FakeHttp http;
  http.answers[kVersionUrl] = version;
  http.answers[kExeUrl] = launcher;
  MemoryFileSystem files;
  files.notCreatable.insert(unwritable);
  files.notReadable.insert(unreadable);
  files.failCloseOf.insert(unclosable);
  FakeProcess process;
  UpdateEnvironment env{http, files, process, IsGbkLeadByte};
  EXPECT_EQ(RunUpdateCheck(&settings, env), result);
  EXPECT_EQ(WhatIsLeft(files, kVersionFile), versionLeft);
  EXPECT_EQ(WhatIsLeft(files, kLauncherFile), launcherLeft);
  const bool replaced = !result.has_value();
  EXPECT_EQ(files.Has(kScriptFile), replaced);
  EXPECT_EQ(process.ended, replaced ? 1 : 0);
}

}  // namespace

TEST_F(UpdateCheck, EachVersionFileOutcomeLeavesItsFile) {
  Answer noAnswer;
  noAnswer.connects = false;
  Answer noStatus = Ok("1.02");
  noStatus.status = std::nullopt;
  Answer breaks = Ok("1.02");
  breaks.breakAfter = 2;
  struct Case {
    const char* what;
    Answer version;
    std::string unwritable;
    std::string unreadable;
    UpdateResult result;
    Left left;
  } cases[] = {
      {"up to date", Ok("1.01\r\n"), "", "", UpdateResult::UpToDate, Left::kRemoved},
      {"404", WithStatus(404), "", "", UpdateResult::VersionDownloadFailed, Left::kEmpty},
      {"transfer breaks", breaks, "", "", UpdateResult::VersionDownloadFailed, Left::kRemoved},
      {"no answer", noAnswer, "", "", UpdateResult::VersionDownloadFailed, Left::kNeverCreated},
      {"status unreadable", noStatus, "", "", UpdateResult::VersionDownloadFailed, Left::kNeverCreated},
      {"not creatable", Ok("1.02"), kVersionFile, "", UpdateResult::VersionDownloadFailed, Left::kNeverCreated},
      {"not readable", Ok("1.02"), "", kVersionFile, UpdateResult::VersionFileUnreadable, Left::kRemoved},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    ExpectOutcome(settings, c.version, Ok(NewLauncher()), c.unwritable, c.unreadable, c.result, c.left,
                  Left::kNeverCreated);
  }
}

TEST_F(UpdateCheck, EachLauncherOutcomeLeavesItsFile) {
  Answer noAnswer;
  noAnswer.connects = false;
  Answer breaks = Ok(NewLauncher());
  breaks.breakAfter = 700;
  Answer cutShort = Ok(NewLauncher());
  cutShort.endAfter = 1023;
  Answer noStatus = Ok(NewLauncher());
  noStatus.status = std::nullopt;
  const Answer html = Ok("<html><body>Please log in</body></html>");
  const Answer noPackage = Ok(AsText(testkit::MakePeImage()));
  constexpr auto kFailed = UpdateResult::LauncherDownloadFailed;
  struct Case {
    const char* what;
    Answer launcher;
    std::string unwritable;
    std::optional<UpdateResult> result;
    Left left;
  } cases[] = {
      {"404", WithStatus(404), "", kFailed, Left::kEmpty},
      {"transfer breaks", breaks, "", kFailed, Left::kRemoved},
      {"body cut short", cutShort, "", kFailed, Left::kRemoved},
      {"no answer", noAnswer, "", kFailed, Left::kNeverCreated},
      {"status unreadable", noStatus, "", kFailed, Left::kNeverCreated},
      {"not creatable", Ok(NewLauncher()), kLauncherFile, kFailed, Left::kNeverCreated},
      {"an HTML page with status 200", html, "", kFailed, Left::kRemoved},
      {"an empty body", Ok(""), "", kFailed, Left::kRemoved},
      {"a program without a package", noPackage, "", kFailed, Left::kRemoved},
      {"script not creatable", Ok(NewLauncher()), kScriptFile, UpdateResult::ScriptNotCreated, Left::kContent},
      // Its bytes may not all have reached the disk: never a launcher.
      {"the launcher's close fails", Ok(NewLauncher()), "", kFailed, Left::kRemoved},
      {"replaced", Ok(NewLauncher()), "", std::nullopt, Left::kContent},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const bool closeFails = std::string(c.what) == "the launcher's close fails";
    ExpectOutcome(settings, Ok("1.02"), c.launcher, c.unwritable, "", c.result, Left::kRemoved, c.left,
                  closeFails ? kLauncherFile : "");
  }
}

TEST_F(UpdateCheck, ComparesTheServersFirstLineWithTheConfiguredVersion) {
  struct Case {
    const char* configured;
    std::string versionFile;
    bool fetchesLauncher;
  } cases[] = {
      {"1.30", "1.4", false},
      {"1.01", "1.1", false},
      {"1.99", "2", true},
      {"1.01", "1.02\r\n", true},
      {"1.01", "1.01\r\n9.99", false},     // only the first line counts
      // Release notes after the first line, far beyond the 4 KB read.
      {"1.01", "1.02\r\n" + std::string(100000, 'n'), true},
      {"1.01", kBom + "1.02\r\n", false},  // a byte-order mark makes major 0
      {"1.01", "", false},
      {"0.0", std::string(126, ' ') + "1.0", false},  // the number lies past 126 bytes
      {"0.0", std::string(125, ' ') + "1.0", true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.configured + std::string(" vs ") + c.versionFile);
    http.answers[kVersionUrl] = Ok(c.versionFile);
    http.answers[kExeUrl] = WithStatus(404);
    http.requests.clear();
    settings.version = c.configured;
    EXPECT_EQ(Run(), c.fetchesLauncher ? UpdateResult::LauncherDownloadFailed : UpdateResult::UpToDate);
    EXPECT_EQ(http.requests.size(), c.fetchesLauncher ? 2u : 1u);
  }
}

TEST_F(UpdateCheck, WritesTheScriptStartsItAndEnds) {
  http.answers[kVersionUrl] = Ok("1.02");
  const std::string launcher = NewLauncher();
  http.answers[kExeUrl] = Ok(launcher);
  // The directory at replacement time, not the one captured; the program's
  // folder either way, but written in another letter case.
  process.currentDirectory = "c:\\GAMES";
  std::vector<std::string> reports;
  env.report = [&](std::string_view line) { reports.emplace_back(line); };
  EXPECT_EQ(Run(), std::nullopt);
  EXPECT_EQ(reports, std::vector<std::string>{"Launcher update: replacing"});
  EXPECT_EQ(files.files.at(kLauncherFile), launcher);
  ASSERT_TRUE(files.Has("c:\\GAMES\\Launcher_update.bat"));
  EXPECT_EQ(files.files.at("c:\\GAMES\\Launcher_update.bat"),
            BuildUpdateScript("C:\\Games\\Launcher.exe", kLauncherFile));
  EXPECT_EQ(process.startedScripts, std::vector<std::string>{"c:\\GAMES\\Launcher_update.bat"});
  EXPECT_EQ(process.ended, 1);
}

// A script that never runs (a scanner removed it, a policy blocked it, a
// folder name the interpreter expanded) must not make the launcher vanish:
// it goes on, without the download and without a second attempt.
TEST_F(UpdateCheck, GoesOnWhenTheScriptDoesNotRun) {
  http.answers[kVersionUrl] = Ok("1.02");
  http.answers[kExeUrl] = Ok(NewLauncher());
  process.scriptRuns = false;
  std::vector<std::string> reports;
  env.report = [&](std::string_view line) { reports.emplace_back(line); };
  EXPECT_EQ(Run(), UpdateResult::ScriptDidNotRun);
  EXPECT_EQ(process.startedScripts, std::vector<std::string>{kScriptFile});
  EXPECT_EQ(process.ended, 0);
  EXPECT_FALSE(process.ending) << "the windows were kept waiting";
  EXPECT_EQ(WhatIsLeft(files, kLauncherFile), Left::kRemoved);
  EXPECT_EQ(WhatIsLeft(files, kScriptFile), Left::kRemoved);
  EXPECT_EQ(reports, std::vector<std::string>{"Launcher update: 10017 ScriptDidNotRun"});
}

// The game window opened while the launcher was fetched: the game is never
// ended for an update. The launcher, checked, waits for the next start.
TEST_F(UpdateCheck, KeepsTheLauncherForTheNextStartOnceTheGameHasBegun) {
  http.answers[kVersionUrl] = Ok("1.02");
  const std::string launcher = NewLauncher();
  http.answers[kExeUrl] = Ok(launcher);
  process.gameBegun = true;
  files.files["C:\\Games\\Launcher_next.exe"] = "an earlier one";
  files.files["C:\\Games\\Launcher_next.sig"] = "its signature";
  EXPECT_EQ(Run(), UpdateResult::KeptForNextStart);
  EXPECT_EQ(process.ended, 0);
  EXPECT_TRUE(process.startedScripts.empty());
  EXPECT_FALSE(files.Has(kScriptFile));
  EXPECT_EQ(WhatIsLeft(files, kLauncherFile), Left::kRemoved);
  EXPECT_EQ(files.files.at("C:\\Games\\Launcher_next.exe"), launcher);
  EXPECT_FALSE(files.Has("C:\\Games\\Launcher_next.sig"));  // unsigned updates: no signature waits
  // A launcher the checks refuse waits for nothing.
  StartOver();
  process.gameBegun = true;
  http.answers[kExeUrl] = Ok(LauncherWith("version=1.01\r\n"));
  EXPECT_EQ(Run(), UpdateResult::LauncherDownloadFailed);
  EXPECT_EQ(files.files, (std::map<std::string, std::string>{}));
}

// What cannot be used is never downloaded: a script the interpreter could
// not read, or whose name a leftover holds, is known before the launcher
// is fetched.
TEST_F(UpdateCheck, DecidesWhetherTheScriptCanBeWrittenBeforeFetchingTheLauncher) {
  struct Case {
    const char* what;
    std::string programPath;
    bool folderOfTheScriptsName;
    bool fetches;
  } cases[] = {
      {"a program the console can name", "C:\\Games\\Launcher.exe", false, true},
      {"a program name the console cannot write", "C:\\Games\\\xE6\x98\x9F\xE6\xB5\xB7.exe", false, false},
      {"a folder named like the script", "C:\\Games\\Launcher.exe", true, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    StartOver();
    process.consoleAsciiOnly = true;
    process.programPath = c.programPath;
    if (c.folderOfTheScriptsName) files.folders.insert(kScriptFile);
    http.answers[kVersionUrl] = Ok("1.02");
    http.answers[kExeUrl] = Ok(NewLauncher());
    EXPECT_EQ(Run(), c.fetches ? std::nullopt : std::optional(UpdateResult::ScriptNotCreated));
    EXPECT_EQ(http.requests.size(), c.fetches ? 2u : 1u);
    EXPECT_EQ(WhatIsLeft(files, kLauncherFile), c.fetches ? Left::kContent : Left::kNeverCreated);
  }
}

TEST(StartSelfReplacement, AScriptThatCannotBeWrittenWholeIsRemovedAndNothingStarts) {
  struct Case {
    const char* what;
    std::optional<std::string> currentDirectory;
    std::optional<std::string> programPath;
    bool notCreatable;
    std::optional<std::size_t> writeLimit;
    bool failClose;
  } cases[] = {
      {"working directory unreadable", std::nullopt, "C:\\Games\\Launcher.exe", false, std::nullopt, false},
      {"program path unreadable", "C:\\Games", std::nullopt, false, std::nullopt, false},
      {"script path too long", std::string(240, 'd'), "C:\\Games\\Launcher.exe", false, std::nullopt, false},
      {"script not creatable", "C:\\Games", "C:\\Games\\Launcher.exe", true, std::nullopt, false},
      // Cut short, a script would run half a command on the program file.
      {"the disk fills up midway", "C:\\Games", "C:\\Games\\Launcher.exe", false, 90, false},
      {"closing the script fails", "C:\\Games", "C:\\Games\\Launcher.exe", false, std::nullopt, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    FakeHttp http;
    MemoryFileSystem files;
    if (c.notCreatable) files.notCreatable.insert(kScriptFile);
    files.writeLimit = c.writeLimit;
    files.failClose = c.failClose;
    FakeProcess process;
    process.currentDirectory = c.currentDirectory;
    process.programPath = c.programPath;
    UpdateEnvironment env{http, files, process, IsGbkLeadByte};
    EXPECT_EQ(StartSelfReplacement(kLauncherFile, env), Replacement::kScriptNotWritten);
    EXPECT_TRUE(files.files.empty()) << "a script was left behind";
    EXPECT_TRUE(process.startedScripts.empty());
    EXPECT_EQ(process.ended, 0);
  }
}

// Every file a check writes is made new: one planted under its name, with
// the planter's owner and rights, is never written through.
TEST_F(UpdateCheck, AFilePlantedUnderANameTheCheckWritesIsNeverWrittenThrough) {
  struct Case {
    const char* what;
    std::string planted;
    std::optional<UpdateResult> result;
  } cases[] = {
      {"the version file", kVersionFile, UpdateResult::VersionDownloadFailed},
      {"the launcher", kLauncherFile, UpdateResult::LauncherDownloadFailed},
      {"the script", kScriptFile, UpdateResult::ScriptNotCreated},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    files = MemoryFileSystem();
    process = FakeProcess();
    // Planted by someone the launcher cannot remove the file of: it stays
    // there through the sweep of earlier downloads.
    files.files[c.planted] = "planted";
    files.inUse.insert(c.planted);
    http.answers[kVersionUrl] = Ok("1.02");
    http.answers[kExeUrl] = Ok(NewLauncher());
    EXPECT_EQ(Run(), c.result);
    EXPECT_EQ(files.files.at(c.planted), "planted");
    EXPECT_TRUE(process.startedScripts.empty());
    EXPECT_EQ(process.ended, 0);
  }
}

TEST_F(UpdateCheck, WithoutAnUnguessableNumberFetchesNothing) {
  process.unguessable = std::nullopt;
  EXPECT_EQ(Run(), UpdateResult::VersionDownloadFailed);
  EXPECT_TRUE(http.requests.empty());
  EXPECT_TRUE(files.everCreated.empty());
}

TEST(StartSelfReplacement, PutsTheScriptBesideTwoSeparatorsAtADriveRoot) {
  FakeHttp http;
  MemoryFileSystem files;
  FakeProcess process;
  process.currentDirectory = "C:\\";
  UpdateEnvironment env{http, files, process, IsGbkLeadByte};
  EXPECT_EQ(StartSelfReplacement("C:\\\\917L.exe", env), Replacement::kRunning);
  EXPECT_EQ(process.startedScripts, std::vector<std::string>{"C:\\\\Launcher_update.bat"});
}

TEST_F(UpdateCheck, WithoutAStateDoesNothing) {
  EXPECT_EQ(RunUpdateCheck(nullptr, env), UpdateResult::NoWorkerState);
  EXPECT_TRUE(http.requests.empty());
  EXPECT_TRUE(files.everCreated.empty());
}

TEST_F(UpdateCheck, WithoutAServerFetchesNothing) {
  settings.server = "";
  EXPECT_EQ(Run(), UpdateResult::VersionDownloadFailed);
  EXPECT_TRUE(http.requests.empty());
  EXPECT_TRUE(files.everCreated.empty());
}

TEST_F(UpdateCheck, AnEmptyVersionPathFetchesTheServerRootIntoAFileNamedByThePrefix) {
  settings.versionUrl = "";
  http.answers["http://update.test:8080"] = Ok("1.01");
  EXPECT_EQ(Run(), UpdateResult::UpToDate);
  EXPECT_EQ(http.requests, std::vector<std::string>{"http://update.test:8080"});
  EXPECT_EQ(WhatIsLeft(files, std::string("C:\\Games\\") + kPrefix), Left::kRemoved);
}

TEST_F(UpdateCheck, UsesTheConfiguredSchemeAndSignedPort) {
  settings.server = "HTTP://update.test";
  settings.port = -1;
  EXPECT_EQ(Run(), UpdateResult::VersionDownloadFailed);
  EXPECT_EQ(http.requests, std::vector<std::string>{"HTTP://update.test:-1/static/version.txt"});
}

TEST_F(UpdateCheck, ChecksStartedAtDifferentTimesUseDifferentFilesAndRemoveTheEarlierOnes) {
  http.answers[kVersionUrl] = WithStatus(404);  // leaves its empty file behind
  process.ticks = 917;
  Run();
  EXPECT_EQ(WhatIsLeft(files, kVersionFile), Left::kEmpty);
  process.ticks = 0x80000000u;
  Run();
  EXPECT_EQ(WhatIsLeft(files, kVersionFile), Left::kRemoved);
  EXPECT_EQ(WhatIsLeft(files, "C:\\Games\\-2147483648-00c0ffee12345678-version.txt"), Left::kEmpty);
}

TEST_F(UpdateCheck, FirstRemovesWhatEarlierChecksLeftAndNothingElse) {
  // A launcher ended in the middle of its download left part of a file; a
  // 404 left an empty one. Files of other names, and one still being
  // written by another launcher, stay.
  const std::vector<std::string> earlier = {"C:\\Games\\123Launcher_new.exe", "C:\\Games\\-5version.txt",
                                            "C:\\Games\\4294967295Launcher_new.exe"};
  const std::vector<std::string> others = {"C:\\Games\\Launcher_new.exe",   "C:\\Games\\v1Launcher_new.exe",
                                           "C:\\Games\\12345678901version.txt", "C:\\Games\\Launcher.exe",
                                           "C:\\Games\\sub\\1version.txt",     "C:\\Other\\1version.txt",
                                           "C:\\Games\\77Launcher_new.exe"};
  for (const auto& path : earlier) files.files[path] = "part";
  for (const auto& path : others) files.files[path] = "keep";
  files.inUse.insert("C:\\Games\\77Launcher_new.exe");
  http.answers[kVersionUrl] = Ok("1.01");
  EXPECT_EQ(Run(), UpdateResult::UpToDate);
  for (const auto& path : earlier) EXPECT_FALSE(files.Has(path)) << path;
  for (const auto& path : others) EXPECT_TRUE(files.Has(path)) << path;
}

// Started from another folder (the system folder when run as
// administrator, the desktop from a shortcut), the working directory holds
// other people's files, whatever their names.
TEST_F(UpdateCheck, RemovesWhatEarlierChecksLeftOnlyInTheProgramsFolder) {
  files.files["C:\\Windows\\123version.txt"] = "someone's";
  files.files["C:\\Games\\123version.txt"] = "part";
  http.answers[kVersionUrl] = Ok("1.01");
  settings.workDir = "C:\\Windows";
  // Nothing could be updated from there: nothing is asked, nothing written.
  EXPECT_EQ(Run(), UpdateResult::OutsideProgramFolder);
  EXPECT_TRUE(http.requests.empty());
  EXPECT_TRUE(files.everCreated.empty());
  EXPECT_TRUE(files.Has("C:\\Windows\\123version.txt"));
  settings.workDir = "C:\\Games";
  Run();
  EXPECT_FALSE(files.Has("C:\\Games\\123version.txt"));
}

// The run after one that started the update script asks the server nothing:
// a replacement the system refused (a held program file, a held download)
// is tried once per start by the player, never in a loop. It still sweeps.
TEST_F(UpdateCheck, AfterAnUpdateTheRunOnlySweeps) {
  settings.afterUpdate = true;
  files.files["C:\\Games\\123-0123456789abcdef-Launcher_new.exe"] = "refused";
  http.answers[kVersionUrl] = Ok("1.02");
  http.answers[kExeUrl] = Ok(NewLauncher());
  EXPECT_EQ(Run(), UpdateResult::CheckSkipped);
  EXPECT_TRUE(http.requests.empty());
  EXPECT_TRUE(files.files.empty());
  EXPECT_EQ(process.ended, 0);
}

TEST(UpdateSettingsFrom, CopiesTheFiveSettingsAndTheDirectory) {
  LauncherConfig config;
  config.versionUrl = "/v.txt";
  config.exeUrl = "/L.exe";
  config.server = "h";
  config.version = "1.01";
  config.port = 8080;
  config.title = "not copied";
  EXPECT_TRUE(UpdateSettingsFrom(config, "C:\\w") == (UpdateSettings{"/v.txt", "/L.exe", "h", "1.01", 8080, "C:\\w", ""}));
  EXPECT_TRUE(UpdateSettingsFrom(config, "C:\\w", true).afterUpdate);
}
