// The least a launcher can do: start "vorn_explorer.exe" beside itself the
// way Orvane does, and end. The pass-path benchmark measures Orvane against it.
// Built with ORVANE_PROBE_GRAPHICS_FIRST it reads the graphics driver first,
// with Orvane's steps, in its own process: the floor of Orvane's pass path.

#include <windows.h>

#include <string>
#include <vector>

#ifdef ORVANE_PROBE_GRAPHICS_FIRST
#include "platform/win32/win32_graphics_driver.h"
#include "platform/win32/win32_text_codec.h"
#include "probes/graphics_probe.h"
#endif

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
#ifdef ORVANE_PROBE_GRAPHICS_FIRST
    {
        Win32InProcessGraphicsDriver driver;
        Win32TextCodec codec;
        OrvaneRec record;
        ProbeGraphics(driver, codec, record);
    }
#endif
    std::vector<wchar_t> buffer(MAX_PATH);
    DWORD n = 0;
    while ((n = ::GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()))) == buffer.size())
        buffer.resize(buffer.size() * 2);
    if (n == 0) return 1;
    std::wstring exe(buffer.data(), n);
    exe.erase(exe.find_last_of(L'\\') + 1);
    exe += L"vorn_explorer.exe";

    std::wstring commandLine = L"\"" + exe + L"\"";
    std::vector<wchar_t> writable(commandLine.begin(), commandLine.end());
    writable.push_back(L'\0');

    STARTUPINFOW startup{};
    ::GetStartupInfoW(&startup);
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_SHOWNORMAL;
    PROCESS_INFORMATION process{};
    if (!::CreateProcessW(exe.c_str(), writable.data(), nullptr, nullptr, FALSE,
                          CREATE_DEFAULT_ERROR_MODE | NORMAL_PRIORITY_CLASS, nullptr, nullptr, &startup, &process))
        return 1;
    ::CloseHandle(process.hThread);
    ::CloseHandle(process.hProcess);
    return 0;
}
