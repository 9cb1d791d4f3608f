// The game window's Chinese texts read back through the wide functions, in
// the test's own process: the configuration's GBK must reach the screen as
// the same characters on a Western system (code page 1252) as on a Chinese
// one. The window's title is also looked at as pixels.
#include "game_fixture.h"
// After windows.h, whose types it uses.
#include <commctrl.h>

#include <algorithm>
#include <string>
#include <vector>

#include "launcher_driver.h"

using namespace testkit;

namespace {

// Each text as the configuration holds it (GBK) and as it must show.
constexpr char kTitle[] = "\xD3\xCE\xCF\xB7\xB2\xE2\xCA\xD4";  // 游戏测试
constexpr wchar_t kWideTitle[] = L"\u6E38\u620F\u6D4B\u8BD5";
constexpr char kCloseMsg[] = "\xCD\xCB\xB3\xF6\xD3\xCE\xCF\xB7\xC2\xF0\xA3\xBF";  // 退出游戏吗？
constexpr char kTrayTip[] = "\xCD\xD0\xC5\xCC\xCC\xE1\xCA\xBE";                   // 托盘提示
constexpr wchar_t kWideTrayTip[] = L"\u6258\u76D8\u63D0\u793A";
constexpr char kExitItem[] = "\xCD\xCB\xB3\xF6\xD3\xCE\xCF\xB7";   // 退出游戏
constexpr char kClearMsg[] = "\xC7\xE5\xB3\xFD\xC2\xF0\xA3\xBF";   // 清除吗？
constexpr char kClearTitle[] = "\xC7\xE5\xB3\xFD";                 // 清除
constexpr char kRelogin[] = "\xD6\xD8\xD0\xC2\xB5\xC7\xC2\xBC";    // 重新登录
constexpr char kClearItem[] = "\xC7\xE5\xB3\xFD\xBB\xBA\xB4\xE6";  // 清除缓存
constexpr char kVersion[] = "\xB0\xE6\xB1\xBE";                    // 版本
constexpr char kCaption[] = "\xB9\xD8\xB1\xD5";                    // 关闭
constexpr wchar_t kWideCaption[] = L"\u5173\u95ED";
constexpr char kTip[] = "\xB9\xD8\xB1\xD5\xB4\xB0\xBF\xDA";  // 关闭窗口
constexpr wchar_t kWideTip[] = L"\u5173\u95ED\u7A97\u53E3";

GameSkinOptions ChineseSkin() {
  using std::string;
  return {.extraGlobal = string("title=") + kTitle + "\r\ncloseMsg=" + kCloseMsg + "\r\nnotityTitle=" + kTrayTip +
                         "\r\nnotifyCloseTitle=" + kExitItem + "\r\nclearFlashMsg=" + kClearMsg +
                         "\r\nclearFlashTitle=" + kClearTitle + "\r\n",
          .buttons = string("gameButtonCount=2\r\n[gamebutton1]\r\ntype=5\r\nx=-30\r\nimage=9\r\ntitle=") + kCaption +
                     "\r\ntips=" + kTip + "\r\n[gamebutton2]\r\ntype=11\r\nx=-55\r\nimage=9\r\n",
          .menus = string("menuCount=3\r\n[menu1]\r\ntitle=") + kRelogin + "\r\ntype=1\r\n[menu2]\r\ntitle=" +
                   kClearItem + "\r\ntype=2\r\n[menu3]\r\ntitle=" + kVersion + "\r\ntype=4\r\n"};
}

BOOL CALLBACK CollectTooltip(HWND hwnd, LPARAM found) {
  if (ClassName(hwnd) == TOOLTIPS_CLASSA) reinterpret_cast<std::vector<HWND>*>(found)->push_back(hwnd);
  return TRUE;
}

// The text of `button`'s tool, from the tooltip control of this thread that
// holds one (a pop-up's owner is the top-level window, not the button).
std::wstring TipOf(HWND button) {
  std::vector<HWND> tips;
  EnumThreadWindows(GetCurrentThreadId(), CollectTooltip, reinterpret_cast<LPARAM>(&tips));
  for (HWND tip : tips) {
    wchar_t text[256] = {};
    TOOLINFOW tool{};
    tool.cbSize = sizeof tool;
    tool.hwnd = button;
    tool.uId = 0;
    tool.lpszText = text;
    SendMessageW(tip, TTM_GETTEXTW, 256, reinterpret_cast<LPARAM>(&tool));
    if (text[0] != L'\0') return text;
  }
  return L"<no tooltip>";
}

// Which pixels of a band `width` x `height` are exactly white: the title's
// colour where a glyph covers a pixel whole.
using Mask = std::vector<bool>;
constexpr int kBandWidth = 200, kBandHeight = 16;

Mask WhiteMask(HDC dc, int left, int top) {
  Mask mask;
  for (int y = top; y < top + kBandHeight; ++y)
    for (int x = left; x < left + kBandWidth; ++x) mask.push_back(GetPixel(dc, x, y) == RGB(255, 255, 255));
  return mask;
}

// `text` drawn white on black with the title bar's font (the dialog font in
// bold), as the game window draws its title.
Mask Rendered(const std::wstring& text) {
  LOGFONTW description{};
  GetObjectW(GetStockObject(DEFAULT_GUI_FONT), sizeof description, &description);
  description.lfWeight = FW_BOLD;
  HFONT font = CreateFontIndirectW(&description);
  HDC screen = GetDC(nullptr);
  HDC dc = CreateCompatibleDC(screen);
  HBITMAP bitmap = CreateCompatibleBitmap(screen, kBandWidth, kBandHeight);
  ReleaseDC(nullptr, screen);
  HGDIOBJ oldBitmap = SelectObject(dc, bitmap);
  HGDIOBJ oldFont = SelectObject(dc, font);
  RECT all{0, 0, kBandWidth, kBandHeight};
  FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, RGB(255, 255, 255));
  TextOutW(dc, 0, 0, text.data(), static_cast<int>(text.size()));
  Mask mask = WhiteMask(dc, 0, 0);
  SelectObject(dc, oldFont);
  SelectObject(dc, oldBitmap);
  DeleteObject(bitmap);
  DeleteDC(dc);
  DeleteObject(font);
  return mask;
}

