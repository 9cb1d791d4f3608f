#include "browser/web_ui_controller_win.h"

#include <exdisp.h>

bool CWebUIController::ConnectBrowser(IWebBrowser2* browser) {
  connection_.Disconnect();
  browser_ = win::ComPtr<IWebBrowser2>::Share(browser);
  if (!browser_) return true;
  return connection_.Connect(browser_.Get(), DIID_DWebBrowserEvents2, static_cast<IDispatch*>(this));
}

void CWebUIController::InstallIntoDocument(IDispatch* window) {
  const auto browser = win::QueryInterfaceOf<IWebBrowser2>(window);
  if (!browser) return;
  win::ComPtr<IDispatch> document;
  if (FAILED(browser->get_Document(document.Put())) || !document) return;
  if (const auto custom = document.As<ICustomDoc>()) custom->SetUIHandler(static_cast<IDocHostUIHandler*>(this));
}

STDMETHODIMP CWebUIController::Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS* params, VARIANT*, EXCEPINFO*, UINT*) {
  if (params == nullptr) return E_INVALIDARG;
  if (id != kNavigateComplete2) return S_OK;
  // The block lists the arguments last to first: entry 1 is the event's
  // first argument, the window object of the page or frame that arrived.
  if (params->cArgs < 2 || params->rgvarg == nullptr || params->rgvarg[1].vt != VT_DISPATCH) return E_INVALIDARG;
  InstallIntoDocument(params->rgvarg[1].pdispVal);
  return S_OK;
}

STDMETHODIMP CWebUIController::ShowContextMenu(DWORD, POINT*, IUnknown*, IDispatch*) {
  return S_OK;  // shown: by nobody
}

STDMETHODIMP CWebUIController::GetHostInfo(DOCHOSTUIINFO* info) {
  if (info == nullptr) return S_OK;
  if (!show3dBorder_) info->dwFlags |= DOCHOSTUIFLAG_NO3DBORDER;
  if (!showScrollbars_) info->dwFlags |= DOCHOSTUIFLAG_SCROLL_NO;
  if (dpiAware_) info->dwFlags |= DOCHOSTUIFLAG_DPI_AWARE;
  return S_OK;
}

STDMETHODIMP CWebUIController::ShowUI(DWORD, IOleInPlaceActiveObject*, IOleCommandTarget*, IOleInPlaceFrame*,
                                      IOleInPlaceUIWindow*) {
  return E_NOTIMPL;
}

STDMETHODIMP CWebUIController::HideUI() { return E_NOTIMPL; }

STDMETHODIMP CWebUIController::UpdateUI() { return E_NOTIMPL; }

STDMETHODIMP CWebUIController::EnableModeless(BOOL) { return E_NOTIMPL; }

STDMETHODIMP CWebUIController::OnDocWindowActivate(BOOL) { return E_NOTIMPL; }

STDMETHODIMP CWebUIController::OnFrameWindowActivate(BOOL) { return E_NOTIMPL; }

STDMETHODIMP CWebUIController::ResizeBorder(LPCRECT, IOleInPlaceUIWindow*, BOOL) { return E_NOTIMPL; }

STDMETHODIMP CWebUIController::TranslateAccelerator(LPMSG, const GUID*, DWORD) {
  return E_NOTIMPL;  // every key the page gets is the control's to handle
}

STDMETHODIMP CWebUIController::GetOptionKeyPath(LPOLESTR* key, DWORD) {
  if (key != nullptr) *key = nullptr;
  return E_NOTIMPL;
}

STDMETHODIMP CWebUIController::GetDropTarget(IDropTarget*, IDropTarget** replacement) {
  if (replacement != nullptr) *replacement = nullptr;
  return E_NOTIMPL;
}

STDMETHODIMP CWebUIController::GetExternal(IDispatch** external) {
  if (external == nullptr) return E_POINTER;
  *external = external_;
  if (external_ == nullptr) return E_NOTIMPL;
  // The caller releases what it is handed, as with any out parameter.
  external_->AddRef();
  return S_OK;
}

STDMETHODIMP CWebUIController::TranslateUrl(DWORD, LPWSTR, LPWSTR* translated) {
  if (translated != nullptr) *translated = nullptr;
  return E_NOTIMPL;
}

STDMETHODIMP CWebUIController::FilterDataObject(IDataObject*, IDataObject** replacement) {
  if (replacement != nullptr) *replacement = nullptr;
  return E_NOTIMPL;
}
