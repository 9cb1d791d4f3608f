#include <gtest/gtest.h>

#include <filesystem>

#include "branding/icon_file.h"
#include "branding/pe_image.h"
#include "branding/pe_resources.h"
#include "branding/program_branding.h"
#include "branding/version_resource.h"
#include "pack_test_skin.h"
#include "pe_fixture.h"
#include "skins/skin_source.h"

namespace {

namespace fs = std::filesystem;
using packtest::ReadFile;
using packtest::WriteFile;
using pefixture::Role;
using pefixture::Width;

// An .ico of one 16 x 16 32-bit bitmap whose pixels are `fill`.
std::string Ico(char fill) {
  std::string dib(40 + 16 * 16 * 4 + 16 * 4, fill);
  pefixture::Put32(dib, 0, 40);
  pefixture::Put32(dib, 4, 16);
  pefixture::Put32(dib, 8, 32);
  dib[12] = 1, dib[13] = 0, dib[14] = 32, dib[15] = 0;
  std::string entry(16, '\0');
  entry[0] = entry[1] = 16;
  pefixture::Put32(entry, 8, static_cast<std::uint32_t>(dib.size()));
  pefixture::Put32(entry, 12, 22);
  return std::string("\0\0\1\0\1\0", 6) + entry + dib;
}

// A launcher as the linker lays it out: code, resources (an icon group, its
// icon, a dialog), then the base relocations.
std::string Launcher(std::uint32_t symbols = 0, Width width = Width::k32) {
  const std::vector<IconImage> icon = *ReadIconFile(Ico('L'), nullptr);
  std::vector<Resource> resources = {{ResourceId::Number(5), ResourceId::Number(102), 0x0409, 0, "dialog"}};
  PutIconGroup(resources, LauncherIconId(), icon, 0x0409);
  // Built for where the fixture puts the second section.
  const std::string tree = BuildResourceSection(resources, 2 * pefixture::kSectionAlignment);
  return pefixture::Image({{".text", std::string(0x500, 'c')},
                           {".rsrc", tree, Role::kResources},
                           {".reloc", std::string(0x40, 'r'), Role::kRelocations}},
                          symbols, width);
}

// The shipped launcher, and its 64-bit build that the tests run under Wine.
const struct {
  const char* exe;
  Width width;
} kLaunchers[] = {{"Launcher.exe", Width::k32}, {"Launcher64.exe", Width::k64}};

struct Workshop {
  packtest::TempDir dir;
  fs::path skin = dir / "skin";
  std::string Path(const std::string& name) const { return (dir / name).string(); }

  Workshop() {
    packtest::WriteSkin(skin, packtest::CleanSkin());
    for (const auto& launcher : kLaunchers) WriteFile(dir / launcher.exe, Launcher(0, launcher.width));
    WriteFile(dir / "red.ico", Ico('R'));
    WriteFile(dir / "blue.ico", Ico('B'));
  }
  packtest::RunResult Pack(const std::string& from, const std::string& to, std::vector<std::string> more = {}) {
    std::vector<std::string> args{"pack", skin.string(), "--exe", Path(from), "-o", Path(to)};
    args.insert(args.end(), more.begin(), more.end());
    return packtest::Run(args);
  }
};

struct Branded {
  PeImage image;
  std::vector<Resource> resources;
};

Branded Open(const std::string& path) {
  std::string error;
  auto image = PeImage::Read(ReadFile(path), &error);
  EXPECT_TRUE(image) << error;
  if (!image) return {*PeImage::Read(Launcher(), &error), {}};
  auto resources = ReadResources(*image, &error);
  EXPECT_TRUE(resources) << error;
  return {*image, resources.value_or(std::vector<Resource>{})};
}

std::optional<VersionInfo> Version(const std::vector<Resource>& resources) {
  for (const Resource& r : resources)
    if (r.type == ResourceId::Number(kVersionType)) return ReadVersionResource(r.data);
  return std::nullopt;
}

std::string Config(const std::string& path) {
  std::string error;
  auto skin = PackageSkin::Load(path, &error);
  EXPECT_NE(skin, nullptr) << error;
  return skin ? skin->Read("config/cg.txt").value_or("<missing>") : "<no package>";
}

std::uint32_t StoredChecksum(const std::string& file) {
  return pefixture::Get32(file, pefixture::OptionalHeader(file) + 64);
}

const std::vector<std::string> kVersionOptions = {
    "--product-name", "星海",    "--file-description", "星海 登录器",    "--company", "Star Sea Games",
    "--file-version", "1.2.3.4", "--copyright",        "© 2024 Star Sea"};

}  // namespace

