// Stand-ins for what the browser engine hands the host, for the engine that
// Wine lacks: a page's (or frame's) window object and its document. They
// implement only the methods the launcher calls.
#pragma once

#include <oaidl.h>

#ifdef __cplusplus
extern "C" {
#endif

// A document: IHTMLDocument2 whose script object is `script` (may be null),
// and, when `customisable`, ICustomDoc, which records the UI handler it is
// given and holds one reference on it.
IDispatch* CreateFakeDocument(IDispatch* script, BOOL customisable);
// The UI handler last set on `document`, or null; not counted.
IUnknown* FakeDocumentUiHandler(IDispatch* document);

// A window object: IWebBrowser2 whose document is `document` (may be null).
IDispatch* CreateFakeWindow(IDispatch* document);

#ifdef __cplusplus
}
#endif
