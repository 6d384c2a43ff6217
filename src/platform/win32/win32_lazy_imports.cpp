// The other half of cmake/lazy_imports.cmake: the first call into a system
// DLL that the program loads on demand finds the function here.

#include <windows.h>

#include "platform/win32/win32_system_dll.h"

namespace {

// As the generated import data lays it out: one per function.
struct LazyImport {
    void** slot;       // the import slot the program calls through
    const char* dll;   // "user32.dll"
    const char* name;  // the function's exported name
};

// Set once a DLL or function was found missing: the program is ending. Only
// one thread says why, and no other first call of ours goes on meanwhile (a
// second message, the result dialog).
LONG ending = 0;

[[noreturn]] void WaitForTheEnd() {
    for (;;) ::Sleep(INFINITE);
}

[[noreturn]] void EndForMissing(const char* dll, const char* function) {
    if (::InterlockedExchange(&ending, 1) == 0) EndForMissingSystemDll(dll, function);
    WaitForTheEnd();
}

}  // namespace

extern "C" void* OrvaneResolveLazyImport(const LazyImport* import) {
    if (::InterlockedCompareExchange(&ending, 0, 0) != 0) WaitForTheEnd();
    HMODULE module = LoadSystemDll(import->dll);
    if (!module) EndForMissing(import->dll, nullptr);
    // Nothing of ours can go on without one of the system's own functions.
    FARPROC function = ::GetProcAddress(module, import->name);
    if (!function) EndForMissing(import->dll, import->name);
    // Two threads may get here for one slot; both store the same address.
    ::InterlockedExchangePointer(import->slot, reinterpret_cast<void*>(function));
    return reinterpret_cast<void*>(function);
}
