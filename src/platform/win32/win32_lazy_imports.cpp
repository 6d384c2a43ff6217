// The other half of cmake/lazy_imports.cmake: the first call into a system
// DLL that the program loads on demand finds the function here.

#include <windows.h>

namespace {

// As the generated import data lays it out: one per function.
struct LazyImport {
    void** slot;       // the import slot the program calls through
    const char* dll;   // "user32.dll"
    const char* name;  // the function's exported name
};

// What Visual C++'s delay-load helper raises when a function cannot be had;
// nothing of ours can go on without one of the system's own.
constexpr DWORD kLazyImportMissing = 0xC06D007F;

}  // namespace

extern "C" void* OrvaneResolveLazyImport(const LazyImport* import) {
    // From System32 only, whatever lies beside the program.
    HMODULE module = ::LoadLibraryExA(import->dll, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
    FARPROC function = module ? ::GetProcAddress(module, import->name) : nullptr;
    if (!function) ::RaiseException(kLazyImportMissing, EXCEPTION_NONCONTINUABLE, 0, nullptr);
    // Two threads may get here for one slot; both store the same address.
    ::InterlockedExchangePointer(import->slot, reinterpret_cast<void*>(function));
    return reinterpret_cast<void*>(function);
}
