// Orvane's entry point: one check per process.

#include <windows.h>

#include <clocale>

#include "app/orvane_app.h"
#include "platform/win32/win32_dll_search.h"
#include "platform/win32/win32_platform.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    LoadDllsOnlyFromSystem32();

    // Table files are read, and numbers shown, in the user's locale.
    _wsetlocale(LC_ALL, L"");

    Win32Platform win32;
    OrvaneApp app(win32.platform);
    app.InitInstance();
    return 0;
}
