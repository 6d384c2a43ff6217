#include "platform/win32/win32_messages.h"

#include <windows.h>

// Placeholder.
void Win32Messages::ShowAppMessage(const std::wstring& text) {
    ::MessageBoxW(nullptr, text.c_str(), L"Orvane", MB_OK | MB_ICONEXCLAMATION);
}
void Win32Messages::ShowUncaptionedWarning(const std::wstring& text) {
    ::MessageBoxW(nullptr, text.c_str(), nullptr, MB_OK | MB_ICONWARNING);
}
