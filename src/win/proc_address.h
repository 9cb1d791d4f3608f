// Functions of a DLL looked up at run time, typed by the caller rather than
// cast at each place. On 32-bit Windows a function pointer carries its
// calling convention in its type: a pointer declared without WINAPI calls a
// system function the wrong way and corrupts the stack, and a cast would
// hide that. The one cast lives here; callers name the function's type,
// normally as the system's header declares it, so that storing the result
// in a pointer of any other type does not compile:
//   win::ProcAddress<decltype(::UpdateLayeredWindow)>(user32, "UpdateLayeredWindow")
#pragma once

#include <windows.h>

#include <type_traits>

namespace win {

template <class Function>
  requires std::is_function_v<Function>
Function* ProcAddress(HMODULE module, const char* name) {
  if (module == nullptr) return nullptr;
  // Through void*: GetProcAddress's own type says nothing about the
  // function's, and the compiler rightly warns about a direct cast.
  return reinterpret_cast<Function*>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}

}  // namespace win
