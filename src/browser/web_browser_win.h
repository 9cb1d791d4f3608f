// A child window that shows web pages: it hosts the platform's WebBrowser
// control in place over its client area and drives it through the
// control's automation interface. The window is the host's own; the
// control's windows live inside it and follow its size and visibility.
#pragma once

#include <oaidl.h>

#include <memory>
#include <string_view>

#include "win/com_ptr.h"
#include "win/window.h"

class ControlSite;

class CWebBrowser : public win::Window {
 public:
  CWebBrowser();
  // Destroys the window, and with it the control, if it is still there.
  ~CWebBrowser() override;

  // Creates the host window with the owner's style, rectangle (in the
  // parent's client coordinates), parent and control identifier, and the
  // control in it. True when the control's window exists; on failure no
  // window is left behind.
  bool Create(const char* windowName, DWORD style, const RECT& rect, HWND parent, UINT id);

  // The control's automation calls. The address is GBK text, or the
  // characters themselves.
  bool Navigate(const char* address);
  bool Navigate(std::wstring_view address);
  // The current document, or none.
  win::ComPtr<IDispatch> GetDocument();
  // True: the control shows no script errors or other boxes of its own.
  bool SetSilent(bool silent);

  // The control itself, or null before creation and after destruction.
  IUnknown* GetControlUnknown() const;
  // Offers a key message addressed to a window inside the host to the
  // control's own keyboard handling (Tab between fields, copy and paste).
  // The owning window calls it from its message filter after its own keys
  // and before the dialog's keyboard handling; true when the control used
  // the key.
  bool TranslateControlKey(MSG* message);

 protected:
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
  // Runs while the host window is being destroyed, just before the control
  // is closed.
  virtual void OnControlClosing() {}
  // Destroys the host window (and so closes the control) now.
  void DestroyHost();

 private:
  bool InvokeControl(DISPID id, WORD flags, DISPPARAMS* params, VARIANT* result);

  std::unique_ptr<ControlSite> site_;
};
