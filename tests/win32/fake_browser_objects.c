/* Written in C: the engine's interfaces have a hundred methods each, and
   only C sees their method tables, in which the few that are called can be
   filled in by name and the rest left empty. */
#include "fake_browser_objects.h"

#include <exdisp.h>
#include <mshtmhst.h>
#include <mshtml.h>
#include <stddef.h>
#include <stdlib.h>

static const IID kCustomDoc = {0x3050f3f0, 0x98b5, 0x11cf, {0xbb, 0x82, 0x00, 0xaa, 0x00, 0xbd, 0xce, 0x0b}};

typedef struct {
  IHTMLDocument2 document;
  ICustomDoc custom;
  LONG references;
  IDispatch* script;
  BOOL customisable;
  IDocHostUIHandler* handler;
} FakeDocument;

static FakeDocument* DocumentOf(IHTMLDocument2* face) { return (FakeDocument*)face; }
static FakeDocument* DocumentOfCustom(ICustomDoc* face) {
  return (FakeDocument*)((char*)face - offsetof(FakeDocument, custom));
}

static ULONG STDMETHODCALLTYPE DocumentAddRef(IHTMLDocument2* face) {
  return (ULONG)InterlockedIncrement(&DocumentOf(face)->references);
}

static ULONG STDMETHODCALLTYPE DocumentRelease(IHTMLDocument2* face) {
  FakeDocument* self = DocumentOf(face);
  const LONG left = InterlockedDecrement(&self->references);
  if (left == 0) {
    if (self->script != NULL) self->script->lpVtbl->Release(self->script);
    if (self->handler != NULL) self->handler->lpVtbl->Release(self->handler);
    free(self);
  }
  return (ULONG)left;
}

static HRESULT STDMETHODCALLTYPE DocumentQueryInterface(IHTMLDocument2* face, REFIID iid, void** object) {
  FakeDocument* self = DocumentOf(face);
  if (IsEqualIID(iid, &IID_IUnknown) || IsEqualIID(iid, &IID_IDispatch) || IsEqualIID(iid, &IID_IHTMLDocument2)) {
    *object = &self->document;
  } else if (self->customisable && IsEqualIID(iid, &kCustomDoc)) {
    *object = &self->custom;
  } else {
    *object = NULL;
    return E_NOINTERFACE;
  }
  DocumentAddRef(&self->document);
  return S_OK;
}

static HRESULT STDMETHODCALLTYPE DocumentGetScript(IHTMLDocument2* face, IDispatch** script) {
  FakeDocument* self = DocumentOf(face);
  *script = self->script;
  if (self->script == NULL) return E_FAIL;
  self->script->lpVtbl->AddRef(self->script);
  return S_OK;
}

static HRESULT STDMETHODCALLTYPE CustomQueryInterface(ICustomDoc* face, REFIID iid, void** object) {
  return DocumentQueryInterface(&DocumentOfCustom(face)->document, iid, object);
}

static ULONG STDMETHODCALLTYPE CustomAddRef(ICustomDoc* face) {
  return DocumentAddRef(&DocumentOfCustom(face)->document);
}

static ULONG STDMETHODCALLTYPE CustomRelease(ICustomDoc* face) {
  return DocumentRelease(&DocumentOfCustom(face)->document);
}

static HRESULT STDMETHODCALLTYPE CustomSetUIHandler(ICustomDoc* face, IDocHostUIHandler* handler) {
  FakeDocument* self = DocumentOfCustom(face);
  if (handler != NULL) handler->lpVtbl->AddRef(handler);
  if (self->handler != NULL) self->handler->lpVtbl->Release(self->handler);
  self->handler = handler;
  return S_OK;
}

static IHTMLDocument2Vtbl documentMethods = {
    .QueryInterface = DocumentQueryInterface,
    .AddRef = DocumentAddRef,
    .Release = DocumentRelease,
    .get_Script = DocumentGetScript,
};

static ICustomDocVtbl customMethods = {
    .QueryInterface = CustomQueryInterface,
    .AddRef = CustomAddRef,
    .Release = CustomRelease,
    .SetUIHandler = CustomSetUIHandler,
};

IDispatch* CreateFakeDocument(IDispatch* script, BOOL customisable) {
  FakeDocument* self = calloc(1, sizeof *self);
  if (self == NULL) return NULL;
  self->document.lpVtbl = &documentMethods;
  self->custom.lpVtbl = &customMethods;
  self->references = 1;
  self->script = script;
  if (script != NULL) script->lpVtbl->AddRef(script);
  self->customisable = customisable;
  return (IDispatch*)&self->document;
}

IUnknown* FakeDocumentUiHandler(IDispatch* document) {
  return (IUnknown*)DocumentOf((IHTMLDocument2*)document)->handler;
}

typedef struct {
  IWebBrowser2 browser;
  LONG references;
  IDispatch* document;
} FakeWindow;

static ULONG STDMETHODCALLTYPE WindowAddRef(IWebBrowser2* face) {
  return (ULONG)InterlockedIncrement(&((FakeWindow*)face)->references);
}

static ULONG STDMETHODCALLTYPE WindowRelease(IWebBrowser2* face) {
  FakeWindow* self = (FakeWindow*)face;
  const LONG left = InterlockedDecrement(&self->references);
  if (left == 0) {
    if (self->document != NULL) self->document->lpVtbl->Release(self->document);
    free(self);
  }
  return (ULONG)left;
}

static HRESULT STDMETHODCALLTYPE WindowQueryInterface(IWebBrowser2* face, REFIID iid, void** object) {
  if (IsEqualIID(iid, &IID_IUnknown) || IsEqualIID(iid, &IID_IDispatch) || IsEqualIID(iid, &IID_IWebBrowser2)) {
    *object = face;
    WindowAddRef(face);
    return S_OK;
  }
  *object = NULL;
  return E_NOINTERFACE;
}

static HRESULT STDMETHODCALLTYPE WindowGetDocument(IWebBrowser2* face, IDispatch** document) {
  FakeWindow* self = (FakeWindow*)face;
  *document = self->document;
  if (self->document != NULL) self->document->lpVtbl->AddRef(self->document);
  return S_OK;
}

static IWebBrowser2Vtbl windowMethods = {
    .QueryInterface = WindowQueryInterface,
    .AddRef = WindowAddRef,
    .Release = WindowRelease,
    .get_Document = WindowGetDocument,
};

IDispatch* CreateFakeWindow(IDispatch* document) {
  FakeWindow* self = calloc(1, sizeof *self);
  if (self == NULL) return NULL;
  self->browser.lpVtbl = &windowMethods;
  self->references = 1;
  self->document = document;
  if (document != NULL) document->lpVtbl->AddRef(document);
  return (IDispatch*)&self->browser;
}
