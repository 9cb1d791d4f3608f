#include "skin/translucent_dialog_win.h"

#include "package/picture_scale.h"
#include "package/scaled_images_win.h"
#include "skin/layered_window_win.h"
#include "win/dpi.h"

namespace {

constexpr WPARAM kMoveByCaption = 0xF012;  // SC_MOVE | HTCAPTION: the system's move loop

}  // namespace

CStandardDialog::CStandardDialog(UINT templateId, COLORREF keyColour, HWND parent)
    : Dialog(templateId, parent), keyColour_(keyColour) {}

BOOL CStandardDialog::OnInitDialog() {
  Dialog::OnInitDialog();
  keyBrush_.Reset(CreateSolidBrush(keyColour_));
  SetWindowLongPtrA(Handle(), GWL_EXSTYLE, GetWindowLongPtrA(Handle(), GWL_EXSTYLE) | WS_EX_LAYERED);
  if (auto set = LayeredWindows().setLayeredWindowAttributes) set(Handle(), keyColour_, 0, LWA_COLORKEY);
  return TRUE;
}

void CStandardDialog::CloseOwner() {
  if (HWND owner = GetWindow(Handle(), GW_OWNER)) SendMessageA(owner, WM_CLOSE, 0, 0);
}

void CStandardDialog::OnOK() {
  CloseOwner();
  Dialog::OnOK();
}

void CStandardDialog::OnCancel() {
  CloseOwner();
  Dialog::OnCancel();
}

LRESULT CStandardDialog::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  // The dialog's own background in the key colour: invisible, click-through.
  if (message == WM_CTLCOLORDLG && keyBrush_) return reinterpret_cast<LRESULT>(keyBrush_.Get());
  return Dialog::WindowProc(message, wParam, lParam);
}

CTranslucentDialog::CTranslucentDialog(UINT templateId, std::unique_ptr<PackagePicture> picture, HWND parent)
    : Dialog(templateId, parent), picture_(std::move(picture)) {}

CTranslucentDialog::~CTranslucentDialog() = default;

namespace {

PictureSize SizeOf(const PackagePicture* picture) {
  return picture != nullptr ? PictureSize{picture->Width(), picture->Height()} : PictureSize{};
}

}  // namespace

void CTranslucentDialog::TakeScale(int dpi) {
  scale_ = DisplayScale(dpi);
  if (WantsDoubleSize(scale_.Dpi()) && !doubleSizeAskedFor_) {
    doubleSizeAskedFor_ = true;
    doubleSize_ = LoadDoubleSizePicture();
  }
  const PictureChoice choice = ChoosePicture(
      scale_, SizeOf(picture_.get()), doubleSize_ ? std::optional(SizeOf(doubleSize_.get())) : std::nullopt);
  shown_ = choice.doubleSize ? doubleSize_.get() : picture_.get();
  width_ = choice.width;
  height_ = choice.height;
}

BOOL CTranslucentDialog::OnInitDialog() {
  Dialog::OnInitDialog();
  blend_ = {AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
  OnInitChildren();
  Render();
  return TRUE;
}

LRESULT CTranslucentDialog::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CREATE: return OnCreate(reinterpret_cast<CREATESTRUCTA*>(lParam));
    case WM_MOVE: {
      const LRESULT result = Dialog::WindowProc(message, wParam, lParam);
      if (companion_ && companion_->Handle() != nullptr)
        SetWindowPos(companion_->Handle(), nullptr, static_cast<short>(LOWORD(lParam)),
                     static_cast<short>(HIWORD(lParam)), 0, 0, SWP_NOZORDER | SWP_NOSIZE);
      return result;
    }
    case WM_SIZE: {
      const LRESULT result = Dialog::WindowProc(message, wParam, lParam);
      if (companion_ && companion_->Handle() != nullptr)
        SetWindowPos(companion_->Handle(), nullptr, 0, 0, LOWORD(lParam), HIWORD(lParam), SWP_NOZORDER | SWP_NOMOVE);
      return result;
    }
    case WM_LBUTTONDOWN:
      if (draggable_) SendMessageA(Handle(), WM_SYSCOMMAND, kMoveByCaption, 0);
      return Dialog::WindowProc(message, wParam, lParam);
    case WM_ERASEBKGND: return TRUE;
    default: return Dialog::WindowProc(message, wParam, lParam);
  }
}

