#include "game/game_dialog_win.h"

#include "package/load_outcome_win.h"
#include "app/resource.h"
#include "game/launcher_restart_win.h"
#include "browser/page_arguments.h"
#include "browser/page_call_win.h"
#include "common/text.h"
#include "game/title_bar.h"
#include "win/text.h"

namespace {

// The browser control's own style bit beside WS_CHILD | WS_VISIBLE.
constexpr DWORD kBrowserStyle = WS_CHILD | WS_VISIBLE | 0x1000;

POINT ScreenPointOf(const MSG& message) {
  POINT point{static_cast<short>(LOWORD(message.lParam)), static_cast<short>(HIWORD(message.lParam))};
  ClientToScreen(message.hwnd, &point);
  return point;
}

}  // namespace

CGameDialog::CGameDialog()
    : Dialog(IDD_GAME, nullptr),
      icon_(LoadIconA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDR_MAINFRAME))),
      taskbarCreated_(RegisterWindowMessageA("TaskbarCreated")) {}

CGameDialog::~CGameDialog() = default;

void CGameDialog::SetStartAddress(const char* address) {
  CopyToField(startAddress_, sizeof startAddress_, address != nullptr ? address : "", win::IsSystemLeadByte);
}

BOOL CGameDialog::OnInitDialog() {
  Dialog::OnInitDialog();
  closing_ = false;
  SendMessageA(Handle(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon_));
  SendMessageA(Handle(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon_));
  titleBar_.MakeFont();
  if (!Build()) return TRUE;
  SetWindowLongA(Handle(), GWL_EXSTYLE, GetWindowLongA(Handle(), GWL_EXSTYLE) | WS_EX_APPWINDOW);
  shortcuts_ = BuildShortcutTable(App().Config());
  initialised_ = true;
  MaximizeWindow();
  LayoutChildren();
  return TRUE;
}

bool CGameDialog::Build() {
  const LauncherConfig& config = App().Config();
  const Rect workArea = WorkArea();
  const RECT work{workArea.left, workArea.top, workArea.right, workArea.bottom};
  MoveWindow(Handle(), work.left, work.top, workArea.Width(), workArea.Height(), TRUE);
  minimum_ = ComputeMinimumSize(config.minGameWidth, config.minGameHeight, workArea);
  SetWindowTextA(Handle(), config.title.c_str());

  AttachedPackage* package = &App().Holder().package;
  DibImage sheet;
  if (!ReportLoad(LoadPackageImage(package, "config/style.png", &sheet))) return false;
  frame_.Cut(sheet.Get(), config);
  if (!StartBrowser(work)) return false;
  if (!titleBar_.CreateButtons(sheet.Get(), config, Handle(), work)) return false;
  if (!titleBar_.CreateLogo(package, config, Handle())) return false;
  titleBar_.SetUpTitle(config);
  return true;
}

bool CGameDialog::StartBrowser(const RECT& work) {
  const FrameMetrics& f = frame_.Metrics();
  const RECT rect{f.W(4), f.H(2), (work.right - work.left) - f.W(5), (work.bottom - work.top) - f.H(7)};
  if (!browser_.Create("", kBrowserStyle, rect, Handle(), kGameBrowserId)) return false;
  browser_.Navigate("about:blank");
  browser_.AttachUiController(false);
  browser_.SetExternalObject(&bridge_);
  browser_.Navigate(startAddress_);
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
      if (OnTitleBarDoubleClick(ScreenPointOf(*message))) return true;
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
  const PageCommand command = ReadPageCommand(params, App().Config().title);
  switch (command.action) {
    case PageAction::kNone: break;
    case PageAction::kClose: Close(); break;
    case PageAction::kRestartAndClose: RestartAndClose(); break;
    case PageAction::kSetButtonLink:
      if (CSkinButton* button = FindButtonByKind(kButtonPageLink); button != nullptr && PageMayLink(command.text))
        button->SetLink(command.text.c_str());
      break;
    case PageAction::kSetTitle: titleBar_.SetTitleText(command.text); break;
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

LRESULT CGameDialog::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_SIZE: OnSize(wParam); break;
    case WM_SIZING:
      if (auto* rect = reinterpret_cast<RECT*>(lParam)) {
        const Rect kept = EnforceMinimumSize({rect->left, rect->top, rect->right, rect->bottom}, minimum_);
        *rect = RECT{kept.left, kept.top, kept.right, kept.bottom};
      }
      return TRUE;
    case WM_NCHITTEST: return OnHitTest(lParam);
    case WM_NCLBUTTONDOWN:
      // Only the edges and corners size; nothing else of the default
      // handling is wanted for the frame.
      if (const unsigned command = SizeCommandFor(static_cast<int>(wParam)); command != 0)
        SendMessageA(Handle(), WM_SYSCOMMAND, command, lParam);
      return 0;
    case WM_SETCURSOR:
      SetCursor(LoadCursorA(nullptr, [&] {
        switch (CursorFor(LOWORD(lParam))) {
          case FrameCursor::kSizeWestEast: return IDC_SIZEWE;
          case FrameCursor::kSizeNorthSouth: return IDC_SIZENS;
          case FrameCursor::kSizeNorthWestSouthEast: return IDC_SIZENWSE;
          case FrameCursor::kSizeNorthEastSouthWest: return IDC_SIZENESW;
          case FrameCursor::kArrow: break;
        }
        return IDC_ARROW;
      }()));
      return TRUE;
    case WM_MOUSEMOVE:
      if (OnMouseMove(wParam, lParam)) return 0;
      break;
    case WM_PAINT: OnPaint(); return 0;
    case WM_QUERYDRAGICON: return reinterpret_cast<LRESULT>(icon_);
    case kTrayMessage: return HandleTrayNotification(wParam, lParam);
    default:
      if (message == taskbarCreated_ && taskbarCreated_ != 0) OnTaskbarCreated();
      break;
  }
  return Dialog::WindowProc(message, wParam, lParam);
}
