#include "browser/browser_event_sink_win.h"

#include <exdisp.h>
#include <exdispid.h>

#include "browser/web_browser_win.h"

namespace {

// The event's arguments in their declared order; the block lists them last
// to first. Missing ones, and ones of another type, read as empty.
class EventArguments {
 public:
  explicit EventArguments(const DISPPARAMS& params) : params_(params) {}

  IDispatch* Window(UINT index) const {
    const VARIANT* value = Value(index);
    return value != nullptr && value->vt == VT_DISPATCH ? value->pdispVal : nullptr;
  }
  std::wstring_view Text(UINT index) const {
    const VARIANT* value = Value(index);
    if (value == nullptr) return {};
    BSTR text = nullptr;
    if (value->vt == VT_BSTR) text = value->bstrVal;
    if (value->vt == (VT_BYREF | VT_BSTR) && value->pbstrVal != nullptr) text = *value->pbstrVal;
    return text != nullptr ? std::wstring_view(text, SysStringLen(text)) : std::wstring_view();
  }
  long Number(UINT index) const {
    const VARIANT* value = Value(index);
    if (value == nullptr) return 0;
    if (value->vt == VT_I4) return value->lVal;
    if (value->vt == (VT_BYREF | VT_I4) && value->plVal != nullptr) return *value->plVal;
    return 0;
  }

 private:
  // The argument, through the variant reference the control passes most
  // of them by.
  const VARIANT* Value(UINT index) const {
    if (params_.rgvarg == nullptr || index >= params_.cArgs) return nullptr;
    const VARIANT* value = &params_.rgvarg[params_.cArgs - 1 - index];
    return value->vt == (VT_BYREF | VT_VARIANT) ? value->pvarVal : value;
  }

  const DISPPARAMS& params_;
};

}  // namespace

bool BrowserEventSink::Connect(const CWebBrowser& browser) {
  return connection_.Connect(browser.GetControlUnknown(), DIID_DWebBrowserEvents2, static_cast<IDispatch*>(this));
}

STDMETHODIMP BrowserEventSink::Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS* params, VARIANT*, EXCEPINFO*, UINT*) {
  if (params == nullptr) return E_INVALIDARG;
  const EventArguments arguments(*params);
  try {
    switch (id) {
      case DISPID_BEFORENAVIGATE2: listener_.OnBeforeNavigate2(arguments.Window(0), arguments.Text(1)); break;
      case DISPID_NAVIGATECOMPLETE2: listener_.OnNavigateComplete2(arguments.Window(0), arguments.Text(1)); break;
      case DISPID_DOCUMENTCOMPLETE: listener_.OnDocumentComplete(arguments.Window(0), arguments.Text(1)); break;
      case DISPID_NAVIGATEERROR:
        listener_.OnNavigateError(arguments.Window(0), arguments.Text(1), arguments.Number(3));
        break;
      default: break;
    }
  } catch (...) {
    // An owner's failure must not unwind into the control.
  }
  return S_OK;
}
