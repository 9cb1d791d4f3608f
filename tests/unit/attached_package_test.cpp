#include "package/attached_package.h"

#include <gtest/gtest.h>

#include <cstring>

#include "package/image_end.h"
#include "zip_builder.h"

using testkit::Bytes;
using testkit::Concat;
using testkit::MakePeImage;
using testkit::ZipBuilder;

namespace {

// A package that keeps the file it was opened on, as the launcher keeps its
// mapped program file.
class TestPackage : public AttachedPackage {
 public:
  PackageOpenResult Open(Bytes file) {
    const Bytes previous = std::exchange(file_, std::move(file));
    return AttachedPackage::Open(file_);
  }

 private:
  Bytes file_;
};

std::string Read(AttachedPackage& package, const char* name) {
  std::vector<char> content;
  if (package.ReadMember(name, &content) != AttachedPackage::ReadResult::kRead) return "<missing>";
  return std::string(content.begin(), content.end());
}

void Put32(Bytes& bytes, std::size_t at, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) bytes[at + i] = (v >> (8 * i)) & 0xFF;
}

}  // namespace

TEST(FindImageEnd, TakesTheLastSectionHeaderWhateverTheOthersSay) {
  Bytes image = MakePeImage(4096, 3);
  EXPECT_EQ(FindImageEnd(image), 4096u);
  // An earlier section claiming to run further does not move the end.
  Put32(image, 0x80 + 248 + 16, 100000);
  EXPECT_EQ(FindImageEnd(image), 4096u);
}

TEST(FindImageEnd, DamagedHeadersGiveNothingInsteadOfReadingOutside) {
  const Bytes good = MakePeImage(1024, 2);
  Bytes pointsOut = good;
  Put32(pointsOut, 0x3C, 0xFFFFFFF0);  // NT headers far beyond the file
  Bytes tooManySections = good;
  tooManySections[0x80 + 6] = 0xFF;  // 255 sections: table runs past the end
  Bytes noSections = good;
  noSections[0x80 + 6] = 0;

  EXPECT_FALSE(FindImageEnd(Bytes(good.begin(), good.begin() + 0x3E)));
  EXPECT_FALSE(FindImageEnd(pointsOut));
  EXPECT_FALSE(FindImageEnd(tooManySections));
  EXPECT_FALSE(FindImageEnd(noSections));
  EXPECT_FALSE(FindImageEnd({}));
}

TEST(FindSectionTable, ReadsEachHeaderWhereTheImageEndIsFound) {
  Bytes image = MakePeImage(4096, 3);
  std::memcpy(&image[0x80 + 248 + 40], ".rsrc\0\0\0", 8);
  Put32(image, 0x80 + 248 + 40 + 8, 0x123);        // virtual size
  Put32(image, 0x80 + 248 + 40 + 12, 0x2000);      // virtual address
  Put32(image, 0x80 + 248 + 40 + 36, 0x40000040);  // characteristics
  const auto table = FindSectionTable(image);
  ASSERT_TRUE(table);
  EXPECT_EQ(table->offset, 0x80u + 248);
  EXPECT_EQ(table->count, 3u);
  const auto second = ReadSectionHeader(image, *table, 1);
  ASSERT_TRUE(second);
  EXPECT_EQ(second->name, ".rsrc");
  EXPECT_EQ(second->virtualSize, 0x123u);
  EXPECT_EQ(second->virtualAddress, 0x2000u);
  EXPECT_EQ(second->rawOffset, 0x300u);
  EXPECT_EQ(second->rawSize, 0x100u);
  EXPECT_EQ(second->characteristics, 0x40000040u);
  const auto last = ReadSectionHeader(image, *table, 2);
  ASSERT_TRUE(last);
  EXPECT_EQ(std::uint64_t{last->rawOffset} + last->rawSize, FindImageEnd(image));
  // A header reaching past the end of the file is not read.
  EXPECT_FALSE(ReadSectionHeader(Bytes(image.begin(), image.begin() + 0x80 + 248 + 40 * 3 - 1), *table, 2));
  // A 64-bit image's table follows its 240-byte optional header.
  image[0x80 + 24] = 0x0B;
  image[0x80 + 25] = 0x02;
  EXPECT_EQ(FindSectionTable(image)->offset, 0x80u + 264);
}

