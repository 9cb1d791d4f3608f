// The launcher process as the self-replacement uses it.
#include <gtest/gtest.h>

#include "update/system_process_win.h"
#include "update_process_tree.h"
#include "win_testkit.h"

TEST(SystemProcess, StartsAScriptWhosePathHasSpaces) {
  testkit::TempDir dir;
  const std::string scriptDir = dir.File("game folder");
  ASSERT_TRUE(CreateDirectoryA(scriptDir.c_str(), nullptr));
  const std::string marker = scriptDir + "\\started.txt";
  const std::string script = scriptDir + "\\Launcher_update.bat";
  ASSERT_TRUE(testkit::WriteFileBytes(script, testkit::ToBytes("@echo started> \"" + marker + "\"\r\n")));
  SystemProcess process;
  ASSERT_TRUE(process.StartHiddenScript(script));
  EXPECT_TRUE(testkit::PumpUntil([&] { return GetFileAttributesA(marker.c_str()) != INVALID_FILE_ATTRIBUTES; }, 15000));
  EXPECT_TRUE(testkit::EndProcessesStartedBy(GetCurrentProcessId()));
}