TEST(PackBranding, PutsTheIconAndVersionInformationAndKeepsTheRest) {
  for (const auto& launcher : kLaunchers) {
    SCOPED_TRACE(launcher.exe);
    Workshop w;
    std::vector<std::string> options = {"--icon", w.Path("red.ico")};
    options.insert(options.end(), kVersionOptions.begin(), kVersionOptions.end());
    const auto result = w.Pack(launcher.exe, "Game.exe", options);
    ASSERT_EQ(result.status, 0) << result.err;

    const Branded game = Open(w.Path("Game.exe"));
    EXPECT_EQ(game.image.Is64Bit(), launcher.width == Width::k64);
    EXPECT_EQ(IconGroupImages(game.resources, LauncherIconId()), ReadIconFile(Ico('R'), nullptr));
    const auto version = Version(game.resources);
    ASSERT_TRUE(version);
    EXPECT_EQ(version->fileVersion, (VersionNumber{1, 2, 3, 4}));
    EXPECT_EQ(version->productVersion, (VersionNumber{1, 2, 3, 4}));
    EXPECT_EQ(version->language, kDefaultVersionLanguage);
    const std::vector<std::pair<std::string, std::string>> texts = {
        {"CompanyName", "Star Sea Games"},     {"FileDescription", "星海 登录器"}, {"FileVersion", "1.2.3.4"},
        {"LegalCopyright", "© 2024 Star Sea"}, {"OriginalFilename", "Game.exe"},   {"ProductName", "星海"},
        {"ProductVersion", "1.2.3.4"}};
    EXPECT_EQ(version->strings, texts);
    EXPECT_TRUE(std::any_of(game.resources.begin(), game.resources.end(),
                            [](const Resource& r) { return r.data == "dialog"; }));
    EXPECT_EQ(Config(w.Path("Game.exe")), packtest::CleanConfig());
    const std::string file = ReadFile(w.Path("Game.exe"));
    EXPECT_EQ(StoredChecksum(file), PeChecksum(file));
    // The loader of the exe's width finds the resources where this reader did.
    EXPECT_EQ(pefixture::Get32(file, pefixture::DataDirectories(file) + 8 * 2),
              game.image.Directory(kResourceDirectory).rva);
  }
}

TEST(PackBranding, ReplaceBrandsABrandedExeAgainWithoutGrowingIt) {
  for (const auto& launcher : kLaunchers) {
    SCOPED_TRACE(launcher.exe);
    Workshop w;
    ASSERT_EQ(w.Pack(launcher.exe, "first.exe", {"--icon", w.Path("red.ico")}).status, 0);
    const auto again =
        w.Pack("first.exe", "second.exe", {"--replace", "--icon", w.Path("blue.ico"), "--product-version", "2.0"});
    ASSERT_EQ(again.status, 0) << again.err;
    EXPECT_NE(again.out.find("the package " + w.Path("first.exe") + " carried was cut first"), std::string::npos)
        << again.out;
    const Branded second = Open(w.Path("second.exe"));
    EXPECT_EQ(IconGroupImages(second.resources, LauncherIconId()), ReadIconFile(Ico('B'), nullptr));
    ASSERT_TRUE(Version(second.resources));
    EXPECT_EQ(Version(second.resources)->fileVersion, (VersionNumber{2, 0, 0, 0}));
    EXPECT_EQ(Config(w.Path("second.exe")), packtest::CleanConfig());

    ASSERT_EQ(w.Pack("second.exe", "third.exe", {"--replace", "--icon", w.Path("red.ico"), "--product-version", "2.0"})
                  .status,
              0);
    ASSERT_EQ(w.Pack("third.exe", "fourth.exe", {"--replace", "--icon", w.Path("red.ico"), "--product-version", "2.0"})
                  .status,
              0);
    EXPECT_EQ(ReadFile(w.Path("fourth.exe")).size(), ReadFile(w.Path("third.exe")).size());
    EXPECT_EQ(IconGroupImages(Open(w.Path("fourth.exe")).resources, LauncherIconId()), ReadIconFile(Ico('R'), nullptr));
  }
}

