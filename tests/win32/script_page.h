// Wine's JScript (or VBScript) engine playing a game page: the page's
// script runs with a named item "external" standing for window.external,
// and its global functions are reached through the engine's script object,
// as a browser document's script object would give them.
#pragma once

#include <activscp.h>

#include <string>
#include <vector>

#include "win/com_ptr.h"

enum class ScriptLanguage { kJScript, kVBScript };

class ScriptPage final : public IActiveScriptSite {
 public:
  // `external` (may be null) is what the script sees as `external`.
  explicit ScriptPage(IDispatch* external, ScriptLanguage language = ScriptLanguage::kJScript);
  ~ScriptPage();
  ScriptPage(const ScriptPage&) = delete;
  ScriptPage& operator=(const ScriptPage&) = delete;

  bool IsReady() const { return static_cast<bool>(engine_); }
  // Runs `code` as page script; false when it raised an error.
  bool Run(const wchar_t* code);
  // The page's global scope.
  win::ComPtr<IDispatch> Globals() const;
  // The value of the global variable `name` as text; empty when it is not
  // a string.
  std::wstring GlobalText(const wchar_t* name) const;
  // The descriptions of the errors the script raised, in order.
  const std::vector<std::wstring>& Errors() const { return errors_; }

  STDMETHODIMP QueryInterface(REFIID iid, void** object) override;
  STDMETHODIMP_(ULONG) AddRef() override;
  STDMETHODIMP_(ULONG) Release() override;
  STDMETHODIMP GetLCID(LCID* locale) override;
  STDMETHODIMP GetItemInfo(LPCOLESTR name, DWORD mask, IUnknown** item, ITypeInfo** info) override;
  STDMETHODIMP GetDocVersionString(BSTR* version) override;
  STDMETHODIMP OnScriptTerminate(const VARIANT* result, const EXCEPINFO* exception) override;
  STDMETHODIMP OnStateChange(SCRIPTSTATE state) override;
  STDMETHODIMP OnScriptError(IActiveScriptError* error) override;
  STDMETHODIMP OnEnterScript() override;
  STDMETHODIMP OnLeaveScript() override;

 private:
  IDispatch* external_;
  ULONG references_ = 0;
  win::ComPtr<IActiveScript> engine_;
  win::ComPtr<IActiveScriptParse> parser_;
  std::vector<std::wstring> errors_;
};
