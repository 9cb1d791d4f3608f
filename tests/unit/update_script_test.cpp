#include "update/update_script.h"

#include <gtest/gtest.h>

#include <vector>

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

TEST(BuildUpdateScript, WritesTheWorkedExampleByteForByte) {
  EXPECT_EQ(BuildUpdateScript("C:\\Games\\Launcher.exe", "C:\\Games\\917Launcher_new.exe"),
            "@ping 127.0.0.1 -n 2 -w 1000 > nul \r\n"
            "move /y \"C:\\\\Games\\\\917Launcher_new.exe\" \"C:\\\\Games\\\\Launcher.exe\""
            " || rename \"C:\\\\Games\\\\Launcher.exe\" \"Launcher_back_up.exe\"\r\n"
            "rename  \"C:\\\\Games\\\\917Launcher_new.exe\" \"Launcher.exe\""
            " || rename \"C:\\\\Games\\\\Launcher_back_up.exe\" \"Launcher.exe\"\r\n"
            "\"C:\\\\Games\\\\Launcher.exe\"\r\n");
}

TEST(BuildUpdateScript, EveryLineEndsInCarriageReturnAndLineFeedOnly) {
  const std::string script = BuildUpdateScript("C:\\a\\L.exe", "C:\\a\\1L.exe");
  const auto lines = Lines(script);
  ASSERT_EQ(lines.size(), 4u);
  for (const std::string& line : lines) {
    EXPECT_EQ(line.find('\n'), std::string::npos);
    EXPECT_EQ(line.find('\r'), std::string::npos);
  }
  EXPECT_EQ(lines[0].back(), ' ');                 // the first line ends with a space
  EXPECT_EQ(lines[2].rfind("rename  \"", 0), 0u);  // two spaces after rename
}

TEST(BuildUpdateScript, DoublesBackslashesOfBothPathsButNeverATrailByte) {
  struct Case {
    const char* what;
    const char* exePath;
    const char* newPath;
    const char* line2;
    const char* line3;
    const char* line4;
  } cases[] = {
      {"network path: the leading pair doubles too", "\\\\srv\\share\\L.exe", "\\\\srv\\share\\1L.exe",
       "move /y \"\\\\\\\\srv\\\\share\\\\1L.exe\" \"\\\\\\\\srv\\\\share\\\\L.exe\" || rename \"\\\\\\\\srv\\\\share\\\\L.exe\" \"Launcher_back_up.exe\"",
       "rename  \"\\\\\\\\srv\\\\share\\\\1L.exe\" \"L.exe\" || rename \"\\\\\\\\srv\\\\share\\\\Launcher_back_up.exe\" \"L.exe\"", "\"\\\\\\\\srv\\\\share\\\\L.exe\""},
      // 盶 is 0xB1 0x5C in GBK: its trail byte is not a separator and stays single.
      {"GBK name whose trail byte is 0x5C", "C:\\\xB1\x5C\\\xB1\x5C.exe", "C:\\\xB1\x5C\\9\xB1\x5C.exe",
       "move /y \"C:\\\\\xB1\x5C\\\\9\xB1\x5C.exe\" \"C:\\\\\xB1\x5C\\\\\xB1\x5C.exe\""
       " || rename \"C:\\\\\xB1\x5C\\\\\xB1\x5C.exe\" \"Launcher_back_up.exe\"",
       "rename  \"C:\\\\\xB1\x5C\\\\9\xB1\x5C.exe\" \"\xB1\x5C.exe\""
       " || rename \"C:\\\\\xB1\x5C\\\\Launcher_back_up.exe\" \"\xB1\x5C.exe\"", "\"C:\\\\\xB1\x5C\\\\\xB1\x5C.exe\""},
      {"working directory at the root", "C:\\L.exe", "C:\\\\1L.exe",
       "move /y \"C:\\\\\\\\1L.exe\" \"C:\\\\L.exe\" || rename \"C:\\\\L.exe\" \"Launcher_back_up.exe\"",
       "rename  \"C:\\\\\\\\1L.exe\" \"L.exe\" || rename \"C:\\\\Launcher_back_up.exe\" \"L.exe\"",
       "\"C:\\\\L.exe\""},
      {"a program path without a backslash names itself", "L.exe", "1L.exe",
       "move /y \"1L.exe\" \"L.exe\" || rename \"L.exe\" \"Launcher_back_up.exe\"",
       "rename  \"1L.exe\" \"L.exe\" || rename \"Launcher_back_up.exe\" \"L.exe\"", "\"L.exe\""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const auto lines = Lines(BuildUpdateScript(c.exePath, c.newPath));
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_EQ(lines[0], "@ping 127.0.0.1 -n 2 -w 1000 > nul ");
    EXPECT_EQ(lines[1], c.line2);
    EXPECT_EQ(lines[2], c.line3);
    EXPECT_EQ(lines[3], c.line4);
  }
}

TEST(BuildUpdateScript, WithoutTheLeadByteRuleATrailByteWouldBeDoubled) {
  // The same GBK path read as single bytes: proof that the rule is what
  // keeps 盶 whole above.
  const auto lines = Lines(BuildUpdateScript("C:\\\xB1\x5C.exe", "C:\\1.exe", [](unsigned char) { return false; }));
  ASSERT_EQ(lines.size(), 4u);
  EXPECT_EQ(lines[3], "\"C:\\\\\xB1\x5C\x5C.exe\"");
  EXPECT_EQ(lines[2], "rename  \"C:\\\\1.exe\" \".exe\" || rename \"C:\\\\\xB1\x5C\x5CLauncher_back_up.exe\" \".exe\"");
}

TEST(BuildUpdateScript, DoublesPercentSignsSoTheInterpreterKeepsThem) {
  const auto lines = Lines(BuildUpdateScript("C:\\100%\\%PATH%.exe", "C:\\100%\\1%PATH%.exe"));
  ASSERT_EQ(lines.size(), 4u);
  EXPECT_EQ(lines[0], "@ping 127.0.0.1 -n 2 -w 1000 > nul ");
  EXPECT_EQ(lines[1],
            "move /y \"C:\\\\100%%\\\\1%%PATH%%.exe\" \"C:\\\\100%%\\\\%%PATH%%.exe\""
            " || rename \"C:\\\\100%%\\\\%%PATH%%.exe\" \"Launcher_back_up.exe\"");
  EXPECT_EQ(lines[2],
            "rename  \"C:\\\\100%%\\\\1%%PATH%%.exe\" \"%%PATH%%.exe\""
            " || rename \"C:\\\\100%%\\\\Launcher_back_up.exe\" \"%%PATH%%.exe\"");
  EXPECT_EQ(lines[3], "\"C:\\\\100%%\\\\%%PATH%%.exe\"");
}
