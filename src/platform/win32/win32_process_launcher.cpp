#include "platform/win32/win32_process_launcher.h"

#include <windows.h>

#include <vector>

#include "platform/win32/unique_resource.h"

bool Win32ProcessLauncher::Start(const std::wstring& applicationPath, const std::wstring& commandLine) {
    STARTUPINFOW startup{};
    ::GetStartupInfoW(&startup);
    // Fields reserved for the runtime of whoever started us are not the product's to inherit.
    startup.lpReserved = nullptr;
    startup.lpReserved2 = nullptr;
    startup.cbReserved2 = 0;
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_SHOWNORMAL;

    // CreateProcessW may write into the command line.
    std::vector<wchar_t> writable(commandLine.begin(), commandLine.end());
    writable.push_back(L'\0');

    PROCESS_INFORMATION process{};
    if (!::CreateProcessW(applicationPath.c_str(), writable.data(), nullptr, nullptr, FALSE,
                          CREATE_DEFAULT_ERROR_MODE | NORMAL_PRIORITY_CLASS, nullptr, nullptr, &startup, &process))
        return false;

    // The product runs on its own; we keep no handle to it.
    UniqueHandle processHandle(process.hProcess);
    UniqueHandle threadHandle(process.hThread);
    return true;
}
