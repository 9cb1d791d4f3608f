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
    EXPECT_EQ(RemoveUpdateLeftovers(files, process).scriptRemoved, c.scriptFound) << c.what;
    std::set<std::string> left;
    for (const auto& [path, content] : files.files) left.insert(path);
    EXPECT_EQ(left, c.left) << c.what;
  }
}

// Only a script that is really gone says the previous run updated: one that
// stays (a folder of that name) would otherwise switch the checks off for
// good. A read-only one is the launcher's own file and goes all the same.
TEST(UpdateLeftovers, OnlyAScriptThatIsGoneCountsAsAnUpdate) {
  struct Case {
    const char* what;
    bool folder;
    bool readOnly;
    bool removed;
  } cases[] = {
      {"a script", false, false, true},
      {"a read-only script", false, true, true},
      {"a folder of the script's name", true, false, false},
  };
  const std::string script = "C:\\Games\\Launcher_update.bat";
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    MemoryFileSystem files;
    if (c.folder)
      files.folders.insert(script);
    else
      files.files[script] = "x";
    if (c.readOnly) files.readOnly.insert(script);
    FakeProcess process;
    const UpdateLeftovers found = RemoveUpdateLeftovers(files, process);
    EXPECT_TRUE(found.scriptFound);
    EXPECT_EQ(found.scriptRemoved, c.removed);
    EXPECT_FALSE(files.Has(script));
  }
}
