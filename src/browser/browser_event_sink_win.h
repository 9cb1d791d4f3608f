// An owning window's own ear on its browser: a DWebBrowserEvents2 sink that
// passes the navigation events an owner acts on to a listener, beside (and
// independent of) the host's UI controller.
#pragma once

#include <oaidl.h>

#include <string_view>

#include "browser/event_connection_win.h"
#include "browser/owned_count.h"

class CWebBrowser;

// `window` is the window object of the page or frame concerned; `url` the
// address as the control gives it.
class IBrowserEventListener {
 public:
  virtual void OnBeforeNavigate2(IDispatch* /*window*/, std::wstring_view /*url*/) {}
  virtual void OnNavigateComplete2(IDispatch* /*window*/, std::wstring_view /*url*/) {}
  virtual void OnDocumentComplete(IDispatch* /*window*/, std::wstring_view /*url*/) {}
  virtual void OnNavigateError(IDispatch* /*window*/, std::wstring_view /*url*/, long /*status*/) {}

 protected:
  ~IBrowserEventListener() = default;
};

class BrowserEventSink final : public IDispatch {
 public:
  explicit BrowserEventSink(IBrowserEventListener& listener) : listener_(listener) {}
  ~BrowserEventSink() = default;  // the connection goes with it
  BrowserEventSink(const BrowserEventSink&) = delete;
  BrowserEventSink& operator=(const BrowserEventSink&) = delete;

  // Listens to `browser`'s control from now on (and to no other); false
  // when it has no control or refuses the sink.
  bool Connect(const CWebBrowser& browser);
  void Disconnect() { connection_.Disconnect(); }

  // IUnknown: counted, never freed by the count; the owner holds the sink.
  STDMETHODIMP QueryInterface(REFIID iid, void** object) override;
  STDMETHODIMP_(ULONG) AddRef() override;
  STDMETHODIMP_(ULONG) Release() override;
  STDMETHODIMP GetTypeInfoCount(UINT* count) override;
  STDMETHODIMP GetTypeInfo(UINT index, LCID locale, ITypeInfo** info) override;
  STDMETHODIMP GetIDsOfNames(REFIID iid, LPOLESTR* names, UINT count, LCID locale, DISPID* ids) override;
  STDMETHODIMP Invoke(DISPID id, REFIID iid, LCID locale, WORD flags, DISPPARAMS* params, VARIANT* result,
                      EXCEPINFO* exception, UINT* argumentError) override;

 private:
  IBrowserEventListener& listener_;
  OwnedCount references_;
  EventConnection connection_;
};
