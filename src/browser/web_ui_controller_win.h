// The browser host's controller of the page's user interface. It listens to
// the control's DWebBrowserEvents2 and, whenever a page or a frame finishes
// navigating, installs itself as the IDocHostUIHandler of that document:
// no context menu, no 3-D border, scrollbars as the host chose, and the
// host's external object as window.external.
#pragma once

#include <exdisp.h>
#include <mshtmhst.h>

#include "browser/event_connection_win.h"
#include "win/com_object.h"
#include "win/com_ptr.h"

// Both faces share one count, which is kept but never frees the object; its
// host does.
class CWebUIController final : public win::DispatchObject<IDocHostUIHandler> {
 public:
  // DWebBrowserEvents2::NavigateComplete2, the one event acted on.
  static constexpr DISPID kNavigateComplete2 = 252;

  CWebUIController() : DispatchObject(kAnswers) {}
  ~CWebUIController() { ConnectBrowser(nullptr); }

  // Receives `browser`'s events from now on, after taking down the
  // connection to the browser connected before. Null only disconnects.
  // False when the new connection could not be made.
  bool ConnectBrowser(IWebBrowser2* browser);
  IWebBrowser2* ConnectedBrowser() const { return browser_.Get(); }
  DWORD AdviseCookie() const { return connection_.Cookie(); }

  void SetShow3dBorder(bool show) { show3dBorder_ = show; }
  void SetShowScrollbars(bool show) { showScrollbars_ = show; }
  // True: documents are told the host is DPI-aware, so the engine lays
  // pages out at the display's resolution, zoomed to its scale.
  void SetDpiAware(bool aware) { dpiAware_ = aware; }
  // What documents get as window.external; the caller keeps it alive for as
  // long as the host exists. Null: documents get none.
  void SetExternalObject(IDispatch* external) { external_ = external; }

  // Installs this controller as the UI handler of the document shown by
  // `window`, the window object of a page or a frame. Silent on failure.
  void InstallIntoDocument(IDispatch* window);

  // The event face.
  STDMETHODIMP Invoke(DISPID id, REFIID iid, LCID locale, WORD flags, DISPPARAMS* params, VARIANT* result,
                      EXCEPINFO* exception, UINT* argumentError) override;

  // The UI handler face.
  STDMETHODIMP ShowContextMenu(DWORD id, POINT* point, IUnknown* target, IDispatch* object) override;
  STDMETHODIMP GetHostInfo(DOCHOSTUIINFO* info) override;
  STDMETHODIMP ShowUI(DWORD id, IOleInPlaceActiveObject* active, IOleCommandTarget* target, IOleInPlaceFrame* frame,
                      IOleInPlaceUIWindow* document) override;
  STDMETHODIMP HideUI() override;
  STDMETHODIMP UpdateUI() override;
  STDMETHODIMP EnableModeless(BOOL enable) override;
  STDMETHODIMP OnDocWindowActivate(BOOL activate) override;
  STDMETHODIMP OnFrameWindowActivate(BOOL activate) override;
  STDMETHODIMP ResizeBorder(LPCRECT border, IOleInPlaceUIWindow* window, BOOL frameWindow) override;
  STDMETHODIMP TranslateAccelerator(LPMSG message, const GUID* group, DWORD command) override;
  STDMETHODIMP GetOptionKeyPath(LPOLESTR* key, DWORD reserved) override;
  STDMETHODIMP GetDropTarget(IDropTarget* dropTarget, IDropTarget** replacement) override;
  STDMETHODIMP GetExternal(IDispatch** external) override;
  STDMETHODIMP TranslateUrl(DWORD translate, LPWSTR url, LPWSTR* translated) override;
  STDMETHODIMP FilterDataObject(IDataObject* object, IDataObject** replacement) override;

 private:
  // IUnknown is the UI handler's face, the events the dispatch face's.
  static constexpr win::ComAnswer kAnswers[] = {
      Answer<IDispatch>(DIID_DWebBrowserEvents2), Answer<IDispatch>(IID_IDispatch),
      Answer<IDocHostUIHandler>(__uuidof(IDocHostUIHandler)), Answer<IDocHostUIHandler>(IID_IUnknown)};

  win::ComPtr<IWebBrowser2> browser_;
  IDispatch* external_ = nullptr;  // not owned
  EventConnection connection_;
  bool show3dBorder_ = true;
  bool showScrollbars_ = true;
  bool dpiAware_ = false;
};