TEST(PackBranding, AnExeWithoutResourcesGetsThem) {
  for (const auto& launcher : kLaunchers) {
    SCOPED_TRACE(launcher.exe);
    Workshop w;
    WriteFile(w.dir / "Bare.exe",
              pefixture::Image({{".text", std::string(0x200, 'c')}, {".data", "d"}}, 0, launcher.width));
    const auto result = w.Pack("Bare.exe", "Game.exe", {"--icon", w.Path("red.ico"), "--file-version", "3"});
    ASSERT_EQ(result.status, 0) << result.err;
    const Branded game = Open(w.Path("Game.exe"));
    EXPECT_EQ(game.image.Sections().size(), 3u);
    EXPECT_EQ(IconGroupImages(game.resources, LauncherIconId()), ReadIconFile(Ico('R'), nullptr));
    EXPECT_EQ(Config(w.Path("Game.exe")), packtest::CleanConfig());
  }
}

TEST(PackBranding, ASignatureIsCutWithThePackageAndTheOperatorToldToSignAgain) {
  for (const auto& launcher : kLaunchers) {
    SCOPED_TRACE(launcher.exe);
    Workshop w;
    ASSERT_EQ(w.Pack(launcher.exe, "Game.exe").status, 0);
    const std::string certificate = "\x10\x00\x00\x00\x00\x02\x02\x00" + std::string(200, 'C');
    WriteFile(w.dir / "Signed.exe", pefixture::WithCertificateTable(ReadFile(w.Path("Game.exe")), certificate));
    EXPECT_EQ(Config(w.Path("Signed.exe")), packtest::CleanConfig()) << "the package is found in a signed exe";

    const struct {
      std::vector<std::string> options;
      std::string says;
      bool keepsOldPackage;
    } cases[] = {
        {{"--replace"}, "the package and the signature " + w.Path("Signed.exe") + " carried were cut first", false},
        {{}, "the signature " + w.Path("Signed.exe") + " carried was cut first", true},
        {{"--replace", "--icon", w.Path("blue.ico")}, "were cut first", false},
    };
    for (const auto& c : cases) {
      const auto result = w.Pack("Signed.exe", "Resigned.exe", c.options);
      ASSERT_EQ(result.status, 0) << result.err;
      EXPECT_NE(result.out.find(c.says), std::string::npos) << result.out;
      EXPECT_NE(result.out.find("sign " + w.Path("Resigned.exe") + " again"), std::string::npos) << result.out;
      const std::string file = ReadFile(w.Path("Resigned.exe"));
      EXPECT_EQ(file.find(std::string(200, 'C')), std::string::npos) << "no certificate bytes are left";
      const Branded resigned = Open(w.Path("Resigned.exe"));
      EXPECT_EQ(resigned.image.Directory(kSecurityDirectory).size, 0u);
      EXPECT_FALSE(resigned.image.CertificateTable());
      EXPECT_EQ(StoredChecksum(file), PeChecksum(file));
      EXPECT_EQ(Config(w.Path("Resigned.exe")), packtest::CleanConfig());
      const std::size_t image = resigned.image.ImageEnd();
      const std::size_t oldPackage = ReadFile(w.Path("Game.exe")).size() - Launcher(0, launcher.width).size();
      EXPECT_EQ(file.size() > image + oldPackage + 8, c.keepsOldPackage) << file.size();
    }
  }
}

TEST(PackBranding, AnUnstrippedExeLosesItsSymbolTable) {
  for (const auto& launcher : kLaunchers) {
    SCOPED_TRACE(launcher.exe);
    Workshop w;
    WriteFile(w.dir / "Unstripped.exe", Launcher(3, launcher.width));
    const auto result = w.Pack("Unstripped.exe", "Game.exe", {"--replace"});
    ASSERT_EQ(result.status, 0) << result.err;
    EXPECT_NE(result.out.find("the COFF symbol table (58 bytes) was cut"), std::string::npos) << result.out;
    const std::string file = ReadFile(w.Path("Game.exe"));
    EXPECT_EQ(pefixture::Get32(file, 0x80 + 12), 0u);
    EXPECT_EQ(pefixture::Get32(file, 0x80 + 16), 0u);
    EXPECT_EQ(file.find("SSSSSSSSSSSSSSSSSS"), std::string::npos);
    EXPECT_EQ(Config(w.Path("Game.exe")), packtest::CleanConfig());
  }
}

