// orvane-check's entry point: the check for administrators' tools, on the console.

#include <windows.h>

#include <clocale>
#include <string>
#include <vector>

#include "check_tool/check_tool.h"
#include "orvane_version.h"
#include "shell/orvane_check/check_platform.h"
#include "shell/orvane_check/win32_console_output.h"
#include "platform/win32/win32_dll_search.h"
#include "platform/win32/win32_graphics_probe_child.h"
#include "platform/win32/win32_utc_time.h"

namespace {

// The run and its output; the caller ends the process with the status.
int RunOnConsole(Win32CheckPlatform& win32, const std::vector<std::wstring>& args, bool& endAroundThreads) {
    // Only a check of this PC asks the driver: then its process starts
    // first, to work while the rest starts.
    if (ChecksThisMachine(args)) {
        win32.platform.graphics.Begin();
        // Load the display driver now, while this is the only thread of ours:
        // a console program gets it only on its first window, and under Wine
        // loading it while the WMI thread loads COM can deadlock the two.
        if (HDC screen = ::GetDC(nullptr)) ::ReleaseDC(nullptr, screen);
    }

    Win32ProgressLine progress;
    CheckToolInfo info{L"" ORVANE_VERSION_TEXT, UtcTimeNow()};
    info.progress = &progress;
    CheckToolOutput output;
    const int exitCode = RunCheckTool(win32.platform, args, info, output);
    endAroundThreads = output.wmiWorkOutstanding;

    WriteStandardStream(StandardStream::Error, output.standardError);
    if (!WriteStandardStream(StandardStream::Output, output.standardOutput)) return kCheckOutputNotWritten;
    return exitCode;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    LoadDllsOnlyFromSystem32();
    if (const std::optional<int> probeExit = RunAsGraphicsProbeIfAsked()) return *probeExit;
    // No "insert a disk" or crash boxes: nobody may be at the screen.
    ::SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX | SEM_NOOPENFILEERRORBOX);

    // Table files are read, and numbers shown, in the user's locale, as Orvane does.
    _wsetlocale(LC_ALL, L"");

    Win32CheckPlatform win32;
    int status = kCheckInternalError;
    bool endAroundThreads = true;
    const std::optional<std::string> error = InternalErrorOf([&] {
        const std::vector<std::wstring> args(argv + 1, argv + argc);
        status = RunOnConsole(win32, args, endAroundThreads);
    });
    if (error) WriteStandardStream(StandardStream::Error, *error);
    // A WMI thread left behind may be stuck in the service, even holding the
    // loader lock that a normal exit takes: end the process around it. The
    // output is already with the system.
    if (endAroundThreads) ::TerminateProcess(::GetCurrentProcess(), static_cast<UINT>(status));
    return status;
}
