// Times a failing run for the pass-path benchmark: starts the program named
// on the command line, prints the milliseconds until a dialog of that process
// is visible, and ends the process. Exit code 1 when no dialog came within 30 s.

#include <windows.h>

#include <cstdio>
#include <string>

namespace {

struct Search {
    DWORD processId;
    bool found;
};

BOOL CALLBACK FindVisibleDialog(HWND window, LPARAM param) {
    auto* search = reinterpret_cast<Search*>(param);
    DWORD owner = 0;
    ::GetWindowThreadProcessId(window, &owner);
    wchar_t className[16] = {};
    if (owner != search->processId || !::IsWindowVisible(window) ||
        !::GetClassNameW(window, className, static_cast<int>(sizeof className / sizeof className[0])) ||
        std::wstring(className) != L"#32770")
        return TRUE;
    search->found = true;
    return FALSE;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) return 2;
    std::string commandLine = std::string("\"") + argv[1] + "\"";

    LARGE_INTEGER frequency, start, now;
    ::QueryPerformanceFrequency(&frequency);
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    ::QueryPerformanceCounter(&start);
    if (!::CreateProcessA(argv[1], &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process))
        return 2;

    Search search{process.dwProcessId, false};
    long long elapsedMs = 0;
    while (!search.found && elapsedMs < 30000) {
        ::Sleep(2);
        ::EnumWindows(FindVisibleDialog, reinterpret_cast<LPARAM>(&search));
        ::QueryPerformanceCounter(&now);
        elapsedMs = (now.QuadPart - start.QuadPart) * 1000 / frequency.QuadPart;
    }
    ::TerminateProcess(process.hProcess, 0);
    ::WaitForSingleObject(process.hProcess, 5000);
    ::CloseHandle(process.hThread);
    ::CloseHandle(process.hProcess);
    if (!search.found) return 1;
    std::printf("%lld\n", elapsedMs);
    return 0;
}