// Explorer's details are never empty: without options the skin's title and
// version fill them, the numbers as the launcher reads the version.
TEST(PackBranding, WithoutOptionsTheVersionInformationComesFromTheSkin) {
  Workshop w;
  std::string config = packtest::CleanConfig();
  config.replace(config.find("title=Clean\n"), 12, "title=\xD0\xC7\xBA\xA3\nversion=1.02\n");  // 星海 in GBK
  packtest::WriteSkin(w.skin, packtest::SkinWithConfig(config));
  const auto result = w.Pack("Launcher.exe", "Game.exe");
  ASSERT_EQ(result.status, 0) << result.err;
  EXPECT_NE(result.out.find("from the skin's title and version: FileDescription, FileVersion, ProductName, "
                            "ProductVersion"),
            std::string::npos)
      << result.out;
  const auto version = Version(Open(w.Path("Game.exe")).resources);
  ASSERT_TRUE(version);
  EXPECT_EQ(version->fileVersion, (VersionNumber{1, 2, 0, 0}));
  EXPECT_EQ(version->productVersion, (VersionNumber{1, 2, 0, 0}));
  const std::vector<std::pair<std::string, std::string>> texts = {{"FileDescription", "星海"},
                                                                  {"FileVersion", "1.02"},
                                                                  {"OriginalFilename", "Game.exe"},
                                                                  {"ProductName", "星海"},
                                                                  {"ProductVersion", "1.02"}};
  EXPECT_EQ(version->strings, texts);
}

// An option gives its own field and no other: the rest still comes from the
// skin, and a file version the launcher would not compare as the skin's
// version is named.
TEST(PackBranding, EachFieldNotGivenComesFromTheSkin) {
  std::string config = packtest::CleanConfig();
  config.replace(config.find("title=Clean\n"), 12, "title=\xD0\xC7\xBA\xA3\nversion=1.02\n");  // 星海 in GBK
  using Texts = std::vector<std::pair<std::string, std::string>>;
  const struct {
    std::vector<std::string> options;
    Texts texts;
    VersionNumber fileVersion, productVersion;
    std::string warns;
  } cases[] = {
      {{"--company", "Star Sea Games"},
       {{"CompanyName", "Star Sea Games"},
        {"FileDescription", "星海"},
        {"FileVersion", "1.02"},
        {"OriginalFilename", "Game.exe"},
        {"ProductName", "星海"},
        {"ProductVersion", "1.02"}},
       {1, 2, 0, 0},
       {1, 2, 0, 0},
       ""},
      {{"--company", "Star Sea Games", "--file-version", "1.2.0.0"},
       {{"CompanyName", "Star Sea Games"},
        {"FileDescription", "星海"},
        {"FileVersion", "1.2.0.0"},
        {"OriginalFilename", "Game.exe"},
        {"ProductName", "星海"},
        {"ProductVersion", "1.02"}},
       {1, 2, 0, 0},
       {1, 2, 0, 0},
       ""},
      {{"--product-name", "Star Sea", "--product-version", "2024.3"},
       {{"FileDescription", "星海"},
        {"FileVersion", "1.02"},
        {"OriginalFilename", "Game.exe"},
        {"ProductName", "Star Sea"},
        {"ProductVersion", "2024.3"}},
       {1, 2, 0, 0},
       {2024, 3, 0, 0},
       ""},
      {{"--file-version", "1.3"},
       {{"FileDescription", "星海"},
        {"FileVersion", "1.3"},
        {"OriginalFilename", "Game.exe"},
        {"ProductName", "星海"},
        {"ProductVersion", "1.02"}},
       {1, 3, 0, 0},
       {1, 2, 0, 0},
       "warning: --file-version 1.3 is not the skin's version=1.02 (the launcher reads 1.2)"},
  };
  for (const auto& c : cases) {
    Workshop w;
    packtest::WriteSkin(w.skin, packtest::SkinWithConfig(config));
    const auto result = w.Pack("Launcher.exe", "Game.exe", c.options);
    ASSERT_EQ(result.status, 0) << result.err;
    const auto version = Version(Open(w.Path("Game.exe")).resources);
    ASSERT_TRUE(version) << c.options[0];
    EXPECT_EQ(version->strings, c.texts) << c.options[0];
    EXPECT_EQ(version->fileVersion, c.fileVersion) << c.options[0];
    EXPECT_EQ(version->productVersion, c.productVersion) << c.options[0];
    if (c.warns.empty())
      EXPECT_EQ(result.err.find("warning"), std::string::npos) << result.err;
    else
      EXPECT_NE(result.err.find(c.warns), std::string::npos) << result.err;
  }
}