TEST(AttachedPackage, OpenReportsEachFailure) {
  TestPackage package;
  EXPECT_EQ(package.Open(MakePeImage()), PackageOpenResult::kNothingAppended);
  // Raw data said to run past the end of the file: still nothing appended.
  Bytes shortFile = MakePeImage(1024);
  shortFile.resize(900);
  EXPECT_EQ(package.Open(shortFile), PackageOpenResult::kNothingAppended);
  EXPECT_EQ(package.Open(Concat({MakePeImage(), testkit::ToBytes("not a zip archive at all")})),
            PackageOpenResult::kNotAnArchive);
  EXPECT_EQ(package.Open(Concat({Bytes(0x30, 0), testkit::ToBytes("junk")})), PackageOpenResult::kNotAnArchive);
  EXPECT_EQ(package.Open(Concat({MakePeImage(), ZipBuilder().Add("a", "b").Build()})), PackageOpenResult::kOpened);
}

TEST(AttachedPackage, RejectsMalformedEndRecords) {
  const Bytes zip = ZipBuilder().Add("config/cg.txt", "x").Build();
  const std::size_t end = zip.size() - 22;
  struct Case {
    const char* what;
    std::size_t offset;  // within the end record
    std::uint32_t value;
    int width;
  } cases[] = {
      {"second disk", 4, 1, 2},
      {"directory on another disk", 6, 1, 2},
      {"entry counts differ", 8, 2, 2},
      {"directory beyond the end record", 16, 0x100, 4},
  };
  for (const Case& c : cases) {
    Bytes damaged = zip;
    for (int i = 0; i < c.width; ++i) damaged[end + c.offset + i] = (c.value >> (8 * i)) & 0xFF;
    TestPackage package;
    EXPECT_EQ(package.Open(Concat({MakePeImage(), damaged})), PackageOpenResult::kNotAnArchive) << c.what;
  }
}

TEST(AttachedPackage, EndRecordIsSoughtInTheLast65535BytesOnly) {
  const std::string fits(65535 - 22, 'c');
  const std::string tooLong(65535 - 21, 'c');
  TestPackage package;
  EXPECT_EQ(package.Open(Concat({MakePeImage(), ZipBuilder().Add("a", "1").Comment(fits).Build()})),
            PackageOpenResult::kOpened);
  EXPECT_EQ(package.Open(Concat({MakePeImage(), ZipBuilder().Add("a", "1").Comment(tooLong).Build()})),
            PackageOpenResult::kNotAnArchive);
}

TEST(AttachedPackage, LastOfSeveralArchivesIsThePackageWhole) {
  const Bytes first = ZipBuilder().Add("config/cg.txt", "first").Add("only-in-first", "1").Build();
  const Bytes second = ZipBuilder().Add("config/cg.txt", "second").Build();
  TestPackage package;
  ASSERT_EQ(package.Open(Concat({MakePeImage(), first, second})), PackageOpenResult::kOpened);
  EXPECT_EQ(Read(package, "config/cg.txt"), "second");
  EXPECT_EQ(Read(package, "only-in-first"), "<missing>");
  EXPECT_EQ(package.MemberNames(), std::vector<std::string>{"config/cg.txt"});
}

TEST(AttachedPackage, LookupIsExactAndTheFirstOfDuplicatesWins) {
  const std::string name255(255, 'n');
  const std::string name256(256, 'n');
  const Bytes zip = ZipBuilder()
                        .Add("config/", "")
                        .Add("config/cg.txt", "first")
                        .Add("config/cg.txt", "second")
                        .Add(name255, "255")
                        .Add(name256, "256")
                        .Build();
  TestPackage package;
  ASSERT_EQ(package.Open(Concat({MakePeImage(), zip})), PackageOpenResult::kOpened);
  int index = 0;
  std::uint32_t size = 0;
  ASSERT_TRUE(package.FindMember("config/cg.txt", &index, &size));
  EXPECT_EQ(index, 1);
  EXPECT_EQ(size, 5u);
  EXPECT_EQ(Read(package, "config/cg.txt"), "first");
  EXPECT_FALSE(package.FindMember("config/Cg.txt", &index, &size));
  EXPECT_EQ(index, -1);
  EXPECT_FALSE(package.FindMember("config\\cg.txt", &index, &size));
  EXPECT_FALSE(package.FindMember("config/cg.tx", &index, &size));
  EXPECT_FALSE(package.FindMember("config/cg.txt ", &index, &size));
  EXPECT_EQ(Read(package, name255.c_str()), "255");
  EXPECT_FALSE(package.FindMember(name256.c_str(), &index, &size));
}

