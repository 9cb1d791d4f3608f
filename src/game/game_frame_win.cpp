// The game window's frame: hit-testing, moving by the title bar, painting,
// the placement of the children, and the size states.
#include <windowsx.h>

#include "game/game_dialog_win.h"

namespace {

Rect ToRect(const RECT& r) { return {r.left, r.top, r.right, r.bottom}; }
RECT ToRECT(const Rect& r) { return {r.left, r.top, r.right, r.bottom}; }

// A placement's rectangles are in workspace coordinates, which start at the
// work area's corner; the size states work on the screen.
RECT FromWorkspace(RECT r) {
  const Rect work = CGameDialog::WorkArea();
  OffsetRect(&r, work.left, work.top);
  return r;
}

RECT ToWorkspace(RECT r) {
  const Rect work = CGameDialog::WorkArea();
  OffsetRect(&r, -work.left, -work.top);
  return r;
}

void MoveTo(HWND window, const Rect& r) { MoveWindow(window, r.left, r.top, r.Width(), r.Height(), TRUE); }

}  // namespace

Rect CGameDialog::WorkArea() {
  RECT work{};
  SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
  return ToRect(work);
}

LRESULT CGameDialog::OnHitTest(LPARAM lParam) const {
  RECT window{};
  GetWindowRect(Handle(), &window);
  return FrameHitTest(ToRect(window), {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)}, frame_.Metrics(), sizes_.State());
}

void CGameDialog::OnSize(WPARAM kind) {
  // A minimised window shows nothing: the page is not squeezed to nothing.
  if (initialised_ && !sizes_.FullScreen() && kind != SIZE_MINIMIZED) LayoutChildren();
  if (browser_.Handle() != nullptr)
    RedrawWindow(browser_.Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
}

bool CGameDialog::OnMouseMove(WPARAM keys, LPARAM lParam) {
  const auto offset = drag_.OnMouseMove(keys == MK_LBUTTON, {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)},
                                        sizes_.State(), frame_.Metrics().H(2));
  if (!offset) return false;
  RECT window{};
  GetWindowRect(Handle(), &window);
  MoveTo(Handle(), ToRect(window).Offset(offset->x, offset->y));
  return true;
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
    frame_.Paint(dc, FramePaintPlan(client.right, client.bottom, frame_.Metrics(), sizes_.State()));
    if (!sizes_.FullScreen()) {
      titleBar_.RepaintButtons();
      titleBar_.PaintTitle(dc);
    }
  }
  EndPaint(Handle(), &paint);
}

void CGameDialog::LayoutChildren() {
  RECT window{};
  GetWindowRect(Handle(), &window);
  const int width = window.right - window.left, height = window.bottom - window.top;
  titleBar_.Layout(width, frame_.Metrics(), sizes_.Maximised());
  if (browser_.Handle() != nullptr)
    MoveTo(browser_.Handle(), BrowserRect(width, height, frame_.Metrics(), sizes_.Maximised()));
  InvalidateRect(Handle(), nullptr, TRUE);
}

RECT CGameDialog::NormalRect() const {
  WINDOWPLACEMENT placement{};
  placement.length = sizeof placement;
  GetWindowPlacement(Handle(), &placement);
  return FromWorkspace(placement.rcNormalPosition);
}

void CGameDialog::SetNormalRect(const RECT& rect) {
  WINDOWPLACEMENT placement{};
  placement.length = sizeof placement;
  GetWindowPlacement(Handle(), &placement);
  placement.showCmd = SW_SHOWNORMAL;
  placement.rcNormalPosition = ToWorkspace(rect);
  SetWindowPlacement(Handle(), &placement);
}

void CGameDialog::MaximizeWindow() {
  const Rect normal = sizes_.Maximise(ToRect(NormalRect()), WorkArea());
  titleBar_.ShowSizeButtons(true);
  SetNormalRect(ToRECT(normal));
}

void CGameDialog::RestoreWindow() {
  const LauncherConfig& config = App().Config();
  const Rect rect = sizes_.Restore(WorkArea(), config.minGameWidth, config.minGameHeight);
  titleBar_.ShowSizeButtons(false);
  MoveTo(Handle(), rect);
}

void CGameDialog::Minimise() { ShowWindow(Handle(), SW_MINIMIZE); }

void CGameDialog::ToggleFullScreen() {
  if (sizes_.FullScreen())
    LeaveFullScreen();
  else
    EnterFullScreen();
}

void CGameDialog::EnterFullScreen() {
  beforeFullScreen_ = {};
  beforeFullScreen_.length = sizeof beforeFullScreen_;
  GetWindowPlacement(Handle(), &beforeFullScreen_);
  sizes_.EnterFullScreen(ToRect(FromWorkspace(beforeFullScreen_.rcNormalPosition)));
  RECT window{}, client{};
  GetWindowRect(Handle(), &window);
  GetClientRect(Handle(), &client);
  MapWindowPoints(Handle(), nullptr, reinterpret_cast<POINT*>(&client), 2);
  const Rect full =
      FullScreenRect(ToRect(window), ToRect(client), GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
  titleBar_.ShowAll(false);
  if (browser_.Handle() != nullptr) MoveWindow(browser_.Handle(), 0, 0, full.Width(), full.Height(), TRUE);
  ShowWindow(Handle(), SW_HIDE);
  SetNormalRect(ToRECT(full));
}

void CGameDialog::LeaveFullScreen() {
  titleBar_.ShowAll(true);
  sizes_.LeaveFullScreen();
  MoveTo(Handle(), ToRect(FromWorkspace(beforeFullScreen_.rcNormalPosition)));
  ShowWindow(Handle(), SW_HIDE);
  SetWindowPlacement(Handle(), &beforeFullScreen_);
  if (sizes_.Maximised())
    MaximizeWindow();
  else
    RestoreWindow();
  // When the full screen and the state returned to have the same size (a
  // work area as large as the screen), no size change comes to lay the
  // children out: the title bar's buttons and the browser are placed here.
  LayoutChildren();
}

bool CGameDialog::OnTitleBarDoubleClick(POINT screen) {
  if (sizes_.FullScreen() || !DoubleClickTogglesSize(ToRect(NormalRect()), screen.y, frame_.Metrics().H(2)))
    return false;
  if (sizes_.Maximised())
    RestoreWindow();
  else
    MaximizeWindow();
  return true;
}
