// Calls into the script of one page: the launcher's way of telling the game
// page about events, by calling a global function of the page with string
// arguments.
#pragma once

#include <mshtml.h>

#include <string_view>

#include "win/com_ptr.h"

class CWebPage {
 public:
  // Takes the page's document. None keeps the current one and answers
  // false; an object that is not a document leaves the page without one.
  bool AttachDocument(IDispatch* document);
  // The document's script object (the page's global scope); false without
  // a document or when the document has none.
  bool GetScriptObject(win::ComPtr<IDispatch>* script) const;
  // Calls the page's global function `name` (GBK) with the pieces of
  // `arguments` (see SplitPageArguments) as strings, in written order.
  // `result`, when given, is an empty variant that receives what the
  // function returned; the caller clears it. False when
  // there is no script, no such function, or the call failed.
  bool CallPageFunction(const char* name, VARIANT* result, std::string_view arguments) const;
  // Tells the page's ClientCallJs about a mouse event (kPageEventRightDown
  // or kPageEventRightUp) at screen position (x, y), as three strings. False
  // when nothing was sent (see PageEventText) or the call failed.
  bool SendPageEvent(int code, int x, int y) const;

 private:
  win::ComPtr<IHTMLDocument2> document_;
};

// CallPageFunction on a given script object.
bool CallScriptFunction(IDispatch* script, const char* name, VARIANT* result, std::string_view arguments);
