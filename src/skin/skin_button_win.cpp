#include "skin/skin_button_win.h"

#include <commctrl.h>
#include <shellapi.h>

#include <algorithm>
#include <cstddef>

#include "common/display_scale.h"
#include "common/web_address.h"
#include "skin/button_face.h"
#include "win/dpi.h"
#include "win/text.h"
#include "win/window.h"

namespace {

constexpr UINT_PTR kSubclassId = 1;

// The pre-Vista size of NONCLIENTMETRICSA, which every system accepts.
constexpr UINT kNonClientMetricsSize = offsetof(NONCLIENTMETRICSA, lfMessageFont) + sizeof(LOGFONTA);

POINT PointOf(LPARAM lParam) {
  return {static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
}

void DrawBitmap(HDC dc, HBITMAP bitmap, const RECT& rect) {
  win::UniqueDc memory(CreateCompatibleDC(dc));
  if (!memory) return;
  win::SelectedObject selected(memory.Get(), bitmap);
  BitBlt(dc, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top, memory.Get(), 0, 0, SRCCOPY);
}

void FillFace(HDC dc, const RECT& rect) {
  win::UniqueBrush brush(CreateSolidBrush(GetSysColor(COLOR_BTNFACE)));
  FillRect(dc, &rect, brush.Get());
}

void DrawCaption(HDC dc, const std::wstring& text, RECT rect, COLORREF colour, int dx = 0, int dy = 0) {
  OffsetRect(&rect, dx, dy);
  SetTextColor(dc, colour);
  DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &rect, DT_SINGLELINE | DT_CENTER | DT_VCENTER);
}

}  // namespace

CSkinButton::~CSkinButton() {
  if (hwnd_ != nullptr) RemoveWindowSubclass(hwnd_, SubclassProc, kSubclassId);
  if (tip_ != nullptr) DestroyWindow(tip_);
}

bool CSkinButton::Create(const char* caption, DWORD style, const RECT& rect, HWND parent, UINT id) {
  return Create(win::WideFromGbk(caption != nullptr ? caption : ""), style, rect, parent, id);
}

bool CSkinButton::Create(std::wstring_view caption, DWORD style, const RECT& rect, HWND parent, UINT id) {
  const std::wstring text(caption);
  HWND hwnd = CreateWindowExW(0, L"BUTTON", text.c_str(), style, rect.left, rect.top, rect.right - rect.left,
                              rect.bottom - rect.top, parent, reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id)),
                              GetModuleHandleA(nullptr), nullptr);
  if (hwnd == nullptr) return false;
  hwnd_ = hwnd;
  SetWindowSubclass(hwnd, SubclassProc, kSubclassId, reinterpret_cast<DWORD_PTR>(this));
  // The whole face is ours to draw.
  SetWindowLongPtrA(hwnd, GWL_STYLE, GetWindowLongPtrA(hwnd, GWL_STYLE) | BS_OWNERDRAW);
  return true;
}

void CSkinButton::SetImages(HBITMAP normal, HBITMAP pressed, HBITMAP hover) {
  normal_.Reset(normal);
  pressed_.Reset(pressed);
  hover_.Reset(hover);
}

void CSkinButton::SetLink(const char* link) { SetLink(win::WideFromGbk(link != nullptr ? link : "")); }

void CSkinButton::SetLink(std::wstring_view link) {
  link_ = link;
  std::replace(link_.begin(), link_.end(), L';', L'&');
}

std::string CSkinButton::Link() const { return win::GbkFromWide(link_); }

void CSkinButton::SetTip(const char* tip) { SetTip(win::WideFromGbk(tip != nullptr ? tip : "")); }

void CSkinButton::SetTip(std::wstring_view tip) {
  std::wstring text(tip);
  TOOLINFOW tool{};
  tool.cbSize = sizeof tool;
  tool.hwnd = hwnd_;
  tool.uId = 0;
  tool.lpszText = text.data();
  if (tip_ != nullptr) {
    SendMessageW(tip_, TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&tool));
    return;
  }
  tip_ = CreateWindowExW(0, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP, CW_USEDEFAULT, CW_USEDEFAULT,
                         CW_USEDEFAULT, CW_USEDEFAULT, hwnd_, nullptr, GetModuleHandleA(nullptr), nullptr);
  if (tip_ == nullptr) return;  // a later call tries again
  GetClientRect(hwnd_, &tool.rect);
  if (SendMessageW(tip_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool))) SendMessageA(tip_, TTM_ACTIVATE, TRUE, 0);
}

COLORREF CSkinButton::SetCaptionColor(COLORREF colour) { return std::exchange(captionColor_, colour); }

LRESULT CALLBACK CSkinButton::SubclassProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                           DWORD_PTR self) {
  auto* button = reinterpret_cast<CSkinButton*>(self);
  if (message != WM_NCDESTROY) return button->HandleMessage(message, wParam, lParam);
  RemoveWindowSubclass(hwnd, SubclassProc, kSubclassId);
  button->hwnd_ = nullptr;
  if (button->tip_ != nullptr) DestroyWindow(std::exchange(button->tip_, nullptr));
  return DefSubclassProc(hwnd, message, wParam, lParam);
}

LRESULT CSkinButton::Default(UINT message, WPARAM wParam, LPARAM lParam) {
  return DefSubclassProc(hwnd_, message, wParam, lParam);
}

