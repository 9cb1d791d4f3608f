#include "browser/client_call_win.h"

#include <cwchar>

STDMETHODIMP ClientCall::QueryInterface(REFIID iid, void** object) {
  if (object == nullptr) return E_POINTER;
  if (iid != IID_IUnknown && iid != IID_IDispatch) {
    *object = nullptr;
    return E_NOINTERFACE;
  }
  *object = static_cast<IDispatch*>(this);
  AddRef();
  return S_OK;
}

STDMETHODIMP_(ULONG) ClientCall::AddRef() { return static_cast<ULONG>(++references_); }

STDMETHODIMP_(ULONG) ClientCall::Release() {
  LONG count = references_.load();
  while (count > 0 && !references_.compare_exchange_weak(count, count - 1)) {
  }
  return static_cast<ULONG>(count > 0 ? count - 1 : 0);
}

STDMETHODIMP ClientCall::GetTypeInfoCount(UINT* count) {
  if (count != nullptr) *count = 0;
  return E_NOTIMPL;
}

STDMETHODIMP ClientCall::GetTypeInfo(UINT, LCID, ITypeInfo** info) {
  if (info != nullptr) *info = nullptr;
  return E_NOTIMPL;
}

STDMETHODIMP ClientCall::GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) { return E_NOTIMPL; }

STDMETHODIMP ClientCall::Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) {
  return E_NOTIMPL;
}

STDMETHODIMP GameDialogCallback::GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID, DISPID* ids) {
  // Only the first name counts; a request without one names nothing.
  if (count == 0 || names == nullptr || names[0] == nullptr || ids == nullptr) return E_NOTIMPL;
  if (std::wcscmp(names[0], L"JsCallClient") != 0) return E_NOTIMPL;
  ids[0] = kJsCallClient;
  return S_OK;
}

STDMETHODIMP GameDialogCallback::Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS* params, VARIANT*, EXCEPINFO*,
                                        UINT*) {
  if (id != kJsCallClient || lookup_ == nullptr) return S_OK;
  try {
    if (IPageCommandTarget* target = lookup_()) target->RunPageCommand(params);
  } catch (...) {
    // The page's call must not unwind into the script engine.
  }
  return S_OK;
}