LRESULT CTranslucentDialog::OnCreate(CREATESTRUCTA* create) {
  // The companion is built for the scale, so it is known first.
  TakeScale(ScalesWithDisplay() ? win::WindowDpi(Handle()) : kStandardDpi);
  int left = create->x;
  int top = create->y;
  const int width = width_;
  const int height = height_;
  if (centred_) {
    // Measured with the template's caption and frame, which go below: the
    // window ends up left of and above the exact centre by half of them.
    RECT outer{0, 0, width, height};
    const auto style = static_cast<DWORD>(GetWindowLongPtrA(Handle(), GWL_STYLE));
    if (scale_.Scales())
      outer = win::WindowRectAround(outer, style, scale_.Dpi());
    else
      AdjustWindowRect(&outer, style, FALSE);
    RECT work{};
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    left = work.left + ((work.right - work.left) - (outer.right - outer.left)) / 2;
    top = work.top + ((work.bottom - work.top) - (outer.bottom - outer.top)) / 2;
  }
  if (Dialog::WindowProc(WM_CREATE, 0, reinterpret_cast<LPARAM>(create)) == -1) return -1;

  companion_ = CreateStandardDialog();
  if (companion_ && companion_->Create()) ShowWindow(companion_->Handle(), SW_SHOW);

  const LONG_PTR style = GetWindowLongPtrA(Handle(), GWL_STYLE);
  SetWindowLongPtrA(Handle(), GWL_STYLE, (style & ~static_cast<LONG_PTR>(WS_CAPTION)) | WS_POPUP);
  MoveWindow(Handle(), left, top, width, height, TRUE);
  return 0;
}

void CTranslucentDialog::OnDpiChanged(int dpi, const RECT& suggested) {
  if (!ScalesWithDisplay()) return;  // physical pixels on every monitor
  TakeScale(dpi);
  // The suggested place, at the size the picture has at the new scale; the
  // companion follows the move and the size.
  MoveWindow(Handle(), suggested.left, suggested.top, width_, height_, TRUE);
  Render();
  if (companion_ && companion_->Handle() != nullptr) companion_->OnScaleChanged();
}

void CTranslucentDialog::Render() {
  const int width = width_;
  const int height = height_;
  const LONG_PTR exStyle = GetWindowLongPtrA(Handle(), GWL_EXSTYLE);
  if (!(exStyle & WS_EX_LAYERED)) SetWindowLongPtrA(Handle(), GWL_EXSTYLE, exStyle | WS_EX_LAYERED);

  win::WindowDc windowDc(Handle());
  win::UniqueDc memory(CreateCompatibleDC(windowDc.Get()));
  RECT window{};
  GetWindowRect(Handle(), &window);
  POINT destination{window.left, window.top};

  BITMAPINFO info{};
  info.bmiHeader = {sizeof(BITMAPINFOHEADER), width, height, 1, 32, BI_RGB, static_cast<DWORD>(width * 4 * height), 0, 0, 0, 0};
  void* bits = nullptr;
  win::UniqueBitmap section(CreateDIBSection(memory.Get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
  if (!section || shown_ == nullptr) return;
  ZeroMemory(bits, static_cast<std::size_t>(width) * 4 * height);  // transparent black

  win::SelectedObject selected(memory.Get(), section.Get());
  DrawPicture(memory.Get(), bits);
  SIZE size{width, height};
  POINT source{0, 0};
  if (auto update = LayeredWindows().updateLayeredWindow)
    update(Handle(), windowDc.Get(), &destination, &size, memory.Get(), &source, 0, &blend_, ULW_ALPHA);
}

void CTranslucentDialog::DrawPicture(HDC memory, void* bits) const {
  if (!scale_.Scales()) {
    Gdiplus::Graphics graphics(memory);
    graphics.SetSmoothingMode(Gdiplus::SmoothingModeNone);
    graphics.DrawImage(shown_->Image(), 0, 0, width_, height_);
    return;
  }
  // Scaled, the picture is resampled straight into the section's pixels in
  // the premultiplied form the blend takes, so every pixel keeps its own
  // alpha.
  const int stride = width_ * 4;
  Gdiplus::Bitmap target(width_, height_, -stride, PixelFormat32bppPARGB,
                         static_cast<BYTE*>(bits) + static_cast<std::size_t>(height_ - 1) * stride);
  DrawResampled(shown_->Image(), Rect{0, 0, static_cast<int>(shown_->Width()), static_cast<int>(shown_->Height())},
                &target, width_, height_);
}