LRESULT CSkinButton::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_ERASEBKGND: return TRUE;
    case WM_LBUTTONDOWN: OnLeftButtonDown(wParam, lParam); return 0;
    case WM_LBUTTONDBLCLK:
      // A double-click is a second press: the link opens again and a
      // second click follows the release.
      SendMessageA(hwnd_, WM_LBUTTONDOWN, wParam, lParam);
      return 0;
    case WM_MOUSEMOVE:
      RelayToTip(message, wParam, lParam);
      OnMouseMove(lParam);
      return Default(message, wParam, lParam);
    case WM_MOUSELEAVE:
      hovering_ = false;
      Repaint();
      return 0;
    case WM_LBUTTONUP:
      RelayToTip(message, wParam, lParam);
      pressedByMouse_ = false;
      return Default(message, wParam, lParam);
    case WM_KILLFOCUS:
      if (GetCapture() == hwnd_) {
        ReleaseCapture();
        pressedByMouse_ = false;
      }
      return Default(message, wParam, lParam);
    case BM_SETCHECK: Repaint(); return 0;  // never a check mark
    case BM_GETCHECK: return 0;
    case win::kReflectedDrawItem: DrawFace(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam)); return TRUE;
    default: return Default(message, wParam, lParam);
  }
}

void CSkinButton::OnLeftButtonDown(WPARAM wParam, LPARAM lParam) {
  RelayToTip(WM_LBUTTONDOWN, wParam, lParam);
  if (hovering_ && TrackLeave(TME_CANCEL | TME_LEAVE)) hovering_ = false;
  Default(WM_LBUTTONDOWN, wParam, lParam);
  pressedByMouse_ = true;
  // The link opens on the press, not on the release, as it is kept.
  if (!link_.empty() && ShellMayOpen(link_))
    ShellExecuteW(nullptr, L"open", link_.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

void CSkinButton::OnMouseMove(LPARAM lParam) {
  if (pressedByMouse_ && GetCapture() == hwnd_) {
    POINT point = PointOf(lParam);
    ClientToScreen(hwnd_, &point);
    const bool over = WindowFromPoint(point) == hwnd_;
    if (over != IsPushed()) {
      SendMessageA(hwnd_, BM_SETSTATE, over, 0);
      Repaint();
    }
  } else if (!hovering_ && TrackLeave(TME_LEAVE)) {
    hovering_ = true;
    Repaint();
  }
}

bool CSkinButton::TrackLeave(DWORD flags) {
  TRACKMOUSEEVENT track{sizeof track, flags, hwnd_, 0};
  return _TrackMouseEvent(&track) != FALSE;
}

void CSkinButton::RelayToTip(UINT message, WPARAM wParam, LPARAM lParam) {
  if (tip_ == nullptr) return;
  MSG relayed{hwnd_, message, wParam, MAKELPARAM(LOWORD(lParam), HIWORD(lParam)), 0, PointOf(lParam)};
  SendMessageA(tip_, TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&relayed));
}

bool CSkinButton::IsPushed() const { return (SendMessageA(hwnd_, BM_GETSTATE, 0, 0) & BST_PUSHED) != 0; }

void CSkinButton::Repaint() const { InvalidateRect(hwnd_, nullptr, TRUE); }

// While the mouse holds the button, the pushed state follows the cursor;
// a change brings a new draw request, so this one stops.
bool CSkinButton::ResyncPressedState() {
  POINT cursor;
  if (!pressedByMouse_ || GetCapture() != hwnd_ || !GetCursorPos(&cursor)) return false;
  const bool over = WindowFromPoint(cursor) == hwnd_;
  if (over == IsPushed()) return false;
  SendMessageA(hwnd_, BM_SETSTATE, over, 0);
  return true;
}

void CSkinButton::DrawFace(const DRAWITEMSTRUCT& item) {
  HDC dc = item.hDC;
  NONCLIENTMETRICSA metrics{};
  metrics.cbSize = kNonClientMetricsSize;
  SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, kNonClientMetricsSize, &metrics, 0);
  // The system's metrics are made for its own DPI.
  if (fontDpi_ != 0) metrics.lfMenuFont.lfHeight = ScaleBetween(metrics.lfMenuFont.lfHeight, win::SystemDpi(), fontDpi_);
  win::UniqueFont font(CreateFontIndirectA(&metrics.lfMenuFont));
  win::SelectedObject selectedFont(dc, font.Get());
  if (ResyncPressedState()) return;

  const RECT& face = item.rcItem;
  RECT text = face;
  text.left += 2;
  text.right -= 2;
  wchar_t buffer[256] = {};
  const std::wstring caption(buffer, static_cast<std::size_t>(std::max(0, GetWindowTextW(hwnd_, buffer, 256))));
  SetBkMode(dc, TRANSPARENT);

  const ButtonImages images{normal_.Get() != nullptr, pressed_.Get() != nullptr, hover_.Get() != nullptr,
                            normal_.Get() != nullptr};
  const ButtonLook look =
      ChooseButtonLook((item.itemState & ODS_DISABLED) != 0, (item.itemState & ODS_SELECTED) != 0, hovering_, images);
  switch (look.face) {
    case ButtonFace::kDisabledImage:
    case ButtonFace::kNormalImage: DrawBitmap(dc, normal_.Get(), face); break;
    case ButtonFace::kPressedImage: DrawBitmap(dc, pressed_.Get(), face); break;
    case ButtonFace::kHoverImage: DrawBitmap(dc, hover_.Get(), face); break;
    case ButtonFace::kFaceColour: FillFace(dc, face); break;
  }
  switch (look.caption) {
    case CaptionStyle::kEmbossed:
      DrawCaption(dc, caption, text, GetSysColor(COLOR_BTNHIGHLIGHT));
      DrawCaption(dc, caption, text, GetSysColor(COLOR_GRAYTEXT), -1, -1);
      break;
    case CaptionStyle::kPushed: DrawCaption(dc, caption, text, captionColor_, 1, 1); break;
    case CaptionStyle::kPlain: DrawCaption(dc, caption, text, captionColor_); break;
  }
}
