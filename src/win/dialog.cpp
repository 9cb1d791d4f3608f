#include "win/dialog.h"

#include "win/dpi.h"

namespace win {

Dialog::Dialog(UINT templateId, HWND parent) : templateId_(templateId), parent_(parent) {}

bool Dialog::Create() {
  CreationScope scope(this);
  return CreateDialogParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(templateId_), parent_, &Dialog::DialogProc,
                            reinterpret_cast<LPARAM>(this)) != nullptr;
}

INT_PTR Dialog::DoModal() {
  const bool ownerWasEnabled = parent_ != nullptr && IsWindowEnabled(parent_);
  if (ownerWasEnabled) EnableWindow(parent_, FALSE);
  running_ = true;
  result_ = IDCANCEL;
  if (!Create()) {
    running_ = false;
    if (ownerWasEnabled) EnableWindow(parent_, TRUE);
    return -1;
  }
  if (running_ && !IsWindowVisible(Handle())) ShowWindow(Handle(), SW_SHOWNORMAL);

  MSG message;
  while (running_) {
    const BOOL got = GetMessageW(&message, nullptr, 0, 0);
    if (got == -1) break;
    if (got == 0) {  // WM_QUIT belongs to an outer loop: hand it on
      PostQuitMessage(static_cast<int>(message.wParam));
      break;
    }
    if (PreTranslateChain(&message)) continue;
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  running_ = false;
  // The owner is enabled before this window goes, so that activation
  // passes back to it rather than to another program.
  if (ownerWasEnabled) EnableWindow(parent_, TRUE);
  if (Handle() != nullptr) DestroyWindow(Handle());
  return result_;
}

void Dialog::EndModal(INT_PTR result) {
  result_ = result;
  // A dialog without a loop of its own just leaves the screen.
  if (Handle() != nullptr) ShowWindow(Handle(), SW_HIDE);
  if (!running_) return;
  running_ = false;
  PostMessageA(Handle(), WM_NULL, 0, 0);  // wake the loop
}

bool Dialog::PreTranslateMessage(MSG* message) {
  const bool input = (message->message >= WM_KEYFIRST && message->message <= WM_KEYLAST) ||
                     (message->message >= WM_MOUSEFIRST && message->message <= WM_MOUSELAST);
  if (!input || Handle() == nullptr) return false;
  if (message->hwnd != Handle() && !IsChild(Handle(), message->hwnd)) return false;
  return IsDialogMessageW(Handle(), message) != FALSE;
}

LRESULT Dialog::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_COMMAND) {
    const WORD id = LOWORD(wParam);
    if (id == IDOK) {
      OnOK();
      return 0;
    }
    if (id == IDCANCEL) {
      OnCancel();
      return 0;
    }
    if (OnCommand(id, HIWORD(wParam), reinterpret_cast<HWND>(lParam))) return 0;
  }
  if (message == WM_DPICHANGED) {
    // Not passed on: the dialog manager would resize the window and refit
    // its controls by rules of its own.
    if (const auto* suggested = reinterpret_cast<const RECT*>(lParam))
      OnDpiChanged(LOWORD(wParam), *suggested);
    return 0;
  }
  return Window::WindowProc(message, wParam, lParam);
}

INT_PTR CALLBACK Dialog::DialogProc(HWND hwnd, UINT message, WPARAM, LPARAM) {
  // Only initialisation needs the dialog procedure; every other message has
  // already passed through the object's WindowProc.
  if (message != WM_INITDIALOG) return FALSE;
  KeepDialogUnscaled(hwnd);
  auto* dialog = static_cast<Dialog*>(Window::FromHandle(hwnd));
  return dialog != nullptr ? dialog->OnInitDialog() : TRUE;
}

}  // namespace win
