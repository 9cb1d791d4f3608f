// Owning wrappers for the system's handles: one owner each, movable, never
// copied, released once with the function their kind needs.
#pragma once

#include <windows.h>

#include <utility>

namespace win {

template <class T, class Traits>
class Unique {
 public:
  Unique() = default;
  explicit Unique(T value) : value_(value) {}
  ~Unique() { Reset(); }
  Unique(Unique&& other) noexcept : value_(other.Release()) {}
  Unique& operator=(Unique&& other) noexcept {
    if (this != &other) Reset(other.Release());
    return *this;
  }
  Unique(const Unique&) = delete;
  Unique& operator=(const Unique&) = delete;

  T Get() const { return value_; }
  explicit operator bool() const { return Traits::IsValid(value_); }
  T Release() { return std::exchange(value_, Traits::Invalid()); }
  void Reset(T value = Traits::Invalid()) {
    if (Traits::IsValid(value_)) Traits::Close(value_);
    value_ = value;
  }

 private:
  T value_ = Traits::Invalid();
};

struct HandleTraits {  // kernel objects that use null for "none"
  static HANDLE Invalid() { return nullptr; }
  static bool IsValid(HANDLE h) { return h != nullptr && h != INVALID_HANDLE_VALUE; }
  static void Close(HANDLE h) { CloseHandle(h); }
};
struct ViewTraits {
  static const void* Invalid() { return nullptr; }
  static bool IsValid(const void* p) { return p != nullptr; }
  static void Close(const void* p) { UnmapViewOfFile(p); }
};
template <class T>
struct GdiObjectTraits {
  static T Invalid() { return nullptr; }
  static bool IsValid(T h) { return h != nullptr; }
  static void Close(T h) { DeleteObject(h); }
};
struct DcTraits {  // memory device contexts made with CreateCompatibleDC
  static HDC Invalid() { return nullptr; }
  static bool IsValid(HDC h) { return h != nullptr; }
  static void Close(HDC h) { DeleteDC(h); }
};
struct MenuTraits {
  static HMENU Invalid() { return nullptr; }
  static bool IsValid(HMENU h) { return h != nullptr; }
  static void Close(HMENU h) { DestroyMenu(h); }
};

struct FindTraits {  // searches of FindFirstFile, which use INVALID_HANDLE_VALUE for "none"
  static HANDLE Invalid() { return INVALID_HANDLE_VALUE; }
  static bool IsValid(HANDLE h) { return h != INVALID_HANDLE_VALUE && h != nullptr; }
  static void Close(HANDLE h) { FindClose(h); }
};

struct KeyTraits {  // registry keys
  static HKEY Invalid() { return nullptr; }
  static bool IsValid(HKEY h) { return h != nullptr; }
  static void Close(HKEY h) { RegCloseKey(h); }
};

using UniqueHandle = Unique<HANDLE, HandleTraits>;
using UniqueFind = Unique<HANDLE, FindTraits>;
using UniqueView = Unique<const void*, ViewTraits>;
using UniqueBitmap = Unique<HBITMAP, GdiObjectTraits<HBITMAP>>;
using UniqueBrush = Unique<HBRUSH, GdiObjectTraits<HBRUSH>>;
using UniqueFont = Unique<HFONT, GdiObjectTraits<HFONT>>;
using UniqueDc = Unique<HDC, DcTraits>;
using UniqueMenu = Unique<HMENU, MenuTraits>;
using UniqueKey = Unique<HKEY, KeyTraits>;

// A window's device context from GetDC, released to that window.
class WindowDc {
 public:
  explicit WindowDc(HWND window) : window_(window), dc_(GetDC(window)) {}
  ~WindowDc() {
    if (dc_ != nullptr) ReleaseDC(window_, dc_);
  }
  WindowDc(const WindowDc&) = delete;
  WindowDc& operator=(const WindowDc&) = delete;
  HDC Get() const { return dc_; }

 private:
  HWND window_;
  HDC dc_;
};

// An object selected into a device context for the scope, then deselected.
class SelectedObject {
 public:
  SelectedObject(HDC dc, HGDIOBJ object) : dc_(dc), previous_(SelectObject(dc, object)) {}
  ~SelectedObject() { SelectObject(dc_, previous_); }
  SelectedObject(const SelectedObject&) = delete;
  SelectedObject& operator=(const SelectedObject&) = delete;

 private:
  HDC dc_;
  HGDIOBJ previous_;
};

}  // namespace win
