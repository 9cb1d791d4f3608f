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
#include "win/text.h"

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

// What a running game window shows of its skin's texts, read from the real
// windows: its title, the close button's (185) caption and tooltip, the
// settings menu, the clear-cache question, the tray tip, the tray's exit
// menu and the close question that its item asks.
struct ShownTexts {
  std::wstring windowTitle, titleBar, caption, tip, trayTip;
  ShownMenu settings, exit;
  MessageBoxView clear, close;
};

// Reads them from `game`, running, answering each question with Cancel,
// and ends the run.
void ReadShownTexts(CGameDialog& game, ShownTexts& shown) {
  const HWND w = game.Handle();
  shown.windowTitle = WideWindowText(w);  // the taskbar shows it
  shown.titleBar = game.WideTitleText();
  shown.caption = WideWindowText(GetDlgItem(w, 185));
  shown.tip = TipOf(GetDlgItem(w, 185));
  shown.settings = ReadMenuWhileShown([&] { game.ShowSettingsMenu(); });
  AnswerMessageBox(IDCANCEL, &shown.clear);
  SendMessageW(w, WM_COMMAND, 2036, 0);
  game.HideToTray();
  Then([&game, &shown, w] {
    shown.trayTip = game.TrayTip();
    AnswerMessageBox(IDCANCEL, &shown.close);
    shown.exit = ReadMenuWhileShown([&] { SendMessageW(w, 2025, 128, WM_RBUTTONUP); }, 0);
    EndSoon(game);
  });
}

class ShownText : public GameWindowTest {
 protected:
  // What a game window of `skin` shows.
  static ShownTexts ShownBy(const GameSkinOptions& skin) {
    LoadSkin(skin);
    CGameDialog game(TestSkin());
    ShownTexts shown;
    RunGameWindow(game, [&] { ReadShownTexts(game, shown); });
    return shown;
  }
};

}  // namespace

