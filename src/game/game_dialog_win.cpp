#include "game/game_dialog_win.h"

#include "app/resource.h"
#include "browser/page_arguments.h"
#include "browser/page_call_win.h"
#include "common/text.h"
#include "common/web_address.h"
#include "game/launcher_restart_win.h"
#include "game/popup_menu_win.h"
#include "game/title_bar.h"
#include "game/url_cache_win.h"
#include "package/load_outcome_win.h"
#include "package/scaled_images_win.h"
#include "win/dpi.h"
#include "win/text.h"

namespace {

// The browser control's own style bit beside WS_CHILD | WS_VISIBLE.
constexpr DWORD kBrowserStyle = WS_CHILD | WS_VISIBLE | 0x1000;
// The sprite sheet the frame pieces and the buttons are cut from.
constexpr char kStyleMember[] = "config/style.png";

POINT ScreenPointOf(const MSG& message) {
  POINT point{static_cast<short>(LOWORD(message.lParam)), static_cast<short>(HIWORD(message.lParam))};
  ClientToScreen(message.hwnd, &point);
  return point;
}

}  // namespace

CGameDialog::CGameDialog(const Skin& skin)
    : Dialog(IDD_GAME, nullptr),
      skin_(skin),
      icon_(LoadIconA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDR_MAINFRAME))),
      tray_(*this, icon_, skin.Config(), [this] { return closing_; }) {}

CGameDialog::~CGameDialog() = default;

void CGameDialog::SetStartAddress(const char* address) {
  CopyToField(startAddress_, sizeof startAddress_, address != nullptr ? address : "", SkinTextEncoding(skin_.Config()));
}

BOOL CGameDialog::OnInitDialog() {
  Dialog::OnInitDialog();
  closing_ = false;
  SendMessageA(Handle(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon_));
  SendMessageA(Handle(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon_));
  titleBar_.MakeFont();
  if (!Build()) return TRUE;
  SetWindowLongA(Handle(), GWL_EXSTYLE, GetWindowLongA(Handle(), GWL_EXSTYLE) | WS_EX_APPWINDOW);
  shortcuts_ = BuildShortcutTable(skin_.Config());
  frame_.Start();
  return TRUE;
}

bool CGameDialog::Build() {
  const LauncherConfig& config = skin_.Config();
  const Rect workArea = GameFrame::WorkArea();
  const RECT work{workArea.left, workArea.top, workArea.right, workArea.bottom};
  MoveWindow(Handle(), work.left, work.top, workArea.Width(), workArea.Height(), TRUE);
  if (ScalesWithDisplay(config)) {
    scale_ = DisplayScale(win::WindowDpi(Handle()));
    titleBar_.MakeFont(scale_.Dpi());
  }
  frame_.SetGameSize(scale_.Length(config.minGameWidth), scale_.Length(config.minGameHeight), workArea);
  SetWindowTextW(Handle(), win::WideFromSkin(config.title, SkinTextEncoding(config)).c_str());

  AttachedPackage* package = skin_.Package();
  ScaledSheet sheet;
  if (!ReportLoad(sheet.Load(package, kStyleMember, scale_))) return false;
  frame_.CutPieces(sheet, config, scale_);
  // Making the browser control brings in the browser's libraries, the
  // heaviest step of the set-up: the frame, its buttons, logo and title are
  // shown first and the browser is made right after the window is shown and
  // painted, also when a later step here fails, as the page was shown
  // before.
  const FrameMetrics& f = frame_.Metrics();
  browserRect_ = {f.W(4), f.H(2), (work.right - work.left) - f.W(5), (work.bottom - work.top) - f.H(7)};
  browserDue_ = true;
  if (!titleBar_.CreateButtons(sheet, config, Handle(), work, scale_)) return false;
  if (!titleBar_.CreateLogo(package, config, Handle(), scale_)) return false;
  titleBar_.SetUpTitle(config, scale_);
  return true;
}

void CGameDialog::OnDpiChanged(int dpi, const RECT& suggested) {
  const LauncherConfig& config = skin_.Config();
  // A window whose set-up stopped early keeps what it has.
  if (!ScalesWithDisplay(config) || !frame_.Started()) return;
  const DisplayScale scale(dpi);
  ScaledSheet sheet;
  if (sheet.Load(skin_.Package(), kStyleMember, scale) != LoadOutcome::kLoaded) return;
  scale_ = scale;
  frame_.SetGameSize(scale_.Length(config.minGameWidth), scale_.Length(config.minGameHeight), GameFrame::WorkArea());
  frame_.CutPieces(sheet, config, scale_);
  titleBar_.Rescale(sheet, skin_.Package(), config, scale_);
  frame_.FitToNewScale(suggested);
}

