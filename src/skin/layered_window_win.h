// The layered-window functions, looked up at run time in "User32.DLL" so the
// program still starts where they are missing; a missing one is skipped.
#pragma once

#include <windows.h>

struct LayeredWindowApi {
  using SetAttributes = BOOL(WINAPI*)(HWND, COLORREF, BYTE, DWORD);
  using Update = BOOL(WINAPI*)(HWND, HDC, POINT*, SIZE*, HDC, POINT*, COLORREF, BLENDFUNCTION*, DWORD);
  SetAttributes setLayeredWindowAttributes = nullptr;
  Update updateLayeredWindow = nullptr;
};

const LayeredWindowApi& LayeredWindows();
