#include "platform/win32/win32_system_info.h"

#include <windows.h>
#include <knownfolders.h>
#include <shlobj.h>

#include "platform/win32/unique_resource.h"
#include "platform/win32/win32_module_path.h"
#include "platform/win32/win32_on_demand_dll.h"

std::wstring Win32SystemInfo::ExecutablePath() { return ExecutableFilePath(); }

std::optional<std::wstring> Win32SystemInfo::TempFolder() {
    // Ask for the size first; ask again if the folder changed in between.
    for (int attempt = 0; attempt < 3; ++attempt) {
        const DWORD needed = ::GetTempPathW(0, nullptr);
        if (needed == 0) return std::nullopt;
        std::wstring folder(needed, L'\0');
        const DWORD length = ::GetTempPathW(needed, folder.data());
        if (length == 0) return std::nullopt;
        if (length < needed) {
            folder.resize(length);
            if (folder.empty()) return std::nullopt;
            if (folder.back() != L'\\') folder += L'\\';
            return folder;
        }
    }
    return std::nullopt;
}

std::optional<std::wstring> Win32SystemInfo::DesktopFolder() {
    auto* knownFolderPath = OnDemand<decltype(::SHGetKnownFolderPath)>(L"shell32.dll", "SHGetKnownFolderPath");
    if (!knownFolderPath) return std::nullopt;
    UniqueCoTaskString path;
    if (FAILED(knownFolderPath(FOLDERID_Desktop, 0, nullptr, path.put())) || !path) return std::nullopt;
    return std::wstring(path.get());
}

std::optional<std::wstring> Win32SystemInfo::ComputerName() {
    DWORD size = MAX_COMPUTERNAME_LENGTH + 1;
    for (int attempt = 0; attempt < 3; ++attempt) {
        std::wstring name(size, L'\0');
        DWORD length = size;
        if (::GetComputerNameW(name.data(), &length)) {
            name.resize(length);
            return name;
        }
        if (::GetLastError() != ERROR_BUFFER_OVERFLOW || length <= size) return std::nullopt;
        size = length;  // now the size it needs, zero included
    }
    return std::nullopt;
}

wchar_t Win32SystemInfo::DecimalSeparator() {
    const int needed = ::GetLocaleInfoEx(LOCALE_NAME_USER_DEFAULT, LOCALE_SDECIMAL, nullptr, 0);
    if (needed <= 1) return L'.';
    std::wstring separator(static_cast<size_t>(needed), L'\0');
    if (::GetLocaleInfoEx(LOCALE_NAME_USER_DEFAULT, LOCALE_SDECIMAL, separator.data(), needed) <= 1) return L'.';
    return separator[0];
}

bool Win32SystemInfo::RemoteSession() { return ::GetSystemMetrics(SM_REMOTESESSION) != 0; }
