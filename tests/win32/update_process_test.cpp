// The launcher process as the self-replacement uses it: the interpreter it
// starts, how it knows the script runs, and the priority it leaves.
#include <gtest/gtest.h>

#include "update/system_process_win.h"
#include "update_process_tree.h"
#include "win_testkit.h"

namespace {

// A folder of its own, named as players name theirs: spaces, and a "%OS%"
// that the interpreter would expand on its command line.
class ScriptFolder : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(CreateDirectoryA(folder.c_str(), nullptr)); }
  void TearDown() override { EXPECT_TRUE(testkit::EndProcessesStartedBy(GetCurrentProcessId())); }
  bool WriteScript(const std::string& text) const {
    return testkit::WriteFileBytes(folder + "\\Launcher_update.bat", testkit::ToBytes(text));
  }

  testkit::TempDir dir;
  const std::string folder = dir.File("my game q%OS%r");
  const std::string marker = folder + "\\started.txt";
  SystemProcess process;
};

}  // namespace

// The script runs once the interpreter has started its first command; the
// folder is named nowhere on the interpreter's command line, so nothing in
// it is expanded.
TEST_F(ScriptFolder, RunsTheScriptOfAFolderWhoseNameHasSpacesAndPercentSigns) {
  ASSERT_TRUE(WriteScript("@ping 127.0.0.1 -n 2 -w 1000 > nul \r\n@echo started> started.txt\r\n"));
  EXPECT_TRUE(process.RunScript(folder, "Launcher_update.bat"));
  EXPECT_TRUE(testkit::PumpUntil([&] { return GetFileAttributesA(marker.c_str()) != INVALID_FILE_ATTRIBUTES; }, 15000));
}

// A script the interpreter never reads (removed by a scanner before it
// could) is reported as not running, once the interpreter has ended.
TEST_F(ScriptFolder, AScriptThatIsGoneDoesNotRun) { EXPECT_FALSE(process.RunScript(folder, "Launcher_update.bat")); }

// Started by the idle-class update script, the launcher would keep the
// idle class; it leaves it for the normal one, and no other class.
TEST(LeaveIdlePriority, GoesFromIdleToNormalAndLeavesOtherClassesAlone) {
  HANDLE self = GetCurrentProcess();
  const DWORD before = GetPriorityClass(self);
  struct Case {
    DWORD given;
    DWORD left;
  } cases[] = {
      {IDLE_PRIORITY_CLASS, NORMAL_PRIORITY_CLASS},
      {BELOW_NORMAL_PRIORITY_CLASS, BELOW_NORMAL_PRIORITY_CLASS},
      {NORMAL_PRIORITY_CLASS, NORMAL_PRIORITY_CLASS},
      {ABOVE_NORMAL_PRIORITY_CLASS, ABOVE_NORMAL_PRIORITY_CLASS},
  };
  for (const Case& c : cases) {
    ASSERT_TRUE(SetPriorityClass(self, c.given));
    ASSERT_EQ(GetPriorityClass(self), c.given) << "the system keeps no class";
    LeaveIdlePriority();
    EXPECT_EQ(GetPriorityClass(self), c.left) << c.given;
  }
  SetPriorityClass(self, before);
}
