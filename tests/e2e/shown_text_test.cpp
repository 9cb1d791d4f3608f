// The packed launcher's Chinese texts as another program sees them on the
// screen: window titles, the close question and the title drawn in the game
// window's frame, read through the wide functions. Run on a Western system
// (code page 1252) as on a Chinese one, they must read the same.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

#include "game_driver.h"
#include "png_writer.h"
#include "win/text.h"

using namespace testkit;

namespace {

constexpr char kTitle[] = "\xD3\xCE\xCF\xB7\xB2\xE2\xCA\xD4";  // 游戏测试
constexpr wchar_t kWideTitle[] = L"\u6E38\u620F\u6D4B\u8BD5";
constexpr char kCloseMsg[] = "\xCD\xCB\xB3\xF6\xD3\xCE\xCF\xB7\xC2\xF0\xA3\xBF";  // 退出游戏吗？
constexpr wchar_t kWideCloseMsg[] = L"\u9000\u51FA\u6E38\u620F\u5417\uFF1F";

GameSkinOptions ChineseSkin(const std::string& firstUrl) {
  return {.firstUrl = firstUrl, .extraGlobal = std::string("title=") + kTitle + "\r\ncloseMsg=" + kCloseMsg + "\r\n"};
}

// The screen's pixels in `rect` (screen coordinates) as 0xAARRGGBB, top row
// first, as another program sees them.
struct Shot {
  int width = 0, height = 0;
  std::vector<std::uint32_t> pixels;
  std::uint32_t At(int x, int y) const { return pixels[static_cast<std::size_t>(y * width + x)] & 0xFFFFFF; }
};

Shot TakeShot(const RECT& rect) {
  Shot shot{rect.right - rect.left, rect.bottom - rect.top, {}};
  BITMAPINFO info{};
  info.bmiHeader = {sizeof info.bmiHeader, shot.width, -shot.height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
  void* bits = nullptr;
  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ old = SelectObject(memory, bitmap);
  BitBlt(memory, 0, 0, shot.width, shot.height, screen, rect.left, rect.top, SRCCOPY);
  GdiFlush();
  const auto* from = static_cast<const std::uint32_t*>(bits);
  shot.pixels.assign(from, from + static_cast<std::size_t>(shot.width) * shot.height);
  SelectObject(memory, old);
  DeleteObject(bitmap);
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);
  return shot;
}

// Kept as a PNG in the directory LAUNCHER_TEST_SHOTS names, when it does:
// the picture a person looks at to see the title on this system.
void KeepShot(const Shot& shot, const std::string& name) {
  const char* directory = std::getenv("LAUNCHER_TEST_SHOTS");
  if (directory == nullptr || *directory == '\0') return;
  WriteFileBytes(std::string(directory) + "\\" + name,
                 RgbaPng(shot.width, shot.height, [&](int x, int y) { return 0xFF000000u | shot.At(x, y); }));
}

}  // namespace

TEST(ShownText, TheLoginPairCarriesTheChineseTitle) {
  LauncherProcess launcher(GameSkin(ChineseSkin("")));
  const HWND background = launcher.WaitForWindow(
      [](HWND w) { return WideWindowText(w) == kWideTitle && GetWindow(w, GW_OWNER) == nullptr; });
  ASSERT_NE(background, nullptr) << launcher.Describe();
  const HWND companion = launcher.WaitForWindow([&](HWND w) { return GetWindow(w, GW_OWNER) == background; });
  ASSERT_NE(companion, nullptr) << launcher.Describe();
  EXPECT_EQ(WideWindowText(companion), kWideTitle);
  launcher.Kill();
}

