// The object a game page sees as window.external. The page calls its one
// method, JsCallClient, with a code and maybe a parameter; the call goes to
// the game window that is running at that moment.
#pragma once

#include <oaidl.h>

#include "win/com_object.h"

// What the game window offers the page: it runs one page command from the
// call's parameter block, as the script engine handed it over (arguments
// last to first). It reads the block with ReadPageCommand and carries out
// what that says: close with OK; start a new launcher
// (StartNewLauncherInstance), then close whether or not that worked; set
// the link of its first button of kind 12; or set the title text it draws
// next.
class IPageCommandTarget {
 public:
  virtual void RunPageCommand(const DISPPARAMS* params) = 0;

 protected:
  ~IPageCommandTarget() = default;
};

// The running game window as a command target, or null when none runs. It
// is asked at every call, so a call before the window exists or after it
// has gone is dropped.
using PageCommandTargetLookup = IPageCommandTarget* (*)();

// The game window's window.external: JsCallClient and nothing else. Its
// owner keeps it for as long as any page can reach it and counts as its
// first holder, so the count starts at 1 and never frees it.
class GameDialogCallback final : public win::DispatchObject<> {
 public:
  static constexpr DISPID kJsCallClient = 100;

  explicit GameDialogCallback(PageCommandTargetLookup lookup) : DispatchObject(kAnswers, 1), lookup_(lookup) {}

  // Knows exactly "JsCallClient" (case-sensitive); anything else is refused
  // with E_NOTIMPL, so the page's script sees no such method.
  STDMETHODIMP GetIDsOfNames(REFIID iid, LPOLESTR* names, UINT count, LCID locale, DISPID* ids) override;
  // A call of JsCallClient hands the parameter block to the running game
  // window, and answers S_OK; the result is never written, so the page's
  // call returns nothing. Reading the member (typeof, a truth test) runs
  // nothing and answers S_OK with no value, so a page that only looks does
  // not fail; assigning to it runs nothing and answers
  // DISP_E_MEMBERNOTFOUND, which the page's engine raises as its error for
  // a member that cannot be set.
  STDMETHODIMP Invoke(DISPID id, REFIID iid, LCID locale, WORD flags, DISPPARAMS* params, VARIANT* result,
                      EXCEPINFO* exception, UINT* argumentError) override;

 private:
  static constexpr win::ComAnswer kAnswers[] = {Answer<IDispatch>(IID_IUnknown), Answer<IDispatch>(IID_IDispatch)};

  PageCommandTargetLookup lookup_;
};
