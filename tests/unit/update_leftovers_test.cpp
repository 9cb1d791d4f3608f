#include "update/update_leftovers.h"

#include <gtest/gtest.h>

#include "update_test_fakes.h"

using namespace updatefakes;

// The script's presence tells start-up that the previous run replaced, or
// tried to replace, the program: that run checks for no update.
TEST(UpdateLeftovers, OnlyTheOldProgramAndTheScriptOfTheWorkingDirectoryGo) {
  struct Case {
    const char* what;
    std::optional<std::string> directory;
    std::set<std::string> left;
    bool scriptFound;
  } cases[] = {
      {"working directory", "C:\\Games",
       {"C:\\Games\\Launcher.exe", "C:\\Games\\Launcher_new.exe", "C:\\Games\\notes.txt",
        "C:\\Other\\Launcher_back_up.exe"},
       true},
      {"another directory", "C:\\Other",
       {"C:\\Games\\Launcher.exe", "C:\\Games\\Launcher_new.exe", "C:\\Games\\notes.txt",
        "C:\\Games\\Launcher_back_up.exe", "C:\\Games\\Launcher_update.bat"},
       false},
      {"directory too long", std::nullopt,
       {"C:\\Games\\Launcher.exe", "C:\\Games\\Launcher_new.exe", "C:\\Games\\notes.txt",
        "C:\\Games\\Launcher_back_up.exe", "C:\\Games\\Launcher_update.bat", "C:\\Other\\Launcher_back_up.exe"},
       false},
  };
  for (const Case& c : cases) {
    MemoryFileSystem files;
    for (const char* path : {"C:\\Games\\Launcher.exe", "C:\\Games\\Launcher_new.exe", "C:\\Games\\notes.txt",
                             "C:\\Games\\Launcher_back_up.exe", "C:\\Games\\Launcher_update.bat",
                             "C:\\Other\\Launcher_back_up.exe"})
      files.files[path] = "x";
    FakeProcess process;
    process.currentDirectory = c.directory;
    EXPECT_EQ(RemoveUpdateLeftovers(files, process), c.scriptFound) << c.what;
    std::set<std::string> left;
    for (const auto& [path, content] : files.files) left.insert(path);
    EXPECT_EQ(left, c.left) << c.what;
  }
}