int Count(const Mask& mask) { return static_cast<int>(std::count(mask.begin(), mask.end(), true)); }

class ShownText : public GameWindowTest {};

}  // namespace

TEST_F(ShownText, WindowTitleButtonsMenusTrayAndQuestionsShowTheConfiguredChinese) {
  LoadSkin(ChineseSkin());
  CGameDialog game(TestSkin());
  RunGameWindow(game, [&] {
    const HWND w = game.Handle();
    EXPECT_EQ(WideWindowText(w), kWideTitle);  // the taskbar shows it
    EXPECT_EQ(game.WideTitleText(), kWideTitle);
    EXPECT_EQ(WideWindowText(GetDlgItem(w, 185)), kWideCaption);
    EXPECT_EQ(TipOf(GetDlgItem(w, 185)), kWideTip);

    const ShownMenu settings = ReadMenuWhileShown([&] { game.ShowSettingsMenu(); });
    using Items = std::vector<std::pair<UINT, std::string>>;
    EXPECT_EQ(settings.items, (Items{{2035, kRelogin}, {2036, kClearItem}, {2038, std::string(kVersion) + "1.2.3"}}));

    MessageBoxView clear;
    AnswerMessageBox(IDCANCEL, &clear);
    SendMessageW(w, WM_COMMAND, 2036, 0);
    EXPECT_EQ(clear.caption, kClearTitle);
    EXPECT_EQ(clear.text, kClearMsg);

    game.HideToTray();
    Then([&, w] {
      EXPECT_EQ(game.TrayTip(), kWideTrayTip);
      MessageBoxView question;
      AnswerMessageBox(IDCANCEL, &question);
      const ShownMenu exit = ReadMenuWhileShown([&] { SendMessageW(w, 2025, 128, WM_RBUTTONUP); }, 0);
      EXPECT_EQ(exit.items, (Items{{IDCANCEL, kExitItem}}));
      EXPECT_EQ(question.text, kCloseMsg);
      EXPECT_EQ(question.caption, "win32_tests");  // the program's name
      EndSoon(game);
    });
  });
}

// Drawn, the title is the Chinese glyphs themselves: not the question marks
// a conversion through a Western code page leaves, and not one box repeated
// for characters the font lacks.
TEST_F(ShownText, TheTitleBarDrawsTheChineseGlyphs) {
  LoadSkin(ChineseSkin());
  CGameDialog game(TestSkin());
  RunGameWindow(game, [&] {
    RedrawWindow(game.Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    HDC dc = GetDC(game.Handle());
    const Mask shown = WhiteMask(dc, kTitleX, kTitleY);
    ReleaseDC(game.Handle(), dc);

    const Mask expected = Rendered(kWideTitle);
    EXPECT_GT(Count(expected), 0);
    EXPECT_TRUE(shown == expected) << Count(shown) << " white pixels shown, " << Count(expected) << " expected";
    EXPECT_FALSE(shown == Rendered(L"????"));
    std::vector<Mask> glyphs;
    for (wchar_t c : std::wstring(kWideTitle)) glyphs.push_back(Rendered(std::wstring(1, c)));
    for (std::size_t i = 0; i < glyphs.size(); ++i)
      for (std::size_t j = i + 1; j < glyphs.size(); ++j) EXPECT_FALSE(glyphs[i] == glyphs[j]) << i << " " << j;
    EndSoon(game);
  });
}
