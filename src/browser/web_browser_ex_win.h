// A browser host that also controls the user interface of its pages
// through its own CWebUIController, which lives exactly as long as the
// host.
#pragma once

#include "browser/web_browser_win.h"
#include "browser/web_ui_controller_win.h"

class CWebBrowserEx : public CWebBrowser {
 public:
  CWebBrowserEx() = default;
  // The control goes first: it must not outlive the controller it calls.
  ~CWebBrowserEx() override;

  // Connects the controller to this host's control (after disconnecting it
  // from any control connected before). Every document arriving from then
  // on gets no 3-D border, and no scrollbars unless `showScrollbars`. False
  // when the control is not there.
  bool AttachUiController(bool showScrollbars);
  // What the pages get as window.external; not counted, so the caller
  // keeps it alive while the host exists.
  void SetExternalObject(IDispatch* external) { controller_.SetExternalObject(external); }

  CWebUIController& UiController() { return controller_; }

 protected:
  void OnControlClosing() override;

 private:
  CWebUIController controller_;
};
