#include "game/game_frame_win.h"

#include <windowsx.h>

namespace {

Rect ToRect(const RECT& r) { return {r.left, r.top, r.right, r.bottom}; }
RECT ToRECT(const Rect& r) { return {r.left, r.top, r.right, r.bottom}; }

// A placement's rectangles are in workspace coordinates, which start at the
// work area's corner; the size states work on the screen.
RECT FromWorkspace(RECT r) {
  const Rect work = GameFrame::WorkArea();
  OffsetRect(&r, work.left, work.top);
  return r;
}

RECT ToWorkspace(RECT r) {
  const Rect work = GameFrame::WorkArea();
  OffsetRect(&r, -work.left, -work.top);
  return r;
}

void MoveTo(HWND window, const Rect& r) { MoveWindow(window, r.left, r.top, r.Width(), r.Height(), TRUE); }

LPCSTR CursorName(FrameCursor cursor) {
  switch (cursor) {
    case FrameCursor::kSizeWestEast: return IDC_SIZEWE;
    case FrameCursor::kSizeNorthSouth: return IDC_SIZENS;
    case FrameCursor::kSizeNorthWestSouthEast: return IDC_SIZENWSE;
    case FrameCursor::kSizeNorthEastSouthWest: return IDC_SIZENESW;
    case FrameCursor::kArrow: break;
  }
  return IDC_ARROW;
}

}  // namespace

GameFrame::GameFrame(const win::Window& window, const GameTitleBar& titleBar, const win::Window& browser)
    : window_(window), titleBar_(titleBar), browser_(browser) {}

Rect GameFrame::WorkArea() {
  RECT work{};
  SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
  return ToRect(work);
}

void GameFrame::SetGameSize(int width, int height, const Rect& workArea) {
  gameWidth_ = width;
  gameHeight_ = height;
  minimum_ = ComputeMinimumSize(width, height, workArea);
}

void GameFrame::Start() {
  started_ = true;
  Maximise();
  LayoutChildren();
}

std::optional<LRESULT> GameFrame::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_SIZE: OnSize(wParam); break;
    case WM_SIZING:
      if (auto* rect = reinterpret_cast<RECT*>(lParam)) *rect = ToRECT(EnforceMinimumSize(ToRect(*rect), minimum_));
      return TRUE;
    case WM_NCHITTEST: return OnHitTest(lParam);
    case WM_NCLBUTTONDOWN:
      // Only the edges and corners size; nothing else of the default
      // handling is wanted for the frame.
      if (const unsigned command = SizeCommandFor(static_cast<int>(wParam)); command != 0)
        SendMessageA(Window(), WM_SYSCOMMAND, command, lParam);
      return 0;
    case WM_SETCURSOR: SetCursor(LoadCursorA(nullptr, CursorName(CursorFor(LOWORD(lParam))))); return TRUE;
    case WM_MOUSEMOVE:
      if (OnMouseMove(wParam, lParam)) return 0;
      break;
    default: break;
  }
  return std::nullopt;
}

LRESULT GameFrame::OnHitTest(LPARAM lParam) const {
  RECT window{};
  GetWindowRect(Window(), &window);
  return FrameHitTest(ToRect(window), {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)}, Metrics(), sizes_.State());
}

void GameFrame::OnSize(WPARAM kind) {
  // A minimised window shows nothing: the page is not squeezed to nothing.
  if (started_ && !sizes_.FullScreen() && kind != SIZE_MINIMIZED) LayoutChildren();
  if (browser_.Handle() != nullptr)
    RedrawWindow(browser_.Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
}

bool GameFrame::OnMouseMove(WPARAM keys, LPARAM lParam) {
  const auto offset = drag_.OnMouseMove(keys == MK_LBUTTON, {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)},
                                        sizes_.State(), Metrics().H(2));
  if (!offset) return false;
  RECT window{};
  GetWindowRect(Window(), &window);
  MoveTo(Window(), ToRect(window).Offset(offset->x, offset->y));
  return true;
}

