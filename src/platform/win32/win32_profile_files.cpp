#include "platform/win32/win32_profile_files.h"

#include <windows.h>

#include <vector>

std::wstring Win32ProfileFiles::Read(const std::wstring& section, const std::wstring& key,
                                     const std::wstring& defaultText, const std::wstring& file) {
    // A value that fills the buffer may have been cut: grow until it fits.
    std::vector<wchar_t> buffer(1024);
    for (;;) {
        const DWORD size = static_cast<DWORD>(buffer.size());
        const DWORD length = ::GetPrivateProfileStringW(section.c_str(), key.c_str(), defaultText.c_str(),
                                                        buffer.data(), size, file.c_str());
        if (length + 1 < size) return std::wstring(buffer.data(), length);
        if (size >= (1u << 24)) return std::wstring(buffer.data(), length);  // no profile value is that long
        buffer.resize(buffer.size() * 2);
    }
}

void Win32ProfileFiles::Write(const std::wstring& section, const std::wstring& key, const std::wstring& value,
                              const std::wstring& file) {
    ::WritePrivateProfileStringW(section.c_str(), key.c_str(), value.c_str(), file.c_str());
}
