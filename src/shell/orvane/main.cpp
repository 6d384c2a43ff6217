// Orvane's entry point: one check per process.

#include <windows.h>

#include <clocale>

#include "orvane/orvane_app.h"
#include "platform/win32/win32_dll_search.h"
#include "platform/win32/win32_graphics_probe_child.h"
#include "shell/orvane/win32_platform.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    LoadDllsOnlyFromSystem32();
    if (const std::optional<int> probeExit = RunAsGraphicsProbeIfAsked()) return *probeExit;

    // Table files are read, and numbers shown, in the user's locale.
    _wsetlocale(LC_ALL, L"");

    Win32Platform win32;
    // The graphics probe's process first; then this thread joins the desktop
    // it was started on, before any other thread of ours loads the windows.
    win32.platform.graphics.Begin();
    ::GetDesktopWindow();
    OrvaneApp app(win32.platform);
    app.InitInstance();
    // A WMI thread left behind may be stuck in the service, even holding the
    // loader lock that a normal exit takes: end the process around it.
    if (app.WmiWorkOutstanding()) ::TerminateProcess(::GetCurrentProcess(), 0);
    return 0;
}
