#include "script_page.h"

#include <cwchar>

#include "win/variant.h"

namespace {

const CLSID kJScript = {0xf414c260, 0x6ac0, 0x11cf, {0xb6, 0xd1, 0x00, 0xaa, 0x00, 0xbb, 0xbb, 0x58}};
const CLSID kVBScript = {0xb54f3741, 0x5b07, 0x11cf, {0xa4, 0xb0, 0x00, 0xaa, 0x00, 0x4a, 0x55, 0xe8}};

}  // namespace

ScriptPage::ScriptPage(IDispatch* external, ScriptLanguage language) : external_(external) {
  const CLSID& engineClass = language == ScriptLanguage::kVBScript ? kVBScript : kJScript;
  win::ComPtr<IActiveScript> engine;
  if (FAILED(CoCreateInstance(engineClass, nullptr, CLSCTX_INPROC_SERVER, __uuidof(IActiveScript), engine.PutVoid())))
    return;
  auto parser = engine.As<IActiveScriptParse>();
  if (!parser || FAILED(engine->SetScriptSite(this)) || FAILED(parser->InitNew()) ||
      FAILED(engine->AddNamedItem(L"external", SCRIPTITEM_ISVISIBLE)) ||
      FAILED(engine->SetScriptState(SCRIPTSTATE_CONNECTED))) {
    engine->Close();
    return;
  }
  engine_ = std::move(engine);
  parser_ = std::move(parser);
}

ScriptPage::~ScriptPage() {
  parser_.Reset();
  if (engine_) engine_->Close();
}

bool ScriptPage::Run(const wchar_t* code) {
  if (!parser_) return false;
  win::ExceptionInfo exception;
  return SUCCEEDED(
      parser_->ParseScriptText(code, nullptr, nullptr, nullptr, 0, 0, SCRIPTTEXT_ISVISIBLE, nullptr, exception.Get()));
}

win::ComPtr<IDispatch> ScriptPage::Globals() const {
  win::ComPtr<IDispatch> globals;
  if (engine_) engine_->GetScriptDispatch(nullptr, globals.Put());
  return globals;
}

std::wstring ScriptPage::GlobalText(const wchar_t* name) const {
  const auto globals = Globals();
  if (!globals) return {};
  std::wstring copy = name;
  LPOLESTR names[] = {copy.data()};
  DISPID id = DISPID_UNKNOWN;
  if (FAILED(globals->GetIDsOfNames(IID_NULL, names, 1, 0, &id))) return {};
  DISPPARAMS none{nullptr, nullptr, 0, 0};
  win::Variant value;
  if (FAILED(globals->Invoke(id, IID_NULL, 0, DISPATCH_PROPERTYGET, &none, value.Get(), nullptr, nullptr)) ||
      (*value).vt != VT_BSTR || (*value).bstrVal == nullptr)
    return {};
  return std::wstring((*value).bstrVal, SysStringLen((*value).bstrVal));
}

STDMETHODIMP ScriptPage::QueryInterface(REFIID iid, void** object) {
  if (object == nullptr) return E_POINTER;
  if (iid != IID_IUnknown && iid != __uuidof(IActiveScriptSite)) {
    *object = nullptr;
    return E_NOINTERFACE;
  }
  *object = static_cast<IActiveScriptSite*>(this);
  AddRef();
  return S_OK;
}

STDMETHODIMP_(ULONG) ScriptPage::AddRef() { return ++references_; }

STDMETHODIMP_(ULONG) ScriptPage::Release() { return references_ > 0 ? --references_ : 0; }

STDMETHODIMP ScriptPage::GetLCID(LCID*) { return E_NOTIMPL; }

STDMETHODIMP ScriptPage::GetItemInfo(LPCOLESTR name, DWORD mask, IUnknown** item, ITypeInfo** info) {
  if (item != nullptr) *item = nullptr;
  if (info != nullptr) *info = nullptr;
  if (name == nullptr || std::wcscmp(name, L"external") != 0 || external_ == nullptr) return TYPE_E_ELEMENTNOTFOUND;
  if ((mask & SCRIPTINFO_IUNKNOWN) != 0 && item != nullptr) {
    *item = external_;
    external_->AddRef();
  }
  return S_OK;
}

STDMETHODIMP ScriptPage::GetDocVersionString(BSTR* version) {
  if (version != nullptr) *version = nullptr;
  return E_NOTIMPL;
}

STDMETHODIMP ScriptPage::OnScriptTerminate(const VARIANT*, const EXCEPINFO*) { return S_OK; }

STDMETHODIMP ScriptPage::OnStateChange(SCRIPTSTATE) { return S_OK; }

STDMETHODIMP ScriptPage::OnScriptError(IActiveScriptError* error) {
  win::ExceptionInfo exception;
  if (error != nullptr) error->GetExceptionInfo(exception.Get());
  errors_.emplace_back((*exception).bstrDescription != nullptr ? (*exception).bstrDescription : L"");
  return S_OK;
}

STDMETHODIMP ScriptPage::OnEnterScript() { return S_OK; }

STDMETHODIMP ScriptPage::OnLeaveScript() { return S_OK; }
