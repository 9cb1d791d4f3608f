// An owning window's own ear on its browser: a DWebBrowserEvents2 sink that
// passes the navigation events an owner acts on to a listener, beside (and
// independent of) the host's UI controller.
#pragma once

#include <exdisp.h>
#include <oaidl.h>

#include <string_view>

#include "browser/event_connection_win.h"
#include "win/com_object.h"

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

// Counted, never freed by the count: the owner holds the sink.
class BrowserEventSink final : public win::DispatchObject<> {
 public:
  explicit BrowserEventSink(IBrowserEventListener& listener) : DispatchObject(kAnswers), listener_(listener) {}
  ~BrowserEventSink() = default;  // the connection goes with it

  // Listens to `browser`'s control from now on (and to no other); false
  // when it has no control or refuses the sink.
  bool Connect(const CWebBrowser& browser);
  void Disconnect() { connection_.Disconnect(); }

  STDMETHODIMP Invoke(DISPID id, REFIID iid, LCID locale, WORD flags, DISPPARAMS* params, VARIANT* result,
                      EXCEPINFO* exception, UINT* argumentError) override;

 private:
  static constexpr win::ComAnswer kAnswers[] = {Answer<IDispatch>(IID_IUnknown), Answer<IDispatch>(IID_IDispatch),
                                                Answer<IDispatch>(DIID_DWebBrowserEvents2)};

  IBrowserEventListener& listener_;
  EventConnection connection_;
};
