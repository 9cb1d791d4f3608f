// The container side of one ActiveX control placed in place over the client
// area of a window: the client site, the in-place site and the frame that a
// control needs in order to create its window inside ours, to be told its
// size and to fire its events. Nothing else of OLE containment is offered:
// no menus, no toolbars, no status bar, no persisted state.
#pragma once

#include <ocidl.h>
#include <ole2.h>

#include "win/com_object.h"
#include "win/com_ptr.h"

// Counted, never freed by the count: the host owns the site and its frame.
class ControlSite final : public win::ComObject<IOleClientSite, IOleInPlaceSite> {
 public:
  explicit ControlSite(HWND container) : ComObject(kAnswers), container_(container), frame_(*this) {}
  // The control is closed before its site goes.
  ~ControlSite() { Close(); }

  // Creates the control of class `clsid` with no persisted state and
  // activates it in place over the container's client area. True when the
  // control's window exists.
  bool Create(REFCLSID clsid);
  // Deactivates and closes the control and drops every reference to it.
  void Close();

  IUnknown* ControlUnknown() const { return object_.Get(); }
  HWND ControlWindow() const;
  // Fits the control to the container's client area.
  void FitToContainer();
  // Offers a key message to the active control; true when it used it.
  bool TranslateKey(MSG* message);

  // IOleClientSite
  STDMETHODIMP SaveObject() override;
  STDMETHODIMP GetMoniker(DWORD assign, DWORD which, IMoniker** moniker) override;
  STDMETHODIMP GetContainer(IOleContainer** container) override;
  STDMETHODIMP ShowObject() override;
  STDMETHODIMP OnShowWindow(BOOL show) override;
  STDMETHODIMP RequestNewObjectLayout() override;

  // IOleWindow, IOleInPlaceSite
  STDMETHODIMP GetWindow(HWND* window) override;
  STDMETHODIMP ContextSensitiveHelp(BOOL enter) override;
  STDMETHODIMP CanInPlaceActivate() override;
  STDMETHODIMP OnInPlaceActivate() override;
  STDMETHODIMP OnUIActivate() override;
  STDMETHODIMP GetWindowContext(IOleInPlaceFrame** frame, IOleInPlaceUIWindow** document, LPRECT position, LPRECT clip,
                                LPOLEINPLACEFRAMEINFO frameInfo) override;
  STDMETHODIMP Scroll(SIZE extent) override;
  STDMETHODIMP OnUIDeactivate(BOOL undoable) override;
  STDMETHODIMP OnInPlaceDeactivate() override;
  STDMETHODIMP DiscardUndoState() override;
  STDMETHODIMP DeactivateAndUndo() override;
  STDMETHODIMP OnPosRectChange(LPCRECT position) override;

 private:
  // The frame the control sees around itself: the container's top-level
  // window. Its only task is to learn which object is active, for keys.
  class Frame final : public win::ComObject<IOleInPlaceFrame> {
   public:
    explicit Frame(ControlSite& site) : ComObject(kAnswers), site_(site) {}

    STDMETHODIMP GetWindow(HWND* window) override;
    STDMETHODIMP ContextSensitiveHelp(BOOL enter) override;
    STDMETHODIMP GetBorder(LPRECT border) override;
    STDMETHODIMP RequestBorderSpace(LPCBORDERWIDTHS widths) override;
    STDMETHODIMP SetBorderSpace(LPCBORDERWIDTHS widths) override;
    STDMETHODIMP SetActiveObject(IOleInPlaceActiveObject* active, LPCOLESTR name) override;
    STDMETHODIMP InsertMenus(HMENU shared, LPOLEMENUGROUPWIDTHS widths) override;
    STDMETHODIMP SetMenu(HMENU shared, HOLEMENU descriptor, HWND activeObject) override;
    STDMETHODIMP RemoveMenus(HMENU shared) override;
    STDMETHODIMP SetStatusText(LPCOLESTR text) override;
    STDMETHODIMP EnableModeless(BOOL enable) override;
    STDMETHODIMP TranslateAccelerator(LPMSG message, WORD id) override;

   private:
    static constexpr win::ComAnswer kAnswers[] = {
        Answer<IOleInPlaceFrame>(IID_IUnknown), Answer<IOleInPlaceFrame>(IID_IOleWindow),
        Answer<IOleInPlaceFrame>(IID_IOleInPlaceUIWindow), Answer<IOleInPlaceFrame>(IID_IOleInPlaceFrame)};

    ControlSite& site_;
  };

  static constexpr win::ComAnswer kAnswers[] = {
      Answer<IOleClientSite>(IID_IUnknown), Answer<IOleClientSite>(IID_IOleClientSite),
      Answer<IOleInPlaceSite>(IID_IOleWindow), Answer<IOleInPlaceSite>(IID_IOleInPlaceSite)};

  RECT ContainerRect() const;

  HWND container_;
  Frame frame_;
  win::ComPtr<IOleObject> object_;
  win::ComPtr<IOleInPlaceObject> inPlace_;
  win::ComPtr<IOleInPlaceActiveObject> active_;
};