TEST(AttachedPackage, StoredAndDeflatedMembersExtractAlike) {
  std::string content;
  for (int i = 0; i < 5000; ++i) content += "line " + std::to_string(i) + "\r\n";
  const Bytes zip = ZipBuilder().Add("stored", content, false).Add("deflated", content, true).Build();
  TestPackage package;
  ASSERT_EQ(package.Open(Concat({MakePeImage(), zip})), PackageOpenResult::kOpened);
  EXPECT_EQ(Read(package, "stored"), content);
  EXPECT_EQ(Read(package, "deflated"), content);
}

TEST(AttachedPackage, ExtractionGoesOnWhereItStoppedUntilNothingIsLeft) {
  const Bytes zip = ZipBuilder().Add("a", "0123456789").Add("b", "xyz").Build();
  TestPackage package;
  ASSERT_EQ(package.Open(Concat({MakePeImage(), zip})), PackageOpenResult::kOpened);
  char buffer[4] = {};
  EXPECT_EQ(package.ExtractMember(0, buffer, 4), 4);
  EXPECT_EQ(std::string(buffer, 4), "0123");
  EXPECT_EQ(package.ExtractMember(0, buffer, 4), 4);
  EXPECT_EQ(std::string(buffer, 4), "4567");
  EXPECT_EQ(package.ExtractMember(0, buffer, 4), 2);
  EXPECT_EQ(package.ExtractMember(0, buffer, 4), 0);  // closed: the next call starts over
  EXPECT_EQ(package.ExtractMember(0, buffer, 4), 4);
  EXPECT_EQ(std::string(buffer, 4), "0123");
  // Another member, then back: starts over too.
  EXPECT_EQ(package.ExtractMember(1, buffer, 4), 3);
  EXPECT_EQ(package.ExtractMember(0, buffer, 4), 4);
  EXPECT_EQ(std::string(buffer, 4), "0123");
  // A successful lookup closes the member in progress; a failed one does not.
  int index = 0;
  std::uint32_t size = 0;
  EXPECT_FALSE(package.FindMember("missing", &index, &size));
  EXPECT_EQ(package.ExtractMember(0, buffer, 4), 4);
  EXPECT_EQ(std::string(buffer, 4), "4567");
  EXPECT_TRUE(package.FindMember("b", &index, &size));
  EXPECT_EQ(package.ExtractMember(0, buffer, 4), 4);
  EXPECT_EQ(std::string(buffer, 4), "0123");
  EXPECT_EQ(package.ExtractMember(2, buffer, 4), -1);
  EXPECT_EQ(package.ExtractMember(-1, buffer, 4), -1);
}

TEST(AttachedPackage, DamagedMembersReadAsMissing) {
  Bytes zip = ZipBuilder().Add("method", "data", false).Add("deflate", std::string(1000, 'z')).Build();
  // Local header of "method" says method 9, the directory says 0.
  zip[8] = 9;
  TestPackage package;
  ASSERT_EQ(package.Open(Concat({MakePeImage(), zip})), PackageOpenResult::kOpened);
  EXPECT_EQ(Read(package, "method"), "<missing>");

  // A deflated member whose data is garbage.
  Bytes garbage = ZipBuilder().Add("deflate", std::string(1000, 'z')).Build();
  garbage[30 + 7] = 0xFF;
  garbage[30 + 8] = 0xFF;
  ASSERT_EQ(package.Open(Concat({MakePeImage(), garbage})), PackageOpenResult::kOpened);
  EXPECT_EQ(Read(package, "deflate"), "<missing>");
}

TEST(MemberSizeIsPlausible, BoundsWhatAMemberCanClaim) {
  struct Case {
    std::uint32_t method;
    std::uint64_t compressed, uncompressed, package;
    bool plausible;
  } cases[] = {
      {0, 100, 100, 1000, true},    {0, 100, 101, 1000, false},   {8, 100, 101 * 1032, 1000, true},
      {8, 100, 101 * 1032 + 1, 1000, false}, {8, 1001, 10, 1000, false}, {8, 0xFFFFFFF0, 0xFFFFFFFF, 1000, false},
      {8, 0, 0, 0, true},
  };
  for (const Case& c : cases)
    EXPECT_EQ(MemberSizeIsPlausible(c.method, c.compressed, c.uncompressed, c.package), c.plausible)
        << c.method << " " << c.compressed << " " << c.uncompressed << " " << c.package;
}