TEST(ShownText, TheGameWindowsTitleAndCloseQuestionAreTheConfiguredChinese) {
  GameLauncher game(ChineseSkin("about:blank"), false);
  game.window =
      game.launcher.WaitForWindow([](HWND w) { return WideWindowText(w) == kWideTitle && GetDlgItem(w, 170); });
  ASSERT_NE(game.window, nullptr) << game.launcher.Describe();
  ASSERT_TRUE(game.Idle());

  // The title drawn in the frame: white glyphs at its place, more than a
  // row of question marks would give, and the four characters different
  // from one another (a font without them draws one box four times).
  POINT origin{0, 0};
  ClientToScreen(game.window, &origin);
  const Shot shot = TakeShot({origin.x, origin.y, origin.x + 400, origin.y + kTitleBarHeight});
  KeepShot(shot, "game-title.png");
  std::vector<int> whiteColumns;
  for (int x = kTitleX; x < shot.width; ++x)
    for (int y = kTitleY; y < shot.height; ++y)
      if (shot.At(x, y) == 0xFFFFFF) {
        whiteColumns.push_back(x);
        break;
      }
  ASSERT_FALSE(whiteColumns.empty()) << "no title drawn";
  // Each glyph's columns of white, as a signature of its shape.
  const int width = whiteColumns.back() - kTitleX + 1;
  const int cell = width / 4;
  ASSERT_GT(cell, 6) << "the title is " << width << " pixels wide";
  auto glyph = [&](int i) {
    std::vector<std::uint32_t> rows;
    for (int y = kTitleY; y < shot.height; ++y) {
      std::uint32_t bits = 0;
      for (int x = 0; x < cell && x < 32; ++x) bits = bits << 1 | (shot.At(kTitleX + i * cell + x, y) == 0xFFFFFF);
      rows.push_back(bits);
    }
    return rows;
  };
  for (int i = 0; i < 4; ++i)
    for (int j = i + 1; j < 4; ++j)
      EXPECT_NE(glyph(i), glyph(j)) << "characters " << i << " and " << j << " look alike";

  PostMessageW(game.window, WM_CLOSE, 0, 0);
  const auto box = game.launcher.WaitForMessageBox();
  ASSERT_TRUE(box.has_value()) << game.launcher.Describe();
  EXPECT_EQ(WideWindowText(GetDlgItem(box->hwnd, 0xFFFF)), kWideCloseMsg);
  EXPECT_EQ(WideWindowText(box->hwnd), L"Launcher");
  EXPECT_TRUE(IsQuestion(*box, kCloseMsg, "Launcher", game.window));
  box->Press(IDOK);
  EXPECT_EQ(game.launcher.WaitForExit(), 0u);
}

namespace {

// A skin that declares UTF-8: the login pair's title in Thai and Korean,
// the game window's title and close question in Vietnamese.
constexpr wchar_t kThaiKoreanTitle[] = L"\u0E40\u0E17\u0E1E\u0E2A\u0E07\u0E04\u0E23\u0E32\u0E21 \uC804\uC2E0";
constexpr wchar_t kVietnameseTitle[] = L"Chi\u1EBFn Th\u1EA7n";
constexpr wchar_t kVietnameseCloseMsg[] = L"B\u1EA1n c\u00F3 ch\u1EAFc mu\u1ED1n tho\u00E1t?";

GameSkinOptions Utf8Skin(const std::string& firstUrl, const wchar_t* title) {
  return {.firstUrl = firstUrl,
          .extraGlobal = "textEncoding=UTF-8\r\ntitle=" + win::Utf8FromWide(title) +
                         "\r\ncloseMsg=" + win::Utf8FromWide(kVietnameseCloseMsg) + "\r\n"};
}

}  // namespace

// Another program reads the packed launcher's windows as the characters
// they hold: those of a UTF-8 skin in languages GBK cannot spell, on a
// Chinese system and on a Western one alike.
TEST(ShownText, AUtf8SkinsLoginPairCarriesItsThaiAndKoreanTitle) {
  LauncherProcess launcher(GameSkin(Utf8Skin("", kThaiKoreanTitle)));
  const HWND background = launcher.WaitForWindow(
      [](HWND w) { return WideWindowText(w) == kThaiKoreanTitle && GetWindow(w, GW_OWNER) == nullptr; });
  ASSERT_NE(background, nullptr) << launcher.Describe();
  const HWND companion = launcher.WaitForWindow([&](HWND w) { return GetWindow(w, GW_OWNER) == background; });
  ASSERT_NE(companion, nullptr) << launcher.Describe();
  EXPECT_EQ(WideWindowText(companion), kThaiKoreanTitle);
  launcher.Kill();
}

TEST(ShownText, AUtf8SkinsGameWindowAsksItsVietnameseCloseQuestion) {
  GameLauncher game(Utf8Skin("about:blank", kVietnameseTitle), false);
  game.window =
      game.launcher.WaitForWindow([](HWND w) { return WideWindowText(w) == kVietnameseTitle && GetDlgItem(w, 170); });
  ASSERT_NE(game.window, nullptr) << game.launcher.Describe();
  ASSERT_TRUE(game.Idle());
  POINT origin{0, 0};
  ClientToScreen(game.window, &origin);
  KeepShot(TakeShot({origin.x, origin.y, origin.x + 400, origin.y + kTitleBarHeight}), "game-title-utf8.png");

  PostMessageW(game.window, WM_CLOSE, 0, 0);
  const auto box = game.launcher.WaitForMessageBox();
  ASSERT_TRUE(box.has_value()) << game.launcher.Describe();
  EXPECT_EQ(box->wideText, kVietnameseCloseMsg);
  EXPECT_EQ(box->wideCaption, L"Launcher");
  box->Press(IDOK);
  EXPECT_EQ(game.launcher.WaitForExit(), 0u);
}
