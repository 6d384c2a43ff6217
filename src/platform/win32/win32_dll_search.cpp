#include "platform/win32/win32_dll_search.h"

#include <windows.h>

// Looked up at run time, so that a Windows too old to have it still starts us
// and hears why its machine falls short.
void LoadDllsOnlyFromSystem32() {
    using SetDefaultDllDirectoriesFn = BOOL(WINAPI*)(DWORD);
    const HMODULE kernel32 = ::GetModuleHandleW(L"kernel32.dll");
    const auto setDefault = reinterpret_cast<SetDefaultDllDirectoriesFn>(
        reinterpret_cast<void*>(::GetProcAddress(kernel32, "SetDefaultDllDirectories")));
    if (setDefault && setDefault(LOAD_LIBRARY_SEARCH_SYSTEM32)) return;
    ::SetDllDirectoryW(L"");  // at least take the current folder out of the search
}
