// The layered-window functions, looked up at run time in "User32.DLL" so the
// program still starts where they are missing; a missing one is skipped.
#pragma once

#include <windows.h>

#include <type_traits>

struct LayeredWindowApi {
  using SetAttributes = BOOL(WINAPI*)(HWND, COLORREF, BYTE, DWORD);
  using Update = BOOL(WINAPI*)(HWND, HDC, POINT*, SIZE*, HDC, POINT*, COLORREF, BLENDFUNCTION*, DWORD);
  SetAttributes setLayeredWindowAttributes = nullptr;
  Update updateLayeredWindow = nullptr;
};

// Called through these pointers, the functions must be exactly the system's,
// calling convention included (it differs only for 32 bits).
static_assert(std::is_same_v<LayeredWindowApi::SetAttributes, decltype(&::SetLayeredWindowAttributes)>);
static_assert(std::is_same_v<LayeredWindowApi::Update, decltype(&::UpdateLayeredWindow)>);

const LayeredWindowApi& LayeredWindows();
