// The small window layer that stands in for an application framework: a C++
// object bound to its window once, at creation, receiving every message of
// that window through one virtual handler.
#pragma once

#include <windows.h>

namespace win {

// WM_DRAWITEM as a parent hands it back to the control it is about, so that
// a control that draws itself keeps its drawing code (the classic OCM_ value).
inline constexpr UINT kReflectedDrawItem = 0x2000 + WM_DRAWITEM;

class Window {
 public:
  Window() = default;
  virtual ~Window();
  Window(const Window&) = delete;
  Window& operator=(const Window&) = delete;

  HWND Handle() const { return hwnd_; }

  // The object bound to a window, or null for windows of other code.
  static Window* FromHandle(HWND hwnd);

  // Offered every input message addressed to this window or to a window
  // below it, before it is dispatched. True consumes the message.
  virtual bool PreTranslateMessage(MSG* message);

 protected:
  // Every message of the window. The default reflects WM_DRAWITEM to the
  // control it is about and passes everything else, or what the control
  // left, to the window's own procedure (for a dialog: the system's dialog
  // handling).
  virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT DefaultProc(UINT message, WPARAM wParam, LPARAM lParam);

  // Binds `this` to the next window this thread creates, from the moment
  // the system makes it (so that even WM_NCCREATE and WM_CREATE arrive
  // here), until the scope ends.
  class CreationScope {
   public:
    explicit CreationScope(Window* window);
    ~CreationScope();
    CreationScope(const CreationScope&) = delete;
    CreationScope& operator=(const CreationScope&) = delete;

   private:
    HHOOK hook_;
  };

  // Called after the window is gone (WM_NCDESTROY); the object stays.
  virtual void OnWindowDestroyed() {}

 private:
  static LRESULT CALLBACK CreationHook(int code, WPARAM wParam, LPARAM lParam);
  static LRESULT CALLBACK StaticProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  void Attach(HWND hwnd);

  HWND hwnd_ = nullptr;
  WNDPROC originalProc_ = nullptr;
};

// Offers a message to the pre-filters of the window it is addressed to and
// then of its parents and owners, up to the top. True when one consumed it.
bool PreTranslateChain(MSG* message);

}  // namespace win
