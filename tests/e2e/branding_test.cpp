// A launcher branded by launcher-pack's own PE writer, as Windows sees it:
// the system loads its icon and version information and it starts with its
// skin; branded again with --replace it carries the next icon and still
// starts. A signed one (signed_launcher_test.sh signs it with osslsigncode)
// starts with its skin, and so does the skin that init writes, packed by
// the tool's own commands.
//
// The icon of the running launcher's window is not read here: Wine answers
// WM_GETICON sent from another process with no icon, and its icon handles
// are private to the process that loaded them, so GetIconInfo fails on one
// from outside. The window takes its icon from the exe's own icon group,
// which is what is read here.
#include <gtest/gtest.h>
#include <windows.h>
// after windows.h, which they need
#include <imagehlp.h>
#include <shellapi.h>

#include <cstdlib>
#include <sstream>

#include "branding/program_branding.h"
#include "common/display_scale.h"
#include "commands/launcher_pack.h"
#include "formats/png_codec.h"
#include "game_driver.h"
#include "launcher_driver.h"
#include "skins/skin_source.h"

using namespace testkit;

namespace {

// A 32 x 32 icon of one colour: a 32-bit DIB (colour rows, then the AND
// mask) in an .ico file.
std::string SolidIco(COLORREF colour) {
  const std::uint32_t size = 32;
  std::string dib(40, '\0');
  const auto put32 = [](std::string& b, std::size_t at, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) b[at + i] = static_cast<char>(v >> (8 * i) & 0xFF);
  };
  put32(dib, 0, 40);
  put32(dib, 4, size);
  put32(dib, 8, size * 2);
  dib[12] = 1;
  dib[14] = 32;
  for (std::uint32_t i = 0; i < size * size; ++i)
    dib += std::string{static_cast<char>(GetBValue(colour)), static_cast<char>(GetGValue(colour)),
                       static_cast<char>(GetRValue(colour)), '\xFF'};
  dib += std::string(size * 4, '\0');
  std::string entry(16, '\0');
  entry[0] = entry[1] = static_cast<char>(size);
  entry[4] = 1;
  entry[6] = 32;
  put32(entry, 8, static_cast<std::uint32_t>(dib.size()));
  put32(entry, 12, 22);
  return std::string("\0\0\1\0\1\0", 6) + entry + dib;
}

std::string Utf8(const char8_t* text) { return reinterpret_cast<const char*>(text); }

VersionInfo GameVersion() {
  VersionInfo info;
  info.fileVersion = {1, 2, 3, 4};
  info.productVersion = {1, 2, 0, 0};
  info.strings = {{"CompanyName", "Star Sea Games"}, {"FileDescription", Utf8(u8"星海 登录器")},
                  {"ProductName", Utf8(u8"星海")}, {"ProductVersion", "1.2"}};
  return info;
}

Bytes Brand(const Bytes& program, COLORREF colour, bool replace, const Bytes& package) {
  BrandingRequest request;
  std::string error;
  request.icon = ReadIconFile(SolidIco(colour), &error);
  request.version = GameVersion();
  request.replace = replace;
  const auto branded = BrandProgram(std::string(program.begin(), program.end()),
                                    std::string(package.begin(), package.end()), request, &error);
  EXPECT_TRUE(branded) << error;
  return branded ? Bytes(branded->file.begin(), branded->file.end()) : Bytes();
}

