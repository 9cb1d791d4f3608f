#include "win/window.h"

#include <utility>

namespace win {
namespace {

constexpr char kObjectProperty[] = "launcher.window";
thread_local Window* pendingWindow = nullptr;

// Installs `procedure` as the window's procedure and returns the one it had.
// The system stores it as an integer; taking only a WNDPROC here keeps the
// cast from hiding a procedure of another type (on 32-bit Windows, one
// without CALLBACK would be called with the wrong convention).
WNDPROC ReplaceWindowProc(HWND hwnd, WNDPROC procedure) {
  return reinterpret_cast<WNDPROC>(SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(procedure)));
}

}  // namespace

Window::~Window() {
  // An object that dies before its window leaves the window to the system.
  if (hwnd_ != nullptr) {
    RemovePropA(hwnd_, kObjectProperty);
    ReplaceWindowProc(hwnd_, originalProc_);
  }
}

Window* Window::FromHandle(HWND hwnd) { return static_cast<Window*>(GetPropA(hwnd, kObjectProperty)); }

bool Window::PreTranslateMessage(MSG*) { return false; }

LRESULT Window::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_DRAWITEM) {
    const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
    if (item != nullptr && item->CtlType != ODT_MENU && SendMessageA(item->hwndItem, kReflectedDrawItem, wParam, lParam))
      return TRUE;
  }
  return DefaultProc(message, wParam, lParam);
}

LRESULT Window::DefaultProc(UINT message, WPARAM wParam, LPARAM lParam) {
  return CallWindowProcW(originalProc_, hwnd_, message, wParam, lParam);
}

Window::CreationScope::CreationScope(Window* window)
    : hook_(SetWindowsHookExA(WH_CBT, CreationHook, nullptr, GetCurrentThreadId())) {
  pendingWindow = window;
}

Window::CreationScope::~CreationScope() {
  pendingWindow = nullptr;
  if (hook_ != nullptr) UnhookWindowsHookEx(hook_);
}

LRESULT CALLBACK Window::CreationHook(int code, WPARAM wParam, LPARAM lParam) {
  if (code == HCBT_CREATEWND && pendingWindow != nullptr) {
    // The first window made in the scope is the object's own; its children
    // come later and are left alone.
    std::exchange(pendingWindow, nullptr)->Attach(reinterpret_cast<HWND>(wParam));
  }
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

void Window::Attach(HWND hwnd) {
  hwnd_ = hwnd;
  SetPropA(hwnd, kObjectProperty, this);
  // A wide procedure makes the window a Unicode one: texts set on it are
  // kept as UTF-16 instead of passing through the system's code page.
  originalProc_ = ReplaceWindowProc(hwnd, &Window::StaticProc);
}

LRESULT Window::StaticProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  Window* window = FromHandle(hwnd);
  if (window == nullptr) return DefWindowProcW(hwnd, message, wParam, lParam);
  if (message != WM_NCDESTROY) return window->WindowProc(message, wParam, lParam);
  const LRESULT result = window->WindowProc(message, wParam, lParam);
  RemovePropA(hwnd, kObjectProperty);
  ReplaceWindowProc(hwnd, window->originalProc_);
  window->hwnd_ = nullptr;
  window->OnWindowDestroyed();
  return result;
}

bool PreTranslateChain(MSG* message) {
  for (HWND hwnd = message->hwnd; hwnd != nullptr; hwnd = GetParent(hwnd)) {
    if (Window* window = Window::FromHandle(hwnd); window != nullptr && window->PreTranslateMessage(message))
      return true;
  }
  return false;
}

}  // namespace win
