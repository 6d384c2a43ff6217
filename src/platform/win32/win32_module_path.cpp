#include "platform/win32/win32_module_path.h"

#include <windows.h>

std::wstring ExecutableFilePath() {
    // The function cuts the path to the buffer and says so only by filling it:
    // grow until the whole path and its terminating zero fit.
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD size = static_cast<DWORD>(path.size());
        const DWORD length = ::GetModuleFileNameW(nullptr, path.data(), size);
        if (length == 0) return std::wstring();
        if (length < size) {
            path.resize(length);
            return path;
        }
        if (path.size() > 0x100000) return std::wstring();  // no real path is this long
        path.resize(path.size() * 2);
    }
}

std::wstring ApplicationTitle() {
    std::wstring name = ExecutableFilePath();
    const size_t slash = name.find_last_of(L"\\/");
    if (slash != std::wstring::npos) name.erase(0, slash + 1);
    const size_t dot = name.rfind(L'.');
    if (dot != std::wstring::npos) name.erase(dot);
    return name;
}
