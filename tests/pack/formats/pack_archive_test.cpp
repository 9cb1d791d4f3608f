// Archives as operators make them. The launcher reads what the common zip
// tools write (streamed members with data descriptors, zip64 records, long
// comments); what it cannot read (other compression methods, encryption,
// "\" in names) check names as such instead of calling the member missing.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "pack_test_skin.h"
#include "package/attached_package.h"
#include "zip_builder.h"

namespace {

namespace fs = std::filesystem;

std::string ZipOf(const std::vector<SkinFile>& files) {
  testkit::ZipBuilder zip;
  for (const SkinFile& file : files) zip.Add(file.name, file.content, false);
  const testkit::Bytes bytes = zip.Build();
  return std::string(bytes.begin(), bytes.end());
}

// Marks the member `name` of a stored archive as compressed with `method`
// and with `flags`, in its local header and its central directory entry, as
// another tool would have written it.
std::string Remarked(std::string zip, const std::string& name, std::uint16_t method, std::uint16_t flags) {
  const auto put16 = [&](std::size_t at, std::uint16_t value) {
    zip[at] = static_cast<char>(value & 0xFF);
    zip[at + 1] = static_cast<char>(value >> 8);
  };
  for (const auto& [signature, flagsAt, nameAt] :
       {std::tuple{std::string("PK\x03\x04", 4), 6, 30}, std::tuple{std::string("PK\x01\x02", 4), 8, 46}})
    for (std::size_t at = zip.find(signature); at != std::string::npos; at = zip.find(signature, at + 4))
      if (zip.compare(at + nameAt, name.size(), name) == 0) {
        put16(at + flagsAt, flags);
        put16(at + flagsAt + 2, method);
      }
  return zip;
}

}  // namespace

// A @2x picture the launcher cannot read is one it never shows.
TEST(PackArchive, CheckNamesADoubleSizePictureTheLauncherCannotRead) {
  std::vector<SkinFile> files = packtest::SkinWithConfig(packtest::CleanConfig() + "[global]\ndpiScaling=1\n");
  files.push_back({"config/logo@2x.png", packtest::SolidPng(16, 16, packtest::kLogo)});
  packtest::TempDir dir;
  packtest::WriteFile(dir / "MyGame.exe",
                      packtest::LauncherImage() + Remarked(ZipOf(files), "config/logo@2x.png", 12, 0));
  const auto result = packtest::Run({"check", (dir / "MyGame.exe").string()});
  EXPECT_EQ(result.status, 1);
  EXPECT_EQ(result.out,
            "config/logo@2x.png: error: is compressed with BZip2 (method 12), which the launcher cannot read, so to "
            "it the member is missing; make the archive again with the members stored or deflated (launcher-pack "
            "pack does; 7-Zip: -mm=Deflate, no password): the launcher never shows it, and resizes config/logo.png "
            "instead\n1 error, 0 warnings\n");
}

TEST(PackArchive, CheckNamesMembersTheLauncherCannotRead) {
  const std::string suffix =
      ", which the launcher cannot read, so to it the member is missing; make the archive again with the members "
      "stored or deflated (launcher-pack pack does; 7-Zip: -mm=Deflate, no password): the game window stops "
      "building before its frame and its page (\"读取图片失败\")";
  const std::string clean = ZipOf(packtest::CleanSkin());
  const struct {
    const char* name;
    std::string zip;
    std::string finding;
  } cases[] = {
      {"BZip2", Remarked(clean, "config/style.png", 12, 0),
       "config/style.png: error: is compressed with BZip2 (method 12)" + suffix},
      {"Deflate64", Remarked(clean, "config/style.png", 9, 0),
       "config/style.png: error: is compressed with Deflate64 (method 9)" + suffix},
      {"LZMA", Remarked(clean, "config/style.png", 14, 0),
       "config/style.png: error: is compressed with LZMA (method 14)" + suffix},
      {"encrypted", Remarked(clean, "config/style.png", 0, 1), "config/style.png: error: is encrypted" + suffix},
      {"named with backslashes",
       std::string(clean)
           .replace(clean.find("config/style.png"), 16, "config\\style.png")
           .replace(clean.rfind("config/style.png"), 16, "config\\style.png"),
       "config/style.png: error: missing; there is \"config\\style.png\", named with \"\\\" between its parts, but "
       "the launcher looks names up with \"/\"; make the archive with launcher-pack pack or a zip tool that writes "
       "\"/\": the game window stops building before its frame and its page (\"读取图片失败\")"},
  };
  for (const auto& c : cases) {
    packtest::TempDir dir;
    packtest::WriteFile(dir / "MyGame.exe", packtest::LauncherImage() + c.zip);
    const auto result = packtest::Run({"check", (dir / "MyGame.exe").string()});
    EXPECT_EQ(result.status, 1) << c.name;
    EXPECT_EQ(result.out, c.finding + "\n1 error, 0 warnings\n") << c.name;
  }
}

