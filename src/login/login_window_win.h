// The login window: a translucent pair whose companion carries the
// configured links (image buttons and browser areas) and hands the game
// address over when the login page navigates to the game header.
#pragma once

#include <functional>
#include <memory>
#include <vector>

#include "browser/browser_event_sink_win.h"
#include "browser/web_browser_ex_win.h"
#include "package/skin.h"
#include "skin/skin_button_win.h"
#include "skin/translucent_dialog_win.h"

struct LinkSpec;

// Takes the game address (GBK) that the login page hands over.
using GameAddressSink = std::function<void(const char* address)>;

class CLauncherStandardDlg : public CStandardDialog, private IBrowserEventListener {
 public:
  CLauncherStandardDlg(HWND parent, const Skin& skin, GameAddressSink handOver);
  ~CLauncherStandardDlg() override;

  bool PreTranslateMessage(MSG* message) override;
  // Places the links again, with pictures for the pair's new scale.
  void OnScaleChanged() override;

 protected:
  BOOL OnInitDialog() override;
  bool OnCommand(WORD id, WORD code, HWND control) override;
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  // Makes the update worker and the links; stops at the first failure,
  // leaving the window with what it made so far. The html areas are only
  // planned here: their browsers are made once the window is shown.
  void Build();
  bool MakeButton(const LinkSpec& link, int number, unsigned id);
  // Loads a button's two pictures for the pair's scale.
  bool LoadButtonImages(int number, DibImage* normal, DibImage* pressed) const;
  // Makes an area's browser and places it among the links' controls right
  // below `above` (HWND_TOP for the first control), where it would lie had
  // it been made in link order.
  bool MakeHtmlArea(const LinkSpec& link, unsigned id, const RECT& rect, HWND above);
  // The scale the pair is shown at, and a configured rectangle at it.
  DisplayScale Scale() const;
  RECT Scaled(const RECT& configured) const;
  // Asks, once, for the browsers to be made: from the message loop, after
  // the shown window has been painted, whether or not it paints at all.
  void RequestBrowsers();
  // Makes the planned html areas in link order; the first that fails stops
  // them and removes the buttons of the links after it.
  void MakeBrowsers();
  void ConfirmClose();
  void OnDocumentComplete(IDispatch* window, std::wstring_view url) override;
  void OnBeforeNavigate2(IDispatch* window, std::wstring_view url) override;

  // An html area waiting for its browser: its link, identifier and place
  // (in configured pixels), how many buttons the links before it made, and
  // whether the last control made before it is an html area (else a
  // button, or none at all).
  struct PlannedArea {
    const LinkSpec* link;
    unsigned id;
    RECT rect;
    std::size_t buttonsBefore;
    bool followsArea;
  };

  const Skin skin_;
  const GameAddressSink handOver_;
  std::vector<std::unique_ptr<CSkinButton>> buttons_;
  std::vector<PlannedArea> plannedAreas_;
  bool browsersRequested_ = false;
  std::vector<std::unique_ptr<CWebBrowserEx>> browsers_;
  BrowserEventSink loginPageEvents_{*this};  // of the first browser area only
  int documentCompleteCount_ = 0;
  RECT htmlArea_{};  // in configured pixels
  bool htmlAreaShown_ = false;
  COLORREF fillColour_ = 0;
};

class CLauncherTranslucentDlg : public CTranslucentDialog {
 public:
  CLauncherTranslucentDlg(const Skin& skin, std::unique_ptr<PackagePicture> background, GameAddressSink handOver);

  bool PreTranslateMessage(MSG* message) override;

 protected:
  std::unique_ptr<CStandardDialog> CreateStandardDialog() override;
  void OnInitChildren() override {}
  bool ScalesWithDisplay() const override;
  std::unique_ptr<PackagePicture> LoadDoubleSizePicture() override;

 private:
  const Skin skin_;
  const GameAddressSink handOver_;
};
