#include <gtest/gtest.h>

#include "win/process.h"
#include "win_testkit.h"

namespace {

// Waits for a program that ends by itself; one that does not is ended.
bool EndedByItself(HANDLE process) {
  if (WaitForSingleObject(process, 20000) == WAIT_OBJECT_0) return true;
  TerminateProcess(process, 1);
  EXPECT_EQ(WaitForSingleObject(process, 10000), WAIT_OBJECT_0) << "the program could not be ended";
  return false;
}

}  // namespace

TEST(LauncherRestart, StartsTheProgramItselfWithoutArgumentsEvenBelowASpacedDirectory) {
  testkit::TempDir dir;
  const std::string mark = testkit::WinePath(MARK_EXE);
  ASSERT_TRUE(CreateDirectoryA(dir.File("my game").c_str(), nullptr));
  const std::string program = dir.File("my game\\Launcher.exe");
  // What the unquoted command line "...\my game\Launcher.exe" starts first.
  const std::string decoy = dir.File("my.exe");
  ASSERT_TRUE(CopyFileA(mark.c_str(), program.c_str(), FALSE));
  ASSERT_TRUE(CopyFileA(mark.c_str(), decoy.c_str(), FALSE));

  const win::UniqueHandle process = win::StartProgram(program.c_str());
  ASSERT_TRUE(process);
  EXPECT_TRUE(EndedByItself(process.Get()));
  // The mark is the command line after the program's name: nothing.
  EXPECT_EQ(testkit::ReadFileBytes(program + ".marks"), testkit::Bytes{'\n'});
  EXPECT_FALSE(dir.Exists("my.exe.marks"));
}

TEST(LauncherRestart, AMissingProgramStartsNothing) {
  testkit::TempDir dir;
  EXPECT_FALSE(win::StartProgram(dir.File("missing.exe").c_str()));
}
