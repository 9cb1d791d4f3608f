#include "browser/page_call_win.h"

#include <oleauto.h>

#include "win/text.h"

static_assert(kVariantI4 == VT_I4 && kVariantString == VT_BSTR && kVariantInt == VT_INT && kVariantUint == VT_UINT);

namespace {

// VBScript passes a variable by reference, as a variant that points at the
// variable's own variant, and a literal or a value in parentheses by value.
// Looking through that one level lets `v = "6"` then `JsCallClient v, t` do
// what `JsCallClient "6", t` does; a reference to a reference stays a type
// of its own.
const VARIANT& Referenced(const VARIANT& value) {
  if (value.vt == (VT_BYREF | VT_VARIANT) && value.pvarVal != nullptr) return *value.pvarVal;
  return value;
}

PageArgument ReadArgument(const VARIANT& entry) {
  const VARIANT& value = Referenced(entry);
  PageArgument argument;
  argument.type = value.vt;
  switch (value.vt) {
    case VT_INT: argument.number = value.intVal; break;
    case VT_UINT: argument.number = static_cast<std::int32_t>(value.uintVal); break;
    case VT_BSTR:
      // A null BSTR is the empty string; a BSTR may hold zero characters.
      if (value.bstrVal != nullptr) argument.text.assign(value.bstrVal, value.bstrVal + SysStringLen(value.bstrVal));
      break;
    default: break;
  }
  return argument;
}

}  // namespace

PageCallBlock ReadPageCallBlock(const DISPPARAMS* params) {
  PageCallBlock block;
  if (params == nullptr || params->rgvarg == nullptr) return block;
  block.reserve(params->cArgs);
  for (UINT i = 0; i < params->cArgs; ++i) block.push_back(ReadArgument(params->rgvarg[i]));
  return block;
}

PageCommand ReadPageCommand(const DISPPARAMS* params, std::string_view configuredTitle, TextEncoding encoding) {
  return InterpretPageCall(ReadPageCallBlock(params), configuredTitle, win::GbkLength, encoding);
}
