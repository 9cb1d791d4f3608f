#include <gtest/gtest.h>

#include "package/package_file_win.h"
#include "win_testkit.h"
#include "zip_builder.h"

using testkit::Concat;
using testkit::MakePeImage;
using testkit::ZipBuilder;

TEST(ProgramFile, MapsTheFileAndKeepsWritersOutWhileOpen) {
  testkit::TempDir dir;
  const testkit::Bytes file = Concat({MakePeImage(), ZipBuilder().Add("config/cg.txt", "[global]").Build()});
  ASSERT_TRUE(dir.Write("Launcher.exe", file));
  const std::string path = dir.File("Launcher.exe");
  {
    ProgramFile program;
    ASSERT_EQ(program.Map(path.c_str()), ProgramFile::MapResult::kMapped);
    ASSERT_EQ(program.Bytes().size(), file.size());
    EXPECT_TRUE(std::equal(file.begin(), file.end(), program.Bytes().begin()));

    AttachedPackage package;
    ASSERT_EQ(package.Open(program.Bytes()), PackageOpenResult::kOpened);
    std::vector<char> content;
    EXPECT_EQ(package.ReadMember("config/cg.txt", &content), AttachedPackage::ReadResult::kRead);
    EXPECT_EQ(std::string(content.begin(), content.end()), "[global]");

    // Readers may share the file; nobody may write or delete it meanwhile.
    HANDLE reader = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    EXPECT_NE(reader, INVALID_HANDLE_VALUE);
    CloseHandle(reader);
    HANDLE writer = CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                OPEN_EXISTING, 0, nullptr);
    EXPECT_EQ(writer, INVALID_HANDLE_VALUE);
    if (writer != INVALID_HANDLE_VALUE) CloseHandle(writer);
    EXPECT_FALSE(DeleteFileA(path.c_str()));
  }
  EXPECT_TRUE(DeleteFileA(path.c_str()));  // released with the object
}

TEST(ProgramFile, ReportsAMissingFile) {
  testkit::TempDir dir;
  ProgramFile program;
  EXPECT_EQ(program.Map(dir.File("absent.exe").c_str()), ProgramFile::MapResult::kCannotOpen);
  EXPECT_TRUE(program.Bytes().empty());
}
