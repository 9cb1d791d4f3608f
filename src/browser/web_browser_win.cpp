#include "browser/web_browser_win.h"

#include <exdisp.h>

#include "browser/control_site_win.h"
#include "win/text.h"
#include "win/variant.h"

namespace {

constexpr wchar_t kHostClass[] = L"LauncherBrowserHost";
// The control's automation identifiers (IWebBrowser2).
constexpr DISPID kNavigate = 104;
constexpr DISPID kDocument = 203;
constexpr DISPID kSilent = 551;

bool RegisterHostClass() {
  WNDCLASSEXW windowClass{};
  windowClass.cbSize = sizeof windowClass;
  windowClass.lpfnWndProc = DefWindowProcW;
  windowClass.hInstance = GetModuleHandleA(nullptr);
  windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
  windowClass.lpszClassName = kHostClass;
  return RegisterClassExW(&windowClass) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

bool IsKeyMessage(UINT message) { return message >= WM_KEYFIRST && message <= WM_KEYLAST; }

}  // namespace

CWebBrowser::CWebBrowser() = default;

CWebBrowser::~CWebBrowser() { DestroyHost(); }

bool CWebBrowser::Create(const char* windowName, DWORD style, const RECT& rect, HWND parent, UINT id) {
  if (Handle() != nullptr || !RegisterHostClass()) return false;
  {
    CreationScope scope(this);
    CreateWindowExW(0, kHostClass, win::WideFromGbk(windowName != nullptr ? windowName : "").c_str(), style, rect.left,
                    rect.top, rect.right - rect.left, rect.bottom - rect.top, parent,
                    reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id)), GetModuleHandleA(nullptr), nullptr);
  }
  if (Handle() == nullptr) return false;
  site_ = std::make_unique<ControlSite>(Handle());
  if (!site_->Create(CLSID_WebBrowser)) {
    DestroyHost();
    return false;
  }
  return true;
}

void CWebBrowser::DestroyHost() {
  if (Handle() != nullptr) DestroyWindow(Handle());
  site_.reset();
}

bool CWebBrowser::Navigate(const char* address) {
  return Navigate(win::WideFromGbk(address != nullptr ? address : ""));
}

bool CWebBrowser::Navigate(std::wstring_view address) {
  win::Bstr url(address);
  if (!url) return false;
  // Flags, target frame, post data and headers are passed absent; the block
  // lists the arguments last to first.
  VARIANT arguments[5];
  for (VARIANT& argument : arguments) {
    VariantInit(&argument);
    argument.vt = VT_ERROR;
    argument.scode = DISP_E_PARAMNOTFOUND;
  }
  arguments[4].vt = VT_BSTR;
  arguments[4].bstrVal = url.Get();
  DISPPARAMS params{arguments, nullptr, 5, 0};
  return InvokeControl(kNavigate, DISPATCH_METHOD, &params, nullptr);
}

win::ComPtr<IDispatch> CWebBrowser::GetDocument() {
  DISPPARAMS none{nullptr, nullptr, 0, 0};
  win::Variant result;
  if (!InvokeControl(kDocument, DISPATCH_PROPERTYGET, &none, result.Get())) return {};
  if ((*result).vt != VT_DISPATCH) return {};
  return win::ComPtr<IDispatch>::Share((*result).pdispVal);
}

bool CWebBrowser::SetSilent(bool silent) {
  VARIANT value;
  VariantInit(&value);
  value.vt = VT_BOOL;
  value.boolVal = silent ? VARIANT_TRUE : VARIANT_FALSE;
  DISPID named = DISPID_PROPERTYPUT;
  DISPPARAMS params{&value, &named, 1, 1};
  return InvokeControl(kSilent, DISPATCH_PROPERTYPUT, &params, nullptr);
}

IUnknown* CWebBrowser::GetControlUnknown() const { return site_ ? site_->ControlUnknown() : nullptr; }

bool CWebBrowser::TranslateControlKey(MSG* message) {
  if (message == nullptr || !IsKeyMessage(message->message) || !site_ || Handle() == nullptr) return false;
  if (message->hwnd != Handle() && !IsChild(Handle(), message->hwnd)) return false;
  return site_->TranslateKey(message);
}

bool CWebBrowser::InvokeControl(DISPID id, WORD flags, DISPPARAMS* params, VARIANT* result) {
  const auto control = win::QueryInterfaceOf<IDispatch>(GetControlUnknown());
  if (!control) return false;
  win::ExceptionInfo exception;
  UINT argumentError = 0;
  return SUCCEEDED(
      control->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, flags, params, result, exception.Get(), &argumentError));
}

LRESULT CWebBrowser::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_SIZE:
      if (site_) site_->FitToContainer();
      break;
    case WM_SETFOCUS:
      // Focus given to the host belongs to the page.
      if (site_ && site_->ControlWindow() != nullptr) SetFocus(site_->ControlWindow());
      return 0;
    case WM_DESTROY:
      // The control goes while its windows are still there to take down.
      OnControlClosing();
      if (site_) site_->Close();
      break;
    default: break;
  }
  return Window::WindowProc(message, wParam, lParam);
}
