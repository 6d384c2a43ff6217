#include "platform/win32/win32_profile_files.h"
// Placeholder.
std::wstring Win32ProfileFiles::Read(const std::wstring&, const std::wstring&, const std::wstring& defaultText,
                                     const std::wstring&) {
    return defaultText;
}
void Win32ProfileFiles::Write(const std::wstring&, const std::wstring&, const std::wstring&, const std::wstring&) {}
