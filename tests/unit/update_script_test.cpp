#include "update/update_script.h"

#include <gtest/gtest.h>

#include <vector>

#include "update/self_replacement.h"
#include "update_test_fakes.h"

namespace {

std::vector<std::string> Lines(const std::string& script) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  for (std::size_t end; (end = script.find("\r\n", start)) != std::string::npos; start = end + 2)
    lines.push_back(script.substr(start, end - start));
  EXPECT_EQ(start, script.size()) << "text after the last line end";
  return lines;
}

}  // namespace

TEST(BuildUpdateScript, WritesTheExampleByteForByte) {
  EXPECT_EQ(BuildUpdateScript("C:\\Games\\Launcher.exe", "C:\\Games\\917Launcher_new.exe"),
            "@ping 127.0.0.1 -n 2 -w 1000 > nul \r\n"
            "move /y \"C:\\\\Games\\\\917Launcher_new.exe\" \"C:\\\\Games\\\\Launcher.exe\""
            " || attrib -r \"C:\\\\Games\\\\Launcher.exe\"\r\n"
            "if exist \"C:\\\\Games\\\\917Launcher_new.exe\" move /y \"C:\\\\Games\\\\917Launcher_new.exe\""
            " \"C:\\\\Games\\\\Launcher.exe\"\r\n"
            "\"C:\\\\Games\\\\Launcher.exe\"\r\n");
}

TEST(BuildUpdateScript, EveryLineEndsInCarriageReturnAndLineFeedOnly) {
  const auto lines = Lines(BuildUpdateScript("C:\\a\\L.exe", "C:\\a\\1L.exe"));
  ASSERT_EQ(lines.size(), 4u);
  for (const std::string& line : lines) {
    EXPECT_EQ(line.find('\n'), std::string::npos);
    EXPECT_EQ(line.find('\r'), std::string::npos);
  }
  EXPECT_EQ(lines[0].back(), ' ');  // the first line ends with a space
}

// The program file is never renamed away: whatever line the script is
// stopped at, a program stays under the program's name.
TEST(BuildUpdateScript, NeverRenamesTheProgramAway) {
  const std::string script = BuildUpdateScript("C:\\Games\\Launcher.exe", "C:\\Games\\917Launcher_new.exe");
  EXPECT_EQ(script.find("rename"), std::string::npos);
  EXPECT_EQ(script.find("ren "), std::string::npos);
  EXPECT_EQ(script.find("del "), std::string::npos);
  EXPECT_EQ(script.find("Launcher_back_up.exe"), std::string::npos);
}