#ifndef _WIN32
namespace {

std::string ReadVia(const std::string& program, const char* member) {
  AttachedPackage package;
  const std::span<const std::uint8_t> bytes(reinterpret_cast<const std::uint8_t*>(program.data()), program.size());
  if (package.Open(bytes) != PackageOpenResult::kOpened) return "(not opened)";
  std::vector<char> content;
  if (package.ReadMember(member, &content) != AttachedPackage::ReadResult::kRead) return "(not read)";
  return std::string(content.begin(), content.end());
}

bool Has(const std::string& tool) { return std::system(("command -v " + tool + " >/dev/null 2>&1").c_str()) == 0; }

}  // namespace

// The zip tools Debian has, each given the clean skin's folder; a tool that
// is not installed is left out and named.
TEST(PackArchive, TheLauncherReadsWhatTheCommonZipToolsWrite) {
  packtest::TempDir dir;
  const auto files = packtest::CleanSkin();
  packtest::WriteSkin(dir / "skin", files);
  const std::string skin = (dir / "skin").string();
  const std::string py =
      "import sys, zipfile\n"
      "with zipfile.ZipFile(sys.argv[1], 'w', zipfile.ZIP_DEFLATED) as z:\n"
      "    z.comment = b'c' * 40000\n"
      "    for name in sys.argv[2:]:\n"
      "        with z.open(name, 'w', force_zip64=True) as member, open(name, 'rb') as f:\n"
      "            member.write(f.read())\n";
  packtest::WriteFile(dir / "zip64.py", py);
  const struct {
    const char* name;
    const char* tool;
    std::string command;  // run in the skin folder; writes ../out.zip
  } tools[] = {
      {"Info-ZIP", "zip", "zip -q -r ../out.zip config"},
      {"Info-ZIP with data descriptors", "zip", "zip -q -fd -r ../out.zip config"},
      {"Info-ZIP streamed to its output", "zip", "zip -q -r - config > ../out.zip"},
      {"7-Zip", "7z", "7z a -tzip -bso0 -bsp0 ../out.zip config"},
      {"bsdtar", "bsdtar", "bsdtar --format zip -cf ../out.zip config"},
      {"fastjar", "fastjar", "fastjar cMf ../out.zip config"},
      {"jar", "jar", "jar cMf ../out.zip config"},
      {"Python zipfile, zip64 and a long comment", "python3",
       "python3 ../zip64.py ../out.zip config/cg.txt config/main1.png config/style.png config/logo.png "
       "config/2_n.png config/2_d.png"},
  };
  std::vector<std::string> missing;
  for (const auto& t : tools) {
    if (!Has(t.tool)) {
      missing.push_back(t.tool);
      continue;
    }
    fs::remove(dir / "out.zip");
    ASSERT_EQ(std::system(("cd '" + skin + "' && " + t.command).c_str()), 0) << t.name;
    const std::string program = packtest::LauncherImage() + packtest::ReadFile(dir / "out.zip");
    for (const SkinFile& file : files)
      EXPECT_EQ(ReadVia(program, file.name.c_str()), file.content) << t.name << ": " << file.name;
    packtest::WriteFile(dir / "MyGame.exe", program);
    EXPECT_EQ(packtest::Run({"check", (dir / "MyGame.exe").string()}).status, 0) << t.name;
  }
  // 7-Zip's own methods, which the launcher cannot read, named as such.
  if (Has("7z")) {
    fs::remove(dir / "out.zip");
    ASSERT_EQ(std::system(("cd '" + skin + "' && 7z a -tzip -mm=BZip2 -bso0 -bsp0 ../out.zip config").c_str()), 0);
    packtest::WriteFile(dir / "MyGame.exe", packtest::LauncherImage() + packtest::ReadFile(dir / "out.zip"));
    const auto result = packtest::Run({"check", (dir / "MyGame.exe").string()});
    EXPECT_EQ(result.status, 1);
    EXPECT_NE(result.out.find("config/cg.txt: error: is compressed with BZip2 (method 12), which the launcher cannot "
                              "read"),
              std::string::npos)
        << result.out;
  }
  for (const std::string& tool : missing) std::printf("not installed, left out: %s\n", tool.c_str());
}
#endif
