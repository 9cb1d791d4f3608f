// Functions of the system's DLLs that older systems lack, looked up by name
// at run time so the program still starts there. Each is typed as the
// system's headers declare it: LAUNCHER_SYSTEM_FUNCTION names the type it
// expects and the build compares it with the declaration, so a wrong
// calling convention or argument stops a 32-bit build instead of hiding
// behind a cast. The file that looks one up must see its declaration
// (WINVER high enough) before it includes windows.h.
#pragma once

#include <windows.h>

#include <type_traits>

namespace win {

// The function `name` of the loaded module `module` as `Function`, or null.
// Use it through LAUNCHER_SYSTEM_FUNCTION, which checks `Function`.
template <class Function>
Function* LookUpSystemFunction(const char* module, const char* name) {
  static_assert(std::is_function_v<Function>);
  const HMODULE loaded = GetModuleHandleA(module);
  if (loaded == nullptr) return nullptr;
  // The one untyped step: GetProcAddress knows no types. `Function` has been
  // compared with the declaration where the lookup is written.
  return reinterpret_cast<Function*>(reinterpret_cast<void*>(GetProcAddress(loaded, name)));
}

}  // namespace win

#define LAUNCHER_SYSTEM_FUNCTION(module, name, Function)                                         \
  ([] {                                                                                         \
    static_assert(std::is_same_v<Function, decltype(::name)>, #name " is declared otherwise"); \
    return ::win::LookUpSystemFunction<Function>(module, #name);                                \
  }())