TEST(BuildUpdateScript, DoublesBackslashesOfBothPathsButNeverATrailByte) {
  struct Case {
    const char* what;
    const char* exePath;
    const char* newPath;
    const char* exe;    // the program path as every line writes it
    const char* fresh;  // the new file's path as every line writes it
  } cases[] = {
      {"network path: the leading pair doubles too", "\\\\srv\\share\\L.exe", "\\\\srv\\share\\1L.exe",
       "\\\\\\\\srv\\\\share\\\\L.exe", "\\\\\\\\srv\\\\share\\\\1L.exe"},
      // 盶 is 0xB1 0x5C in GBK: its trail byte is not a separator and stays single.
      {"GBK name whose trail byte is 0x5C", "C:\\\xB1\x5C\\\xB1\x5C.exe", "C:\\\xB1\x5C\\9\xB1\x5C.exe",
       "C:\\\\\xB1\x5C\\\\\xB1\x5C.exe", "C:\\\\\xB1\x5C\\\\9\xB1\x5C.exe"},
      {"working directory at the root", "C:\\L.exe", "C:\\\\1L.exe", "C:\\\\L.exe", "C:\\\\\\\\1L.exe"},
      {"percent signs double too", "C:\\100%\\%PATH%.exe", "C:\\100%\\1%PATH%.exe", "C:\\\\100%%\\\\%%PATH%%.exe",
       "C:\\\\100%%\\\\1%%PATH%%.exe"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const auto lines = Lines(BuildUpdateScript(c.exePath, c.newPath));
    ASSERT_EQ(lines.size(), 4u);
    const std::string exe = std::string("\"") + c.exe + "\"";
    const std::string fresh = std::string("\"") + c.fresh + "\"";
    EXPECT_EQ(lines[0], "@ping 127.0.0.1 -n 2 -w 1000 > nul ");
    EXPECT_EQ(lines[1], "move /y " + fresh + " " + exe + " || attrib -r " + exe);
    EXPECT_EQ(lines[2], "if exist " + fresh + " move /y " + fresh + " " + exe);
    EXPECT_EQ(lines[3], exe);
  }
}

TEST(BuildUpdateScript, WithoutTheLeadByteRuleATrailByteWouldBeDoubled) {
  // The same GBK path read as single bytes: proof that the rule is what
  // keeps 盶 whole above.
  const auto lines = Lines(BuildUpdateScript("C:\\\xB1\x5C.exe", "C:\\1.exe", [](unsigned char) { return false; }));
  ASSERT_EQ(lines.size(), 4u);
  EXPECT_EQ(lines[3], "\"C:\\\\\xB1\x5C\x5C.exe\"");
}

// cmd.exe reads a batch file in the console's code page. A folder that
// code page cannot spell is written in its short form; the program's own
// name never is, since the new file takes exactly that name.
TEST(ConsoleUpdateScript, WritesWhatTheConsoleCanReadOrNothing) {
  using updatefakes::FakeHttp;
  using updatefakes::FakeProcess;
  using updatefakes::MemoryFileSystem;
  const std::string folder = "D:\\\xE6\xB8\xB8\xE6\x88\x8F";  // D:\游戏 in UTF-8
  struct Case {
    const char* what;
    std::string programPath;
    std::string newPath;
    bool asciiOnly;
    std::map<std::string, std::string> shortPaths;
    std::optional<std::string> script;
  } cases[] = {
      {"a console that reads the path", folder + "\\L.exe", folder + "\\1L.exe", false, {},
       BuildUpdateScript(folder + "\\L.exe", folder + "\\1L.exe")},
      {"the folder's short form", folder + "\\L.exe", folder + "\\1L.exe", true,
       {{folder, "D:\\3F2A~1"}, {folder + "\\1L.exe", "D:\\3F2A~1\\1L.exe"}},
       BuildUpdateScript("D:\\3F2A~1\\L.exe", "D:\\3F2A~1\\1L.exe")},
      {"no short form", folder + "\\L.exe", folder + "\\1L.exe", true, {{folder + "\\1L.exe", "D:\\3F2A~1\\1L.exe"}},
       std::nullopt},
      {"the program's own name outside the console's letters", "D:\\Games\\\xE6\xB8\xB8.exe", "D:\\Games\\1L.exe",
       true, {{"D:\\Games", "D:\\Games"}, {"D:\\Games\\1L.exe", "D:\\Games\\1L.exe"}}, std::nullopt},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    FakeHttp http;
    MemoryFileSystem files;
    files.shortPaths = c.shortPaths;
    FakeProcess process;
    process.consoleAsciiOnly = c.asciiOnly;
    UpdateEnvironment env{http, files, process, [](unsigned char) { return false; }};
    EXPECT_EQ(ConsoleUpdateScript(c.programPath, c.newPath, env), c.script);
  }
}

// Without a script the interpreter could read, nothing is replaced and the
// launcher keeps running: every line of an unreadable script would miss,
// and the launcher would end for nothing at every start. That is known
// before the launcher is fetched, so nothing is downloaded for it.
TEST(ConsoleUpdateScript, AScriptTheConsoleCannotReadReplacesNothing) {
  using namespace updatefakes;
  FakeHttp http;
  http.answers["http://update.test:80/v.txt"] = Ok("1.02");
  http.answers["http://update.test:80/L.exe"] = Ok(LauncherWith("version=1.02\r\n"));
  MemoryFileSystem files;
  FakeProcess process;
  const std::string folder = "D:\\J\xC3\xBCrgen";  // D:\Jürgen
  process.programPath = folder + "\\Launcher.exe";
  process.currentDirectory = folder;
  process.consoleAsciiOnly = true;
  UpdateEnvironment env{http, files, process, [](unsigned char) { return false; }};
  const UpdateSettings settings{"/v.txt", "/L.exe", "update.test", "1.01", 80, folder, ""};
  EXPECT_EQ(RunUpdateCheck(&settings, env), UpdateResult::ScriptNotCreated);
  EXPECT_EQ(http.requests.size(), 1u);
  EXPECT_TRUE(files.files.empty());
  EXPECT_TRUE(process.startedScripts.empty());
  EXPECT_EQ(process.ended, 0);
}
