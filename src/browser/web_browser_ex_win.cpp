#include "browser/web_browser_ex_win.h"

CWebBrowserEx::~CWebBrowserEx() { DestroyHost(); }

bool CWebBrowserEx::AttachUiController(bool showScrollbars) {
  const auto browser = win::QueryInterfaceOf<IWebBrowser2>(GetControlUnknown());
  if (!browser) return false;
  controller_.SetShow3dBorder(false);
  if (!showScrollbars) controller_.SetShowScrollbars(false);
  controller_.ConnectBrowser(browser.Get());
  return true;
}

void CWebBrowserEx::OnControlClosing() { controller_.ConnectBrowser(nullptr); }