TEST(PackBranding, AnUnsignedStrippedExeWithoutBrandingOrTitleIsOnlyAppendedTo) {
  Workshop w;
  std::string config = packtest::CleanConfig();
  config.erase(config.find("title=Clean\n"), 12);
  packtest::WriteSkin(w.skin, packtest::SkinWithConfig(config));
  ASSERT_EQ(w.Pack("Launcher.exe", "Game.exe").status, 0);
  const std::string launcher = ReadFile(w.Path("Launcher.exe")), game = ReadFile(w.Path("Game.exe"));
  EXPECT_EQ(game.substr(0, launcher.size()), launcher);
}

TEST(PackBranding, BadBrandingInputWritesNothing) {
  Workshop w;
  WriteFile(w.dir / "cut.ico", Ico('R').substr(0, 100));
  WriteFile(w.dir / "text.ico", "not an icon");
  std::string wide = Launcher();
  pefixture::Put32(wide, 0x80 + 20, 240 << 0 | 0x0102 << 16);  // a 64-bit-sized optional header
  WriteFile(w.dir / "Odd.exe", wide);
  std::string narrow = Launcher(0, Width::k64);
  pefixture::Put32(narrow, 0x80 + 20, 224 << 0 | 0x0022 << 16);  // a 32-bit-sized one, of a 64-bit magic
  WriteFile(w.dir / "Odd64.exe", narrow);
  WriteFile(w.dir / "Cut.exe", Launcher().substr(0, 0x500));
  const struct {
    std::string exe;
    std::vector<std::string> options;
    std::string says;
  } cases[] = {
      {"Launcher.exe", {"--icon", w.Path("cut.ico")}, "cut.ico is cut short: image 1 of 1 lies past its end"},
      {"Launcher.exe", {"--icon", w.Path("text.ico")}, "text.ico is not an icon file"},
      {"Launcher.exe", {"--icon", w.Path("absent.ico")}, "absent.ico does not exist"},
      {"Launcher.exe", {"--file-version", "1.x"}, "\"1.x\" is not a version such as 1.2.3.4"},
      {"Launcher.exe", {"--company", "\xFF\xFF", "--file-version", "1"}, "CompanyName: "},
      {"Launcher.exe", {"--company", std::string(300, 'x'), "--file-version", "1"}, "longer than 256 bytes"},
      {"Odd.exe", {"--icon", w.Path("red.ico")}, "cannot be branded: not a 32-bit program"},
      {"Odd64.exe", {"--icon", w.Path("red.ico")}, "cannot be branded: not a 64-bit program as its magic says"},
      {"Cut.exe", {"--icon", w.Path("red.ico")}, "Cut.exe is not a 32-bit Windows program"},
  };
  for (const auto& c : cases) {
    const auto result = w.Pack(c.exe, "Game.exe", c.options);
    EXPECT_EQ(result.status, 2) << c.says;
    EXPECT_NE(result.err.find(c.says), std::string::npos) << result.err;
    EXPECT_FALSE(fs::exists(w.Path("Game.exe"))) << c.says;
  }
}

TEST(PackBranding, GbkTextIsTakenAsGbk) {
  Workshop w;
  const auto result =
      w.Pack("Launcher.exe", "Game.exe", {"--product-name", "\xD0\xC7\xBA\xA3", "--file-version", "1"});  // 星海
  ASSERT_EQ(result.status, 0) << result.err;
  const auto version = Version(Open(w.Path("Game.exe")).resources);
  ASSERT_TRUE(version);
  EXPECT_NE(std::find(version->strings.begin(), version->strings.end(),
                      std::pair<std::string, std::string>{"ProductName", "星海"}),
            version->strings.end());
}