TEST_F(ShownText, WindowTitleButtonsMenusTrayAndQuestionsShowTheConfiguredChinese) {
  const ShownTexts shown = ShownBy(ChineseSkin());
  EXPECT_EQ(shown.windowTitle, kWideTitle);
  EXPECT_EQ(shown.titleBar, kWideTitle);
  EXPECT_EQ(shown.caption, kWideCaption);
  EXPECT_EQ(shown.tip, kWideTip);
  using Items = std::vector<std::pair<UINT, std::string>>;
  EXPECT_EQ(shown.settings.items,
            (Items{{2035, kRelogin}, {2036, kClearItem}, {2038, std::string(kVersion) + "1.2.3"}}));
  EXPECT_EQ(shown.clear.caption, kClearTitle);
  EXPECT_EQ(shown.clear.text, kClearMsg);
  EXPECT_EQ(shown.trayTip, kWideTrayTip);
  EXPECT_EQ(shown.exit.items, (Items{{IDCANCEL, kExitItem}}));
  EXPECT_EQ(shown.close.text, kCloseMsg);
  EXPECT_EQ(shown.close.caption, "win32_tests");  // the program's name
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

namespace {

// A skin that declares UTF-8, in languages GBK cannot spell. Each text is
// written here as the characters it must show and put into the skin as
// UTF-8 by the system's own converter.
constexpr wchar_t kVietnameseTitle[] = L"Chi\u1EBFn Th\u1EA7n";                      // Chiến Thần
constexpr wchar_t kThaiCaption[] = L"\u0E1B\u0E34\u0E14";                            // ปิด
constexpr wchar_t kKoreanTip[] = L"\uCC3D \uB2EB\uAE30";                             // 창 닫기
constexpr wchar_t kVietnameseRelogin[] = L"\u0110\u0103ng nh\u1EADp l\u1EA1i";       // Đăng nhập lại
constexpr wchar_t kThaiClearItem[] = L"\u0E25\u0E49\u0E32\u0E07\u0E41\u0E04\u0E0A";  // ล้างแคช
constexpr wchar_t kKoreanVersion[] = L"\uBC84\uC804 v";                              // 버전 v
constexpr wchar_t kGermanClearMsg[] = L"Zwischenspeicher l\u00F6schen?";             // löschen
constexpr wchar_t kGermanClearTitle[] = L"L\u00F6schen";
constexpr wchar_t kThaiTrayTip[] = L"\u0E40\u0E17\u0E1E\u0E2A\u0E07\u0E04\u0E23\u0E32\u0E21";  // เทพสงคราม
constexpr wchar_t kVietnameseCloseMsg[] = L"Tho\u00E1t tr\u00F2 ch\u01A1i?";                   // Thoát trò chơi?
constexpr wchar_t kKoreanExit[] = L"\uAC8C\uC784 \uC885\uB8CC";                                // 게임 종료

std::string Utf8(const wchar_t* text) { return win::Utf8FromWide(text); }

// The exit item ends in a byte that is no UTF-8: it shows as one
// replacement character after the rest, as written.
GameSkinOptions Utf8Skin() {
  using std::string;
  return {.extraGlobal = "textEncoding=utf-8\r\ntitle=" + Utf8(kVietnameseTitle) +
                         "\r\ncloseMsg=" + Utf8(kVietnameseCloseMsg) + "\r\nnotityTitle=" + Utf8(kThaiTrayTip) +
                         "\r\nnotifyCloseTitle=" + Utf8(kKoreanExit) + "\xFF\r\nclearFlashMsg=" +
                         Utf8(kGermanClearMsg) + "\r\nclearFlashTitle=" + Utf8(kGermanClearTitle) + "\r\n",
          .buttons = "gameButtonCount=2\r\n[gamebutton1]\r\ntype=5\r\nx=-30\r\nimage=9\r\ntitle=" + Utf8(kThaiCaption) +
                     "\r\ntips=" + Utf8(kKoreanTip) + "\r\n[gamebutton2]\r\ntype=11\r\nx=-55\r\nimage=9\r\n",
          .menus = "menuCount=3\r\n[menu1]\r\ntitle=" + Utf8(kVietnameseRelogin) + "\r\ntype=1\r\n[menu2]\r\ntitle=" +
                   Utf8(kThaiClearItem) + "\r\ntype=2\r\n[menu3]\r\ntitle=" + Utf8(kKoreanVersion) + "\r\ntype=4\r\n"};
}

}  // namespace

// Every kind of text the game window shows, read back as the characters the
// windows hold, not through any code page: on a Chinese system and on a
// Western one alike.
TEST_F(ShownText, AUtf8SkinShowsItsTextsInAnyLanguage) {
  const ShownTexts shown = ShownBy(Utf8Skin());
  EXPECT_EQ(shown.windowTitle, kVietnameseTitle);
  EXPECT_EQ(shown.titleBar, kVietnameseTitle);
  EXPECT_EQ(shown.caption, kThaiCaption);
  EXPECT_EQ(shown.tip, kKoreanTip);
  using Items = std::vector<std::pair<UINT, std::wstring>>;
  EXPECT_EQ(
      shown.settings.wideItems,
      (Items{{2035, kVietnameseRelogin}, {2036, kThaiClearItem}, {2038, std::wstring(kKoreanVersion) + L"1.2.3"}}));
  EXPECT_EQ(shown.clear.wideCaption, kGermanClearTitle);
  EXPECT_EQ(shown.clear.wideText, kGermanClearMsg);
  EXPECT_EQ(shown.trayTip, kThaiTrayTip);
  EXPECT_EQ(shown.exit.wideItems, (Items{{IDCANCEL, std::wstring(kKoreanExit) + L"\uFFFD"}}));
  EXPECT_EQ(shown.close.wideText, kVietnameseCloseMsg);
  EXPECT_EQ(shown.close.wideCaption, L"win32_tests");
}

// Drawn, the Vietnamese title is its own glyphs, each letter with its marks:
// the font the title bar draws with, or the one the system links to it,
// has them.
TEST_F(ShownText, TheTitleBarDrawsAUtf8SkinsVietnameseGlyphs) {
  LoadSkin(Utf8Skin());
  CGameDialog game(TestSkin());
  RunGameWindow(game, [&] {
    RedrawWindow(game.Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    HDC dc = GetDC(game.Handle());
    const Mask shown = WhiteMask(dc, kTitleX, kTitleY);
    ReleaseDC(game.Handle(), dc);
    EXPECT_GT(Count(shown), 0);
    EXPECT_TRUE(shown == Rendered(kVietnameseTitle)) << Count(shown) << " white pixels shown";
    // Without its marks the title would be other pixels.
    EXPECT_FALSE(shown == Rendered(L"Chien Than"));
    EXPECT_FALSE(shown == Rendered(L"Chi?n Th?n"));
    EndSoon(game);
  });
}
