#include "update/update_leftovers.h"

#include <gtest/gtest.h>

#include "update_test_fakes.h"

using namespace updatefakes;

TEST(UpdateLeftovers, OnlyTheOldProgramAndTheScriptOfTheWorkingDirectoryGo) {
  struct Case {
    const char* what;
    std::optional<std::string> directory;
    std::set<std::string> left;
  } cases[] = {
      {"working directory", "C:\\Games",
       {"C:\\Games\\Launcher.exe", "C:\\Games\\Launcher_new.exe", "C:\\Games\\notes.txt",
        "C:\\Other\\Launcher_back_up.exe"}},
      {"another directory", "C:\\Other",
       {"C:\\Games\\Launcher.exe", "C:\\Games\\Launcher_new.exe", "C:\\Games\\notes.txt",
        "C:\\Games\\Launcher_back_up.exe", "C:\\Games\\Launcher_update.bat"}},
      {"directory too long", std::nullopt,
       {"C:\\Games\\Launcher.exe", "C:\\Games\\Launcher_new.exe", "C:\\Games\\notes.txt",
        "C:\\Games\\Launcher_back_up.exe", "C:\\Games\\Launcher_update.bat", "C:\\Other\\Launcher_back_up.exe"}},
  };
  for (const Case& c : cases) {
    MemoryFileSystem files;
    for (const char* path : {"C:\\Games\\Launcher.exe", "C:\\Games\\Launcher_new.exe", "C:\\Games\\notes.txt",
                             "C:\\Games\\Launcher_back_up.exe", "C:\\Games\\Launcher_update.bat",
                             "C:\\Other\\Launcher_back_up.exe"})
      files.files[path] = "x";
    FakeProcess process;
    process.currentDirectory = c.directory;
    RemoveUpdateLeftovers(files, process);
    std::set<std::string> left;
    for (const auto& [path, content] : files.files) left.insert(path);
    EXPECT_EQ(left, c.left) << c.what;
  }
}
