#include "browser/web_page_win.h"

#include <array>
#include <string>
#include <vector>

#include "browser/page_arguments.h"
#include "win/text.h"
#include "win/variant.h"

namespace {

// The argument block of one call: strings, entry 0 holding the last piece,
// as the block lists arguments last to first. Cleared when the call ends.
class ArgumentBlock {
 public:
  explicit ArgumentBlock(std::string_view text) {
    const std::vector<std::string> pieces = SplitPageArguments(text);
    for (VARIANT& entry : entries_) VariantInit(&entry);
    count_ = static_cast<UINT>(pieces.size());
    for (UINT i = 0; i < count_; ++i) {
      VARIANT& entry = entries_[count_ - 1 - i];
      const std::wstring wide = win::WideFromGbk(pieces[i]);
      entry.vt = VT_BSTR;
      entry.bstrVal = SysAllocStringLen(wide.data(), static_cast<UINT>(wide.size()));
    }
  }
  ~ArgumentBlock() {
    for (VARIANT& entry : entries_) VariantClear(&entry);
  }
  ArgumentBlock(const ArgumentBlock&) = delete;
  ArgumentBlock& operator=(const ArgumentBlock&) = delete;

  DISPPARAMS Params() { return DISPPARAMS{count_ > 0 ? entries_.data() : nullptr, nullptr, count_, 0}; }

 private:
  std::array<VARIANT, kMaxPageArguments> entries_;
  UINT count_ = 0;
};

}  // namespace

bool CWebPage::AttachDocument(IDispatch* document) {
  if (document == nullptr) return false;
  document_ = win::QueryInterfaceOf<IHTMLDocument2>(document);
  return static_cast<bool>(document_);
}

bool CWebPage::GetScriptObject(win::ComPtr<IDispatch>* script) const {
  if (!document_ || script == nullptr) return false;
  win::ComPtr<IDispatch> object;
  if (FAILED(document_->get_Script(object.Put())) || !object) return false;
  *script = std::move(object);
  return true;
}

bool CWebPage::CallPageFunction(const char* name, VARIANT* result, std::string_view arguments) const {
  win::ComPtr<IDispatch> script;
  return GetScriptObject(&script) && CallScriptFunction(script.Get(), name, result, arguments);
}

bool CWebPage::SendPageEvent(int code, int x, int y) const {
  const auto text = PageEventText(code, x, y);
  return text.has_value() && CallPageFunction("ClientCallJs", nullptr, *text);
}

bool CallScriptFunction(IDispatch* script, const char* name, VARIANT* result, std::string_view arguments) {
  if (script == nullptr || name == nullptr) return false;
  std::wstring wideName = win::WideFromGbk(name);
  LPOLESTR names[] = {wideName.data()};
  DISPID id = DISPID_UNKNOWN;
  if (FAILED(script->GetIDsOfNames(IID_NULL, names, 1, LOCALE_SYSTEM_DEFAULT, &id))) return false;

  ArgumentBlock block(arguments);
  DISPPARAMS params = block.Params();
  win::Variant returned;
  win::ExceptionInfo exception;
  UINT argumentError = static_cast<UINT>(-1);
  if (FAILED(
          script->Invoke(id, IID_NULL, 0, DISPATCH_METHOD, &params, returned.Get(), exception.Get(), &argumentError)))
    return false;
  if (result != nullptr) *result = returned.Release();
  return true;
}
