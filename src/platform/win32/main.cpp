// Orvane's entry point: one check per process.

#include <windows.h>

#include <clocale>

#include "app/orvane_app.h"
#include "platform/win32/win32_platform.h"

namespace {

// We may run elevated from a download folder: never load a DLL from there.
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

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    LoadDllsOnlyFromSystem32();

    // Table files are read, and numbers shown, in the user's locale.
    _wsetlocale(LC_ALL, L"");

    Win32Platform win32;
    OrvaneApp app(win32.platform);
    app.InitInstance();
    // A WMI thread left behind may be stuck in the service, even holding the
    // loader lock that a normal exit takes: end the process around it.
    if (app.WmiWorkOutstanding()) ::TerminateProcess(::GetCurrentProcess(), 0);
    return 0;
}
