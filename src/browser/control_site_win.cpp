#include "browser/control_site_win.h"

bool ControlSite::Create(REFCLSID clsid) {
  Close();
  if (FAILED(CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IOleObject, object_.PutVoid())) || !object_)
    return false;
  // The site first: a control that reads its ambient state at
  // initialisation (the WebBrowser control does) finds it there.
  object_->SetClientSite(this);
  if (const auto init = object_.As<IPersistStreamInit>()) init->InitNew();
  RECT rect = ContainerRect();
  if (FAILED(object_->DoVerb(OLEIVERB_INPLACEACTIVATE, nullptr, this, 0, container_, &rect))) {
    Close();
    return false;
  }
  inPlace_ = object_.As<IOleInPlaceObject>();
  if (ControlWindow() == nullptr) {
    Close();
    return false;
  }
  return true;
}

void ControlSite::Close() {
  if (!object_) return;
  if (inPlace_) inPlace_->InPlaceDeactivate();
  active_.Reset();
  inPlace_.Reset();
  object_->Close(OLECLOSE_NOSAVE);
  object_->SetClientSite(nullptr);
  object_.Reset();
}

HWND ControlSite::ControlWindow() const {
  HWND window = nullptr;
  if (!inPlace_ || FAILED(inPlace_->GetWindow(&window))) return nullptr;
  return window;
}

void ControlSite::FitToContainer() {
  if (!inPlace_) return;
  const RECT rect = ContainerRect();
  inPlace_->SetObjectRects(&rect, &rect);
}

bool ControlSite::TranslateKey(MSG* message) { return active_ && active_->TranslateAccelerator(message) == S_OK; }

RECT ControlSite::ContainerRect() const {
  RECT rect{};
  GetClientRect(container_, &rect);
  return rect;
}

STDMETHODIMP ControlSite::SaveObject() { return E_NOTIMPL; }

STDMETHODIMP ControlSite::GetMoniker(DWORD, DWORD, IMoniker** moniker) {
  if (moniker != nullptr) *moniker = nullptr;
  return E_NOTIMPL;
}

STDMETHODIMP ControlSite::GetContainer(IOleContainer** container) {
  if (container != nullptr) *container = nullptr;
  return E_NOINTERFACE;
}

STDMETHODIMP ControlSite::ShowObject() { return S_OK; }

STDMETHODIMP ControlSite::OnShowWindow(BOOL) { return S_OK; }

STDMETHODIMP ControlSite::RequestNewObjectLayout() { return E_NOTIMPL; }

STDMETHODIMP ControlSite::GetWindow(HWND* window) {
  if (window == nullptr) return E_POINTER;
  *window = container_;
  return S_OK;
}

STDMETHODIMP ControlSite::ContextSensitiveHelp(BOOL) { return E_NOTIMPL; }

STDMETHODIMP ControlSite::CanInPlaceActivate() { return S_OK; }

STDMETHODIMP ControlSite::OnInPlaceActivate() { return S_OK; }

STDMETHODIMP ControlSite::OnUIActivate() { return S_OK; }

STDMETHODIMP ControlSite::GetWindowContext(IOleInPlaceFrame** frame, IOleInPlaceUIWindow** document, LPRECT position,
                                           LPRECT clip, LPOLEINPLACEFRAMEINFO frameInfo) {
  if (frame == nullptr || document == nullptr || position == nullptr || clip == nullptr || frameInfo == nullptr)
    return E_POINTER;
  *frame = &frame_;
  frame_.AddRef();
  *document = nullptr;
  *position = ContainerRect();
  *clip = *position;
  frameInfo->fMDIApp = FALSE;
  frameInfo->hwndFrame = GetAncestor(container_, GA_ROOT);
  frameInfo->haccel = nullptr;
  frameInfo->cAccelEntries = 0;
  return S_OK;
}

STDMETHODIMP ControlSite::Scroll(SIZE) { return E_NOTIMPL; }

STDMETHODIMP ControlSite::OnUIDeactivate(BOOL) { return S_OK; }

STDMETHODIMP ControlSite::OnInPlaceDeactivate() { return S_OK; }

STDMETHODIMP ControlSite::DiscardUndoState() { return E_NOTIMPL; }

STDMETHODIMP ControlSite::DeactivateAndUndo() { return E_NOTIMPL; }

STDMETHODIMP ControlSite::OnPosRectChange(LPCRECT position) {
  if (inPlace_ && position != nullptr) inPlace_->SetObjectRects(position, position);
  return S_OK;
}

STDMETHODIMP ControlSite::Frame::GetWindow(HWND* window) {
  if (window == nullptr) return E_POINTER;
  *window = GetAncestor(site_.container_, GA_ROOT);
  return S_OK;
}

STDMETHODIMP ControlSite::Frame::ContextSensitiveHelp(BOOL) { return E_NOTIMPL; }

STDMETHODIMP ControlSite::Frame::GetBorder(LPRECT) { return INPLACE_E_NOTOOLSPACE; }

STDMETHODIMP ControlSite::Frame::RequestBorderSpace(LPCBORDERWIDTHS) { return INPLACE_E_NOTOOLSPACE; }

STDMETHODIMP ControlSite::Frame::SetBorderSpace(LPCBORDERWIDTHS) { return E_NOTIMPL; }

STDMETHODIMP ControlSite::Frame::SetActiveObject(IOleInPlaceActiveObject* active, LPCOLESTR) {
  site_.active_ = win::ComPtr<IOleInPlaceActiveObject>::Share(active);
  return S_OK;
}

STDMETHODIMP ControlSite::Frame::InsertMenus(HMENU, LPOLEMENUGROUPWIDTHS) { return E_NOTIMPL; }

STDMETHODIMP ControlSite::Frame::SetMenu(HMENU, HOLEMENU, HWND) { return S_OK; }

STDMETHODIMP ControlSite::Frame::RemoveMenus(HMENU) { return E_NOTIMPL; }

STDMETHODIMP ControlSite::Frame::SetStatusText(LPCOLESTR) { return S_OK; }

STDMETHODIMP ControlSite::Frame::EnableModeless(BOOL) { return S_OK; }

STDMETHODIMP ControlSite::Frame::TranslateAccelerator(LPMSG, WORD) { return S_FALSE; }
