// orvane-check without a system DLL it calls (an old or damaged Windows): one
// line on standard error and exit code 70; never a crash box.

#include <windows.h>

#include <string>

#include "check_tool/check_tool.h"
#include "platform/win32/win32_graphics_probe_child.h"
#include "platform/win32/win32_system_dll.h"

void EndForMissingSystemDll(const char* dll, const char* function) {
    // The graphics probe's process says nothing: the program that started it speaks.
    if (GraphicsProbeHandlesOf(::GetCommandLineW())) ::TerminateProcess(::GetCurrentProcess(), kCheckInternalError);
    std::string line = std::string("orvane-check: the system's ") + dll;
    line += function ? std::string(" has no ") + function : std::string(" cannot be loaded");
    line += "\r\n";
    DWORD written = 0;
    ::WriteFile(::GetStdHandle(STD_ERROR_HANDLE), line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
    // Other threads of ours may be anywhere, even in the loader: end around them.
    ::TerminateProcess(::GetCurrentProcess(), kCheckInternalError);
}