void CGameDialog::RequestBrowser() {
  if (!browserDue_ || browserRequested_) return;
  browserRequested_ = true;
  PostMessageA(Handle(), kMakeBrowserMessage, 0, 0);
}

void CGameDialog::MakeBrowser() {
  if (!browserDue_) return;
  // The frame, its buttons and the logo are drawn first, before the thread
  // is taken up for a while: this comes ahead of the paint a shown window
  // waits for.
  RedrawWindow(Handle(), nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
  const bool made = !closing_ && StartBrowser();
  browserDue_ = false;
  if (!made || Handle() == nullptr) return;  // a browser that cannot be made leaves the window as it is
  // The size state may have changed while the browser was waiting.
  if (frame_.FullScreen()) {
    RECT client{};
    GetClientRect(Handle(), &client);
    MoveWindow(browser_.Handle(), 0, 0, client.right, client.bottom, TRUE);
  } else if (frame_.Started()) {
    frame_.LayoutChildren();
  }
}

bool CGameDialog::StartBrowser() {
  if (!browser_.Create("", kBrowserStyle, browserRect_, Handle(), kGameBrowserId)) return false;
  // The page lies above the title bar's buttons and logo where they overlap
  // it, as it did when it was made before them.
  SetWindowPos(browser_.Handle(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  browser_.Navigate("about:blank");
  browser_.UiController().SetDpiAware(ScalesWithDisplay(skin_.Config()));
  browser_.AttachUiController(false);
  browser_.SetExternalObject(&bridge_);
  browser_.Navigate(win::WideFromSkin(startAddress_, SkinTextEncoding(skin_.Config())));
  browser_.SetSilent(true);
  // The page's script is reached through the document of this moment.
  page_.AttachDocument(browser_.GetDocument().Get());
  return true;
}

bool CGameDialog::PreTranslateMessage(MSG* message) {
  switch (message->message) {
    case WM_KEYDOWN:
      // Enter and Escape go to the control with the focus, never to the
      // dialog's OK and Cancel.
      if (message->wParam == VK_RETURN || message->wParam == VK_ESCAPE) return false;
      if (const int key = FunctionKeyNumber(static_cast<unsigned>(message->wParam)); key != 0) {
        RunAction(ShortcutAction(shortcuts_, key));
        return true;  // bound or not, the page never sees it
      }
      break;
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP: {
      const POINT at = ScreenPointOf(*message);
      NotifyPage(message->message == WM_RBUTTONDOWN ? kPageEventRightDown : kPageEventRightUp, at.x, at.y);
      return true;
    }
    case WM_LBUTTONDBLCLK:
      if (frame_.OnTitleBarDoubleClick(ScreenPointOf(*message))) return true;
      break;
    default: break;
  }
  if (browser_.TranslateControlKey(message)) return true;
  return Dialog::PreTranslateMessage(message);
}

bool CGameDialog::OnCommand(WORD id, WORD code, HWND) {
  if (code != BN_CLICKED) return false;  // menu items come with 0 too
  GameAction action = ButtonCommandAction(id);
  if (action == GameAction::kNone) action = MenuCommandAction(id);
  if (action == GameAction::kNone) return false;
  RunAction(action);
  return true;
}

void CGameDialog::RunAction(GameAction action) {
  switch (action) {
    case GameAction::kNone: break;
    case GameAction::kConfirmClose: ConfirmClose(); break;
    case GameAction::kHideToTray: HideToTray(); break;
    case GameAction::kShowSettingsMenu: ShowSettingsMenu(); break;
    case GameAction::kMinimise: Minimise(); break;
    case GameAction::kMaximise: MaximizeWindow(); break;
    case GameAction::kRestore: RestoreWindow(); break;
    case GameAction::kConfirmClearCache: ConfirmClearCache(); break;
    case GameAction::kRelogin: Relogin(); break;
    case GameAction::kToggleFullScreen: ToggleFullScreen(); break;
  }
}

void CGameDialog::RunPageCommand(const DISPPARAMS* params) {
  // Once the window is on its way out the page has nothing more to say: a
  // page calling for a restart in a loop would otherwise start a launcher
  // for every call before the loop ever looked at its end.
  if (closing_) return;
  const LauncherConfig& config = skin_.Config();
  const TextEncoding encoding = SkinTextEncoding(config);
  const PageCommand command = ReadPageCommand(params, config.title, encoding);
  switch (command.action) {
    case PageAction::kNone: break;
    case PageAction::kClose: Close(); break;
    case PageAction::kRestartAndClose: RestartAndClose(); break;
    case PageAction::kSetButtonLink:
      // Any page the player reaches can send this: web addresses only, with
      // what could split or unquote them for the shell encoded.
      if (CSkinButton* button = FindButtonByKind(kButtonPageLink);
          button != nullptr && PageMayLink(win::SkinFromWide(command.text, encoding)))
        button->SetLink(EncodePageAddress(std::wstring(command.text.begin(), command.text.end())));
      break;
    case PageAction::kSetTitle:
      titleBar_.SetTitleText(PageTitlePrefix(config.title, encoding), command.text, encoding);
      break;
  }
}

void CGameDialog::Close() {
  closing_ = true;
  EndModal(IDOK);
}

void CGameDialog::RestartAndClose() {
  if (closing_) return;  // one new launcher per window at most
  StartNewLauncherInstance();  // closes whether or not the new one started
  Close();
}

void CGameDialog::NotifyPage(int code, int x, int y) { page_.SendPageEvent(code, x, y); }

void CGameDialog::Minimise() { ShowWindow(Handle(), SW_MINIMIZE); }

bool CGameDialog::AskToClose() {
  const LauncherConfig& config = skin_.Config();
  return win::AskOkCancel(Handle(), win::WideFromSkin(config.closeMsg, SkinTextEncoding(config)),
                          win::ProgramCaption());
}

void CGameDialog::ConfirmClose() {
  if (AskToClose()) Close();
}

void CGameDialog::Relogin() {
  if (!closing_ && AskToClose()) RestartAndClose();
}

void CGameDialog::ConfirmClearCache() {
  const LauncherConfig& config = skin_.Config();
  const TextEncoding encoding = SkinTextEncoding(config);
  if (win::AskOkCancel(Handle(), win::WideFromSkin(config.clearFlashMsg, encoding),
                       win::WideFromSkin(config.clearFlashTitle, encoding)))
    ClearUrlCache();
}

void CGameDialog::ShowSettingsMenu() {
  POINT at{};
  if (const CSkinButton* button = FindButtonByKind(kButtonSettings)) {
    RECT r{};
    GetWindowRect(button->Handle(), &r);
    at = {r.left, r.bottom + 1};
  } else {
    // A shortcut bound through a settings record that made no button has
    // no button to open below: the menu opens at the pointer.
    GetCursorPos(&at);
  }
  TrackPopup(Handle(), at, SettingsMenuEntries(skin_.Config()), SkinTextEncoding(skin_.Config()), 0);
}

void CGameDialog::OnPaint() {
  PAINTSTRUCT paint{};
  const HDC dc = BeginPaint(Handle(), &paint);
  RECT client{};
  GetClientRect(Handle(), &client);
  if (IsIconic(Handle())) {
    SendMessageA(Handle(), WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
    DrawIcon(dc, (client.right - GetSystemMetrics(SM_CXICON) + 1) / 2,
             (client.bottom - GetSystemMetrics(SM_CYICON) + 1) / 2, icon_);
  } else {
    frame_.Paint(dc, client);
    if (!frame_.FullScreen()) {
      titleBar_.RepaintButtons();
      titleBar_.PaintTitle(dc);
    }
  }
  EndPaint(Handle(), &paint);
}

LRESULT CGameDialog::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  if (const auto answer = frame_.HandleMessage(message, wParam, lParam)) return *answer;
  if (const auto answer = tray_.HandleMessage(message, wParam, lParam)) return *answer;
  switch (message) {
    case WM_PAINT: OnPaint(); return 0;
    case WM_SHOWWINDOW:
      // A window started minimised is never painted: its page loads all the
      // same.
      if (wParam) RequestBrowser();
      break;
    case kMakeBrowserMessage: MakeBrowser(); return 0;
    case WM_QUERYDRAGICON: return reinterpret_cast<LRESULT>(icon_);
    default: break;
  }
  return Dialog::WindowProc(message, wParam, lParam);
}
