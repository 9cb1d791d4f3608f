// The image button of both windows: a standard push button, subclassed and
// drawn from bitmaps (at rest, pressed, hovered), with an optional caption,
// tooltip and a link that the shell opens the moment the button is pressed.
// Clicks reach the parent as for any push button (WM_COMMAND, BN_CLICKED).
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

#include "win/handles.h"

class CSkinButton {
 public:
  CSkinButton() = default;
  ~CSkinButton();
  CSkinButton(const CSkinButton&) = delete;
  CSkinButton& operator=(const CSkinButton&) = delete;

  // A child push button of `parent` at `rect` (client coordinates); the
  // caption, like the tip, is GBK.
  bool Create(const char* caption, DWORD style, const RECT& rect, HWND parent, UINT id);
  HWND Handle() const { return hwnd_; }

  // Takes ownership of the bitmaps (any may be null) after releasing every
  // image held before; the disabled face is the normal image. No repaint.
  void SetImages(HBITMAP normal, HBITMAP pressed, HBITMAP hover);
  // Stored with every ";" made "&" (operators write query strings with ";")
  // and otherwise as given: the shell gets it so when the button is
  // pressed, unless it holds a control character. A configured link is
  // GBK; a page's arrives as UTF-16 and is kept so.
  void SetLink(const char* link);
  void SetLink(std::wstring_view link);
  // The link as GBK bytes, as a configuration would write it.
  std::string Link() const;
  void SetTip(const char* tip);
  // Returns the colour set before (at first the system's button-text colour).
  COLORREF SetCaptionColor(COLORREF colour);
  void SetKind(BYTE kind) { kind_ = kind; }
  BYTE GetKind() const { return kind_; }
  void SetRecordIndex(int index) { recordIndex_ = index; }
  int GetRecordIndex() const { return recordIndex_; }
  // The caption's font for a window at `dpi`; 0 (the start): the system's
  // menu font as the system gives it.
  void SetFontDpi(int dpi) { fontDpi_ = dpi; }

 private:
  static LRESULT CALLBACK SubclassProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                       DWORD_PTR self);
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT Default(UINT message, WPARAM wParam, LPARAM lParam);
  void OnLeftButtonDown(WPARAM wParam, LPARAM lParam);
  void OnMouseMove(LPARAM lParam);
  void DrawFace(const DRAWITEMSTRUCT& item);
  bool ResyncPressedState();
  void RelayToTip(UINT message, WPARAM wParam, LPARAM lParam);
  bool TrackLeave(DWORD flags);
  bool IsPushed() const;
  void Repaint() const;

  HWND hwnd_ = nullptr;
  std::wstring link_;
  bool hovering_ = false;
  bool pressedByMouse_ = false;
  HWND tip_ = nullptr;
  win::UniqueBitmap normal_, pressed_, hover_;  // the disabled face is normal_
  COLORREF captionColor_ = GetSysColor(COLOR_BTNTEXT);
  BYTE kind_ = 0;
  int recordIndex_ = 0;
  int fontDpi_ = 0;
};
