#include "browser/client_call_win.h"

#include <cwchar>

#include "browser/page_command.h"

static_assert(kDispatchMethod == DISPATCH_METHOD && kDispatchPropertyGet == DISPATCH_PROPERTYGET &&
              kDispatchPropertyPut == DISPATCH_PROPERTYPUT && kDispatchPropertyPutRef == DISPATCH_PROPERTYPUTREF);

STDMETHODIMP GameDialogCallback::GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID, DISPID* ids) {
  // Only the first name counts; a request without one names nothing.
  if (count == 0 || names == nullptr || names[0] == nullptr || ids == nullptr) return E_NOTIMPL;
  if (std::wcscmp(names[0], L"JsCallClient") != 0) return E_NOTIMPL;
  ids[0] = kJsCallClient;
  return S_OK;
}

STDMETHODIMP GameDialogCallback::Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* params, VARIANT*, EXCEPINFO*,
                                        UINT*) {
  if (id != kJsCallClient) return S_OK;
  switch (PageMemberUseOf(flags)) {
    case PageMemberUse::kAssign: return DISP_E_MEMBERNOTFOUND;
    case PageMemberUse::kRead: return S_OK;
    case PageMemberUse::kCall: break;
  }
  if (lookup_ == nullptr) return S_OK;
  try {
    if (IPageCommandTarget* target = lookup_()) target->RunPageCommand(params);
  } catch (...) {
    // The page's call must not unwind into the script engine.
  }
  return S_OK;
}
