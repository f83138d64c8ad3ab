// Functions of system libraries that the start-up never calls, taken from
// their library when first called rather than imported: an imported library
// is loaded, and its pages kept, before the box can show, whether the
// program ever calls it or not.
#pragma once

#include <windows.h>

// The function name of library, which is loaded now if it is not yet;
// null where the system has no such library or function. Function is the
// function's pointer type, as decltype(&TheFunction) names it.
template <typename Function>
Function LateFunction(const wchar_t* library, const char* name) {
  HMODULE module = GetModuleHandleW(library);
  if (module == nullptr) module = LoadLibraryW(library);
  if (module == nullptr) return nullptr;
  return reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}
