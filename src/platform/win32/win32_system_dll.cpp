#include "platform/win32/win32_system_dll.h"

#include <string>

namespace {

HMODULE LoadBySearchFlag(const char* dll) { return ::LoadLibraryExA(dll, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32); }

}  // namespace

HMODULE LoadSystemDll(const char* dll) { return LoadSystemDll(dll, &LoadBySearchFlag); }

std::wstring System32Path(const std::wstring& file) {
    const UINT length = ::GetSystemDirectoryW(nullptr, 0);
    if (length == 0) return std::wstring();
    std::wstring path(length, L'\0');
    const UINT written = ::GetSystemDirectoryW(&path[0], length);
    if (written == 0 || written >= length) return std::wstring();
    path.resize(written);
    return path + L'\\' + file;
}

HMODULE LoadSystemDll(const char* dll, FlaggedDllLoad loadBySearchFlag) {
    if (HMODULE module = loadBySearchFlag(dll)) return module;

    std::wstring name;
    for (const char* c = dll; *c; ++c) name += static_cast<wchar_t>(static_cast<unsigned char>(*c));  // ASCII names
    const std::wstring path = System32Path(name);
    if (path.empty()) return nullptr;
    // What it needs in turn is looked for beside it, in System32, first.
    return ::LoadLibraryExW(path.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
}
