#include "platform/win32/win32_messages.h"

#include <windows.h>

#include "platform/win32/win32_module_path.h"

void Win32Messages::ShowAppMessage(const std::wstring& text) {
    const std::wstring caption = ApplicationTitle();
    ::MessageBoxW(nullptr, text.c_str(), caption.c_str(), MB_OK | MB_ICONEXCLAMATION);
}

void Win32Messages::ShowUncaptionedWarning(const std::wstring& text) {
    ::MessageBoxW(nullptr, text.c_str(), nullptr, MB_OK | MB_ICONWARNING);
}
