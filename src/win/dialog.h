// A dialog made from a resource template, modal with its own message loop as
// the missing framework had: the owner is disabled, each message is offered
// to the pre-filters of its window and of that window's parents and owners
// (a dialog's own filter does the dialog keyboard handling), then translated
// and dispatched, until EndModal.
#pragma once

#include <windows.h>

#include "win/window.h"

namespace win {

class Dialog : public Window {
 public:
  Dialog(UINT templateId, HWND parent);

  // Creates the window and runs it until EndModal; the window is destroyed
  // before this returns. -1 when the window cannot be created.
  INT_PTR DoModal();
  // Creates the window without a loop of its own (a companion window).
  bool Create();
  void EndModal(INT_PTR result);
  bool IsRunningModal() const { return running_; }

  bool PreTranslateMessage(MSG* message) override;

 protected:
  virtual BOOL OnInitDialog() { return TRUE; }
  virtual void OnOK() { EndModal(IDOK); }
  virtual void OnCancel() { EndModal(IDCANCEL); }
  // WM_COMMAND other than OK and Cancel; true when handled.
  virtual bool OnCommand(WORD /*id*/, WORD /*code*/, HWND /*control*/) { return false; }
  // The window is now on a monitor of `dpi`; the system suggests `suggested`
  // (screen coordinates) for it. A dialog keeps its physical pixels unless
  // it lays itself out for the new DPI here: neither the system nor the
  // dialog manager rescales it.
  virtual void OnDpiChanged(int /*dpi*/, const RECT& /*suggested*/) {}

  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
  HWND Parent() const { return parent_; }

 private:
  static INT_PTR CALLBACK DialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

  UINT templateId_;
  HWND parent_;
  bool running_ = false;
  INT_PTR result_ = IDCANCEL;
};

}  // namespace win
