// A window shaped and shaded by a PNG is shown as a pair of top-level
// windows over the same rectangle: the background, a layered window whose
// whole content is the picture with its own alpha (it has no controls and
// drags the pair), and its companion, an ordinary dialog that carries the
// controls and paints everything else in a key colour that the system makes
// invisible and click-through. The background owns the companion.
#pragma once

#include <windows.h>

#include <memory>

#include "common/display_scale.h"
#include "package/package_images_win.h"
#include "win/dialog.h"
#include "win/handles.h"

class CTranslucentDialog;

class IRenderListener {
 public:
  virtual ~IRenderListener() = default;
  // Asks the window to draw itself again.
  virtual void OnRenderRequest() = 0;
};

// The companion: its background is the key colour, so only its controls show.
class CStandardDialog : public win::Dialog {
 public:
  CStandardDialog(UINT templateId, COLORREF keyColour, HWND parent);
  void SetTranslucentWindow(CTranslucentDialog* window) { translucentWindow_ = window; }
  CTranslucentDialog* TranslucentWindow() const { return translucentWindow_; }
  // The background took a new scale (TranslucentWindow()->Scale()) and its
  // new size: the companion lays its controls out for it.
  virtual void OnScaleChanged() {}

 protected:
  BOOL OnInitDialog() override;
  // Both close the background first, whose modal run then ends with Cancel.
  void OnOK() override;
  void OnCancel() override;
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  void CloseOwner();

  COLORREF keyColour_;
  win::UniqueBrush keyBrush_;
  CTranslucentDialog* translucentWindow_ = nullptr;
};

class CTranslucentDialog : public win::Dialog, public IRenderListener {
 public:
  CTranslucentDialog(UINT templateId, std::unique_ptr<PackagePicture> picture, HWND parent);
  ~CTranslucentDialog() override;

  void OnRenderRequest() override { Render(); }
  CStandardDialog* Companion() const { return companion_.get(); }
  // The scale the pair is shown at: 96 DPI (physical pixels) unless it
  // takes the display's scale. Known from the window's creation on.
  const DisplayScale& Scale() const { return scale_; }

 protected:
  // Makes the concrete companion (its window not yet created) with this
  // window as parent; null means no companion.
  virtual std::unique_ptr<CStandardDialog> CreateStandardDialog() = 0;
  // Runs during initialisation, before the first render.
  virtual void OnInitChildren() = 0;
  // Whether the pair takes the display's scale: its picture, its size and
  // the companion's controls then grow with the DPI of its monitor.
  virtual bool ScalesWithDisplay() const { return false; }
  // The picture's @2x form, if there is one; asked for once, at the first
  // scale of 150 % or more.
  virtual std::unique_ptr<PackagePicture> LoadDoubleSizePicture() { return nullptr; }

  BOOL OnInitDialog() override;
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  LRESULT OnCreate(CREATESTRUCTA* create);
  void OnDpiChanged(int dpi, const RECT& suggested) override;
  // Takes the scale of `dpi` and the picture and size that go with it.
  void TakeScale(int dpi);
  // Composes the picture, premultiplied over transparent black, as the
  // window's whole content.
  void Render();
  // The picture drawn, as it is at 96 DPI or scaled.
  void DrawPicture(HDC memory, void* bits) const;

  BLENDFUNCTION blend_{};
  std::unique_ptr<PackagePicture> picture_;
  bool draggable_ = true;
  bool centred_ = true;
  std::unique_ptr<CStandardDialog> companion_;
  DisplayScale scale_;
  std::unique_ptr<PackagePicture> doubleSize_;
  bool doubleSizeAskedFor_ = false;
  const PackagePicture* shown_ = nullptr;  // picture_ or doubleSize_
  int width_ = 0, height_ = 0;             // the window's size: the picture's, scaled
};