// The colour at the centre of an icon's colour bitmap.
COLORREF IconColour(HICON icon) {
  ICONINFO info{};
  if (icon == nullptr || !GetIconInfo(icon, &info)) return CLR_INVALID;
  BITMAPINFO bitmap{};
  bitmap.bmiHeader = {sizeof(BITMAPINFOHEADER), 32, -32, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
  std::vector<std::uint32_t> pixels(32 * 32);
  HDC screen = GetDC(nullptr);
  const int rows = GetDIBits(screen, info.hbmColor, 0, 32, pixels.data(), &bitmap, DIB_RGB_COLORS);
  ReleaseDC(nullptr, screen);
  DeleteObject(info.hbmColor);
  DeleteObject(info.hbmMask);
  if (rows != 32) return CLR_INVALID;
  const std::uint32_t p = pixels[16 * 32 + 16];
  return RGB(p >> 16 & 0xFF, p >> 8 & 0xFF, p & 0xFF);
}

std::wstring Wide(const std::string& path) {
  return std::wstring(path.begin(), path.end());  // temporary paths are ASCII
}

// The colour of the launcher's icon group in the exe at `path`, as the
// system loads it from the file.
COLORREF FileIconColour(const std::string& path) {
  HMODULE module = LoadLibraryExW(Wide(path).c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
  if (module == nullptr) return CLR_INVALID;
  const COLORREF colour = IconColour(LoadIconW(module, MAKEINTRESOURCEW(LauncherIconId())));
  FreeLibrary(module);
  return colour;
}

std::wstring VersionText(const std::vector<char>& block, const wchar_t* key) {
  void* value = nullptr;
  UINT length = 0;
  const std::wstring path = std::wstring(L"\\StringFileInfo\\080404b0\\") + key;
  if (!VerQueryValueW(block.data(), path.c_str(), &value, &length) || length == 0) return L"<none>";
  return std::wstring(static_cast<const wchar_t*>(value), length - 1);
}

HWND WaitForGame(LauncherProcess& launcher) {
  return launcher.WaitForWindow([](HWND w) { return WindowText(w) == "Game Test" && GetDlgItem(w, 170) != nullptr; });
}

constexpr COLORREF kRed = RGB(255, 0, 0), kBlue = RGB(0, 0, 255);

// [global] title of the configuration packed into the exe at `path` (GBK, as
// the launcher's windows show it), or nothing.
std::optional<std::string> PackedTitle(const std::string& path) {
  std::string error;
  auto skin = PackageSkin::Load(path, &error);
  EXPECT_NE(skin, nullptr) << error;
  if (skin == nullptr) return std::nullopt;
  const std::string config = skin->Read("config/cg.txt").value_or("");
  const std::size_t title = config.find("\ntitle=");
  if (title == std::string::npos) return std::nullopt;
  return config.substr(title + 7, config.find_first_of("\r\n", title + 7) - title - 7);
}

// The launcher started from `program`'s bytes shows a window titled `title`
// and reports no failure at start; given the login background's size, the
// window is the login window and has that size.
void ExpectStartsWithItsSkin(const Bytes& program, const std::string& title,
                             std::optional<SIZE> background = std::nullopt) {
  LauncherProcess launcher({}, {.program = program});
  ASSERT_TRUE(launcher.Started());
  const HWND window = launcher.WaitForWindow([&](HWND w) {
    return WindowText(w) == title && (!background || GetWindow(w, GW_OWNER) == nullptr);
  });
  EXPECT_NE(window, nullptr) << launcher.Describe();
  if (window != nullptr && background) {
    const RECT shown = WindowRect(window);
    EXPECT_EQ(shown.right - shown.left, background->cx) << launcher.Describe();
    EXPECT_EQ(shown.bottom - shown.top, background->cy) << launcher.Describe();
  }
  EXPECT_FALSE(launcher.WaitForMessageBox(500).has_value()) << "no start-up failure";
  launcher.Kill();
}

}  // namespace

TEST(BrandedLauncher, TheSystemLoadsItsIconAndVersionInformation) {
  TempDir dir;
  const std::string path = dir.File("Game.exe");
  ASSERT_TRUE(WriteFileBytes(path, Brand(LauncherExe(), kRed, false, GameSkin())));

  EXPECT_EQ(FileIconColour(path), kRed);
  HICON large = nullptr;
  ASSERT_EQ(ExtractIconExW(Wide(path).c_str(), 0, &large, nullptr, 1), 1u);
  EXPECT_EQ(IconColour(large), kRed);
  DestroyIcon(large);

  DWORD handle = 0;
  const DWORD size = GetFileVersionInfoSizeW(Wide(path).c_str(), &handle);
  ASSERT_NE(size, 0u);
  std::vector<char> block(size);
  ASSERT_TRUE(GetFileVersionInfoW(Wide(path).c_str(), 0, size, block.data()));
  VS_FIXEDFILEINFO* fixed = nullptr;
  UINT fixedLength = 0;
  ASSERT_TRUE(VerQueryValueW(block.data(), L"\\", reinterpret_cast<void**>(&fixed), &fixedLength));
  EXPECT_EQ(fixed->dwFileVersionMS, 0x00010002u);
  EXPECT_EQ(fixed->dwFileVersionLS, 0x00030004u);
  EXPECT_EQ(VersionText(block, L"ProductName"), L"\u661F\u6D77");  // 星海
  EXPECT_EQ(VersionText(block, L"CompanyName"), L"Star Sea Games");

  DWORD stored = 0, computed = 0;
  ASSERT_EQ(MapFileAndCheckSumA(path.c_str(), &stored, &computed), CHECKSUM_SUCCESS);
  EXPECT_EQ(stored, computed);
}

TEST(BrandedLauncher, RunsWithItsSkinAndCanBeBrandedAgain) {
  const Bytes red = Brand(LauncherExe(), kRed, false, GameSkin());
  ASSERT_FALSE(red.empty());
  const Bytes blue = Brand(red, kBlue, true, GameSkin());
  ASSERT_FALSE(blue.empty());
  EXPECT_EQ(blue.size(), red.size()) << "branding again with --replace does not grow the exe";
  TempDir dir;
  for (const auto& [program, colour] : {std::pair{red, kRed}, std::pair{blue, kBlue}}) {
    const std::string path = dir.File(colour == kRed ? "Red.exe" : "Blue.exe");
    ASSERT_TRUE(WriteFileBytes(path, program));
    EXPECT_EQ(FileIconColour(path), colour);
    LauncherProcess launcher({}, {.program = program});
    ASSERT_TRUE(launcher.Started());
    EXPECT_NE(WaitForGame(launcher), nullptr) << launcher.Describe();
    launcher.Kill();
  }
}

// Run by signed_launcher_test.sh with the exe it signed.
TEST(SignedLauncher, StartsWithItsSkin) {
  const char* signedExe = std::getenv("LAUNCHER_SIGNED_EXE");
  ASSERT_NE(signedExe, nullptr) << "run through tests/pack/branding/signed_launcher_test.sh, which signs the exe";
  const Bytes program = ReadFileBytes(signedExe);
  ASSERT_FALSE(program.empty()) << signedExe;
  const auto title = PackedTitle(signedExe);
  ASSERT_TRUE(title);
  ExpectStartsWithItsSkin(program, *title);
}

// An operator's first steps: init, then pack onto the launcher as it ships.
// The exe starts and its login window appears, with init's title and the
// size of the background init drew, scaled to the system's DPI (init's
// skin takes the display's scale).
TEST(InitSkin, PackedOntoTheLauncherItStarts) {
  TempDir dir;
  const std::string skin = dir.File("my-skin"), bare = dir.File("Launcher.exe"), game = dir.File("MyGame.exe");
  ASSERT_TRUE(WriteFileBytes(bare, LauncherExe()));
  for (const std::vector<std::string>& args :
       {std::vector<std::string>{"init", skin}, std::vector<std::string>{"pack", skin, "--exe", bare, "-o", game}}) {
    std::ostringstream out, err;
    ASSERT_EQ(RunLauncherPack(args, out, err), 0) << args[0] << ": " << err.str();
  }
  const auto title = PackedTitle(game);
  ASSERT_TRUE(title);
  const Bytes drawn = ReadFileBytes(skin + "\\config\\main1.png");
  std::string error;
  const auto background = DecodePng(std::string(drawn.begin(), drawn.end()), &error);
  ASSERT_TRUE(background) << error;
  const DisplayScale scale(ScreenDpi());
  ExpectStartsWithItsSkin(ReadFileBytes(game), *title,
                          SIZE{scale.Length(background->Width()), scale.Length(background->Height())});
}

// Packed again with --replace onto the exe packed before, the exe carries
// the new package in place of the old one (it does not grow) and still
// starts with its login window.
TEST(InitSkin, PackedAgainWithReplaceItStillStarts) {
  TempDir dir;
  const std::string skin = dir.File("my-skin"), bare = dir.File("Launcher.exe"), first = dir.File("First.exe"),
                    again = dir.File("Again.exe");
  ASSERT_TRUE(WriteFileBytes(bare, LauncherExe()));
  for (const std::vector<std::string>& args :
       {std::vector<std::string>{"init", skin}, std::vector<std::string>{"pack", skin, "--exe", bare, "-o", first},
        std::vector<std::string>{"pack", skin, "--replace", "--exe", first, "-o", again}}) {
    std::ostringstream out, err;
    ASSERT_EQ(RunLauncherPack(args, out, err), 0) << args[0] << ": " << err.str();
  }
  const Bytes packed = ReadFileBytes(first), repacked = ReadFileBytes(again);
  EXPECT_EQ(repacked.size(), packed.size()) << "--replace appended a second package";
  const auto title = PackedTitle(again);
  ASSERT_TRUE(title);
  const Bytes drawn = ReadFileBytes(skin + "\\config\\main1.png");
  std::string error;
  const auto background = DecodePng(std::string(drawn.begin(), drawn.end()), &error);
  ASSERT_TRUE(background) << error;
  const DisplayScale scale(ScreenDpi());
  ExpectStartsWithItsSkin(repacked, *title,
                          SIZE{scale.Length(background->Width()), scale.Length(background->Height())});
}