TEST(PackBranding, InspectSaysWhetherTheExeIsSigned) {
  Workshop w;
  const std::string certificate = std::string("\xD0\0\0\0\0\2\2\0", 8) + std::string(200, 'C');  // 208 bytes
  for (const auto& launcher : kLaunchers) {
    const std::string exe = std::string(launcher.exe);
    ASSERT_EQ(w.Pack(exe, "Packed-" + exe).status, 0);
    WriteFile(w.dir / ("Signed-" + exe),
              pefixture::WithCertificateTable(ReadFile(w.Path("Packed-" + exe)), certificate));
  }
  std::string cut = ReadFile(w.Path("Packed-Launcher.exe"));
  pefixture::Put32(cut, pefixture::DataDirectories(cut) - 4, 15);  // the package is found, the headers refused
  WriteFile(w.dir / "Odd.exe", cut);
  const struct {
    std::string subject;
    std::string says;  // empty: no signature line at all
    bool authenticode;
  } cases[] = {
      {w.Path("Packed-Launcher.exe"), "\nsignature: none (Windows names no publisher", false},
      {w.Path("Packed-Launcher64.exe"), "\nsignature: none (Windows names no publisher", false},
      {w.Path("Signed-Launcher.exe"), "\nsignature: Authenticode, a certificate table of 208 bytes", true},
      {w.Path("Signed-Launcher64.exe"), "\nsignature: Authenticode, a certificate table of 208 bytes", true},
      {w.Path("Odd.exe"), "\nsignature: unknown, the exe's headers cannot be read: its optional header does not list",
       false},
      {w.skin.string(), "", false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.subject);
    const auto text = packtest::Run({"inspect", c.subject});
    ASSERT_EQ(text.status, 0) << text.err;
    if (c.says.empty())
      EXPECT_EQ(text.out.find("signature"), std::string::npos) << text.out;
    else
      EXPECT_NE(text.out.find(c.says), std::string::npos) << text.out;
    const auto json = packtest::ParseJson(packtest::Run({"inspect", c.subject, "--json"}).out);
    ASSERT_TRUE(json);
    const bool program = !c.says.empty(), readable = c.says.find("unknown") == std::string::npos;
    ASSERT_EQ(json->contains("signature"), program);
    if (!program) continue;
    EXPECT_EQ(json->at("signature").is_object(), readable);
    EXPECT_EQ(json->at("signature").is_null(), !readable);
    if (readable) {
      EXPECT_EQ(json->at("signature").at("authenticode").get<bool>(), c.authenticode);
    }
  }
}

// inspect shows what Explorer shows of the exe: the icon's images and the
// version information, as text and as JSON.
TEST(PackBranding, InspectShowsTheIconAndVersionInformation) {
  Workshop w;
  std::vector<std::string> options = {"--icon", w.Path("red.ico")};
  options.insert(options.end(), kVersionOptions.begin(), kVersionOptions.end());
  ASSERT_EQ(w.Pack("Launcher.exe", "Game.exe", options).status, 0);
  WriteFile(w.dir / "Bare.exe", pefixture::Image({{".text", std::string(0x200, 'c')}}, 0, Width::k32) +
                                    ReadFile(w.Path("Game.exe")).substr(Open(w.Path("Game.exe")).image.ImageEnd()));
  const auto text = packtest::Run({"inspect", w.Path("Game.exe")});
  ASSERT_EQ(text.status, 0) << text.err;
  EXPECT_NE(text.out.find("\nicon: 1 image: 16 × 16 (32 bits)\n"
                          "version information: file 1.2.3.4, product 1.2.3.4, language 0x0804\n"
                          "  CompanyName: Star Sea Games\n"
                          "  FileDescription: 星海 登录器\n"),
            std::string::npos)
      << text.out;
  const auto json = packtest::ParseJson(packtest::Run({"inspect", w.Path("Game.exe"), "--json"}).out);
  ASSERT_TRUE(json);
  EXPECT_EQ(json->at("icon"), nlohmann::json::parse(R"([{"width":16,"height":16,"bitCount":32,"png":false}])"));
  EXPECT_EQ(json->at("versionInformation").at("fileVersion"), "1.2.3.4");
  EXPECT_EQ(json->at("versionInformation").at("language"), 0x0804);
  EXPECT_EQ(json->at("versionInformation").at("texts").at("ProductName"), "星海");

  const auto bare = packtest::Run({"inspect", w.Path("Bare.exe")});
  EXPECT_NE(bare.out.find("\nicon: none (Explorer and the taskbar show Windows' own)\n"
                          "version information: none (Explorer's details are empty)\n"),
            std::string::npos)
      << bare.out << bare.err;
  const auto bareJson = packtest::ParseJson(packtest::Run({"inspect", w.Path("Bare.exe"), "--json"}).out);
  ASSERT_TRUE(bareJson);
  EXPECT_TRUE(bareJson->at("icon").is_null());
  EXPECT_TRUE(bareJson->at("versionInformation").is_null());
}
