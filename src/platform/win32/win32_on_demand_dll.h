#pragma once
// DLLs that only some runs need, loaded on their first use: the shell and the
// common controls serve the result dialog and its report, and a run that
// passes and starts the product never pays for loading them (under Wine they
// also bring the display driver and themes in before our own code runs).

#include <windows.h>

// A function of a DLL in System32 (or its side-by-side version the manifest
// names), or null when the DLL or the function cannot be had.
FARPROC OnDemandFunction(const wchar_t* dll, const char* function);

// `function` as the type the system header declares (OnDemand<decltype(::F)>),
// calling convention included, without linking to it.
template <typename Declared>
Declared* OnDemand(const wchar_t* dll, const char* function) {
    return reinterpret_cast<Declared*>(reinterpret_cast<void*>(OnDemandFunction(dll, function)));
}