TEST(AttachedPackage, AMemberClaimingAnImpossibleSizeIsNeverAllocated) {
  // Sizes in the central directory: 4 GB - 1 out of the real data, and out
  // of a compressed size larger than the whole package.
  for (const std::uint32_t compressed : {0u, 0xFFFFFFF0u}) {
    Bytes zip = ZipBuilder().Add("huge", "tiny").Build();
    const std::size_t directory = zip.size() - 22 - (46 + 4);
    if (compressed != 0) Put32(zip, directory + 20, compressed);
    Put32(zip, directory + 24, 0xFFFFFFFF);
    TestPackage package;
    ASSERT_EQ(package.Open(Concat({MakePeImage(), zip})), PackageOpenResult::kOpened);
    int index = 0;
    std::uint32_t size = 0;
    ASSERT_TRUE(package.FindMember("huge", &index, &size));
    EXPECT_EQ(size, 0xFFFFFFFFu);
    EXPECT_EQ(Read(package, "huge"), "<missing>") << compressed;
  }
}

TEST(AttachedPackage, ABombIsRefusedBeforeItIsInflated) {
  // Zeros deflate about 1000 to 1: a plausible ratio, an absurd file.
  constexpr std::uint32_t kLimit = AttachedPackage::kMaxWholeMemberBytes;
  const Bytes zip = ZipBuilder()
                        .Add("config/cg.txt", std::string(kLimit + 1, '\0'))
                        .Add("config/main1.png", std::string(kLimit, 'p'))
                        .Build();
  ASSERT_LT(zip.size(), kLimit / 100);
  TestPackage package;
  ASSERT_EQ(package.Open(Concat({MakePeImage(), zip})), PackageOpenResult::kOpened);
  std::vector<char> content;
  EXPECT_EQ(package.ReadMember("config/cg.txt", &content), AttachedPackage::ReadResult::kNoMemory);
  EXPECT_EQ(content.capacity(), 0u);
  EXPECT_EQ(package.ReadMember("config/main1.png", &content), AttachedPackage::ReadResult::kRead);
  EXPECT_EQ(content.size(), kLimit);
}

TEST(AttachedPackage, AnEndRecordThatLiesAboutTheDirectoryEndsTheWalk) {
  // Offsets in the end record: entry counts at 8 and 10, directory size at
  // 12, directory offset at 16.
  const Bytes good = ZipBuilder().Add("config/cg.txt", "cfg").Add("b", "bb").Build();
  const std::size_t end = good.size() - 22;
  const std::uint32_t directory = static_cast<std::uint32_t>(good[end + 16] | good[end + 17] << 8);
  struct Case {
    const char* what;
    std::size_t at;
    std::uint32_t value;
    int bytes;
    PackageOpenResult result;
    std::vector<std::string> names;
    const char* content;
  } cases[] = {
      {"more entries claimed than listed", end + 8, 0xFFFFFFFF, 4, PackageOpenResult::kOpened, {"config/cg.txt", "b"}, "cfg"},
      {"the directory is the end record itself", end + 16, static_cast<std::uint32_t>(end), 4,
       PackageOpenResult::kNotAnArchive, {}, "<missing>"},
      {"a directory larger than the package", end + 12, 0xFFFFFFF0, 4, PackageOpenResult::kNotAnArchive, {},
       "<missing>"},
      // Taken for an archive with bytes before it, as a self-extracting one
      // is: the names are listed, the members' data is not where the
      // directory now says, so they read as missing.
      {"a directory offset of 0", end + 16, 0, 4, PackageOpenResult::kOpened, {"config/cg.txt", "b"}, "<missing>"},
      {"the first entry's name runs past the package", directory + 28, 0xFFFF, 2, PackageOpenResult::kOpened, {}, "<missing>"},
  };
  for (const Case& c : cases) {
    Bytes zip = good;
    for (int i = 0; i < c.bytes; ++i) zip[c.at + i] = (c.value >> (8 * i)) & 0xFF;
    TestPackage package;
    EXPECT_EQ(package.Open(Concat({MakePeImage(), zip})), c.result) << c.what;
    EXPECT_EQ(package.MemberNames(), c.names) << c.what;
    EXPECT_EQ(Read(package, "config/cg.txt"), c.content) << c.what;
  }
}