void GameFrame::Paint(HDC dc, const RECT& client) const {
  pieces_.Paint(dc, FramePaintPlan(client.right - client.left, client.bottom - client.top, Metrics(), sizes_.State()));
}

void GameFrame::LayoutChildren() {
  RECT window{};
  GetWindowRect(Window(), &window);
  const int width = window.right - window.left, height = window.bottom - window.top;
  titleBar_.Layout(width, Metrics(), sizes_.Maximised());
  if (browser_.Handle() != nullptr)
    MoveTo(browser_.Handle(), BrowserRect(width, height, Metrics(), sizes_.Maximised()));
  InvalidateRect(Window(), nullptr, TRUE);
}

RECT GameFrame::NormalRect() const {
  WINDOWPLACEMENT placement{};
  placement.length = sizeof placement;
  GetWindowPlacement(Window(), &placement);
  return FromWorkspace(placement.rcNormalPosition);
}

void GameFrame::SetNormalRect(const RECT& rect) {
  WINDOWPLACEMENT placement{};
  placement.length = sizeof placement;
  GetWindowPlacement(Window(), &placement);
  placement.showCmd = SW_SHOWNORMAL;
  placement.rcNormalPosition = ToWorkspace(rect);
  SetWindowPlacement(Window(), &placement);
}

void GameFrame::Maximise() {
  const Rect normal = sizes_.Maximise(ToRect(NormalRect()), WorkArea());
  titleBar_.ShowSizeButtons(true);
  SetNormalRect(ToRECT(normal));
}

void GameFrame::Restore() {
  const Rect rect = sizes_.Restore(WorkArea(), gameWidth_, gameHeight_);
  titleBar_.ShowSizeButtons(false);
  MoveTo(Window(), rect);
}

void GameFrame::ToggleFullScreen() {
  if (sizes_.FullScreen())
    LeaveFullScreen();
  else
    EnterFullScreen();
}

void GameFrame::EnterFullScreen() {
  beforeFullScreen_ = {};
  beforeFullScreen_.length = sizeof beforeFullScreen_;
  GetWindowPlacement(Window(), &beforeFullScreen_);
  sizes_.EnterFullScreen(ToRect(FromWorkspace(beforeFullScreen_.rcNormalPosition)));
  RECT window{}, client{};
  GetWindowRect(Window(), &window);
  GetClientRect(Window(), &client);
  MapWindowPoints(Window(), nullptr, reinterpret_cast<POINT*>(&client), 2);
  const Rect full =
      FullScreenRect(ToRect(window), ToRect(client), GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
  titleBar_.ShowAll(false);
  if (browser_.Handle() != nullptr) MoveWindow(browser_.Handle(), 0, 0, full.Width(), full.Height(), TRUE);
  ShowWindow(Window(), SW_HIDE);
  SetNormalRect(ToRECT(full));
}

void GameFrame::LeaveFullScreen() {
  titleBar_.ShowAll(true);
  sizes_.LeaveFullScreen();
  MoveTo(Window(), ToRect(FromWorkspace(beforeFullScreen_.rcNormalPosition)));
  ShowWindow(Window(), SW_HIDE);
  SetWindowPlacement(Window(), &beforeFullScreen_);
  if (sizes_.Maximised())
    Maximise();
  else
    Restore();
  // When the full screen and the state returned to have the same size (a
  // work area as large as the screen), no size change comes to lay the
  // children out: the title bar's buttons and the browser are placed here.
  LayoutChildren();
}

void GameFrame::FitToNewScale(const RECT& suggested) {
  if (sizes_.FullScreen()) return;  // laid out when it is left
  if (!sizes_.Maximised()) MoveTo(Window(), ToRect(suggested));
  LayoutChildren();
}

bool GameFrame::OnTitleBarDoubleClick(POINT screen) {
  if (sizes_.FullScreen() || !DoubleClickTogglesSize(ToRect(NormalRect()), screen.y, Metrics().H(2))) return false;
  if (sizes_.Maximised())
    Restore();
  else
    Maximise();
  return true;
}
