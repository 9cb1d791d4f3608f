// The real 32-bit product, as the win32 preset builds it, read by the core
// built for this machine: where its image ends, the package appended to it
// (by hand and by launcher-pack, which also rewrites its resources) and the
// version inside it, as the self-update reads a download. The core's own
// tests use small synthetic images, which could agree with the reader and
// not with the linker. The win32 preset's test product_image runs this
// program with LAUNCHER_PRODUCT naming its Launcher.exe.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "common/byte_order.h"
#include "package/attached_package.h"
#include "package/image_end.h"
#include "update/launcher_image.h"
#include "zip_builder.h"

using testkit::Bytes;
using testkit::Concat;
using testkit::ZipBuilder;
namespace fs = std::filesystem;

namespace {

Bytes ReadFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::string ReadText(const fs::path& path) {
  const Bytes bytes = ReadFile(path);
  return std::string(bytes.begin(), bytes.end());
}

Bytes Package(const std::string& version, const std::string& extraMember = "") {
  ZipBuilder zip;
  zip.Add("config/cg.txt", testkit::MinimalConfig("version=" + version + "\r\n"));
  if (!extraMember.empty()) zip.Add(extraMember, "picture bytes");
  return zip.Build();
}

std::string Member(const Bytes& program, const char* name) {
  AttachedPackage package;
  if (package.Open(program) != PackageOpenResult::kOpened) return "(not opened)";
  std::vector<char> content;
  if (package.ReadMember(name, &content) != AttachedPackage::ReadResult::kRead) return "(not read)";
  return std::string(content.begin(), content.end());
}

class LauncherProduct : public testing::Test {
 protected:
  void SetUp() override {
    const char* path = std::getenv("LAUNCHER_PRODUCT");
    ASSERT_NE(path, nullptr) << "LAUNCHER_PRODUCT names no product: run the win32 preset's test product_image";
    path_ = path;
    product_ = ReadFile(path_);
    ASSERT_GT(product_.size(), 0x40u) << path_ << " cannot be read";
  }

  fs::path path_;
  Bytes product_;
};

TEST_F(LauncherProduct, IsAStrippedPe32ImageThatEndsWhereTheFileEnds) {
  const std::uint32_t ntHeaders = LittleEndian32(&product_[0x3C]);
  ASSERT_LT(ntHeaders + 26u, product_.size());
  EXPECT_EQ(LittleEndian16(&product_[ntHeaders + 4]), 0x14C) << "machine";
  EXPECT_EQ(LittleEndian16(&product_[ntHeaders + 24]), 0x10B) << "optional header magic";
  // Nothing follows the last section of a stripped image: an appended
  // package starts exactly where the reader says the image ends.
  EXPECT_EQ(FindImageEnd(product_), product_.size());
  EXPECT_EQ(FindImageEnd(Concat({product_, Package("1.01")})), product_.size());
}

TEST_F(LauncherProduct, ReadsTheLastPackageAppendedToIt) {
  AttachedPackage bare;
  EXPECT_EQ(bare.Open(product_), PackageOpenResult::kNothingAppended);

  const Bytes twice = Concat({product_, Package("1.01"), Package("1.02", "config/main1.png")});
  AttachedPackage package;
  ASSERT_EQ(package.Open(twice), PackageOpenResult::kOpened);
  EXPECT_EQ(package.MemberNames(), (std::vector<std::string>{"config/cg.txt", "config/main1.png"}));
  EXPECT_EQ(Member(twice, "config/cg.txt"), testkit::MinimalConfig("version=1.02\r\n"));
}

TEST_F(LauncherProduct, AsADownloadItIsALauncherOnlyWithItsPackageAndCarriesItsVersion) {
  EXPECT_FALSE(IsLauncherImage(product_));
  EXPECT_EQ(LauncherImageVersion(product_), std::nullopt);
  const Bytes packed = Concat({product_, Package("1.23")});
  EXPECT_TRUE(IsLauncherImage(packed));
  EXPECT_EQ(LauncherImageVersion(packed), "1.23");
}

// launcher-pack rewrites the image's resources for the version information
// and then appends the skin: the core still finds the image's end, the
// package right after it and the version inside.
TEST_F(LauncherProduct, PackedAndBrandedByTheToolItIsStillALauncher) {
  std::string dirTemplate = (fs::temp_directory_path() / "product-image.XXXXXX").string();
  ASSERT_NE(mkdtemp(dirTemplate.data()), nullptr);
  const fs::path dir = dirTemplate, out = dir / "MyGame.exe", log = dir / "pack.log";
  const std::string command = std::string("'") + LAUNCHER_PACK + "' pack '" + DEMO_SKIN + "' --exe '" + path_.string() +
                              "' -o '" + out.string() + "' --from-utf8 --product-name Demo --file-version 1.2.3.4 >'" +
                              log.string() + "' 2>&1";
  const int status = std::system(command.c_str());
  const Bytes packed = ReadFile(out);
  const std::string packLog = ReadText(log);
  fs::remove_all(dir);
  ASSERT_EQ(status, 0) << packLog;

  const auto end = FindImageEnd(packed);
  ASSERT_TRUE(end.has_value());
  ASSERT_LT(*end + 4, packed.size());
  EXPECT_NE(Bytes(packed.begin(), packed.begin() + *end), product_) << "the version information was not written";
  EXPECT_EQ(std::string(packed.begin() + *end, packed.begin() + *end + 4), std::string("PK\x03\x04", 4))
      << "the package starts where the image ends";
  EXPECT_EQ(Member(packed, "config/main1.png"), ReadText(fs::path(DEMO_SKIN) / "config/main1.png"));
  EXPECT_EQ(LauncherImageVersion(packed), "1.00");
}

}  // namespace
