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

namespace {

std::wstring TwoDigits(unsigned value) {
    return std::wstring(1, static_cast<wchar_t>(L'0' + value / 10 % 10)) + static_cast<wchar_t>(L'0' + value % 10);
}

// "2026-01-31T08:15:00Z"
std::wstring UtcTimeNow() {
    SYSTEMTIME now{};
    ::GetSystemTime(&now);
    return std::to_wstring(now.wYear) + L"-" + TwoDigits(now.wMonth) + L"-" + TwoDigits(now.wDay) + L"T" +
           TwoDigits(now.wHour) + L":" + TwoDigits(now.wMinute) + L":" + TwoDigits(now.wSecond) + L"Z";
}

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

    CheckToolOutput output;
    const int exitCode = RunCheckTool(win32.platform, args, {L"" ORVANE_VERSION_TEXT, UtcTimeNow()}, output);
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
