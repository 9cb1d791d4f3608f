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

  // A child push button of `parent` at `rect` (client coordinates). A
  // caption or tip given as bytes is GBK; the windows give their skin's
  // texts as the characters they are.
  bool Create(const char* caption, DWORD style, const RECT& rect, HWND parent, UINT id);
  bool Create(std::wstring_view caption, DWORD style, const RECT& rect, HWND parent, UINT id);
  HWND Handle() const { return hwnd_; }

  // Takes ownership of the bitmaps (any may be null) after releasing every
  // image held before; the disabled face is the normal image. No repaint.
  void SetImages(HBITMAP normal, HBITMAP pressed, HBITMAP hover);
  // Stored with every ";" made "&" (operators write query strings with ";")
  // and otherwise as given: the shell gets it so when the button is
  // pressed, unless it holds a control character. A link given as bytes is
  // GBK; the windows give their skin's, like a page's, as UTF-16, kept so.
  void SetLink(const char* link);
  void SetLink(std::wstring_view link);
  // The link as GBK bytes, as a configuration would write it, and as the
  // characters the shell gets.
  std::string Link() const;
  const std::wstring& WideLink() const { return link_; }
  void SetTip(const char* tip);
  void SetTip(std::wstring_view tip);
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
