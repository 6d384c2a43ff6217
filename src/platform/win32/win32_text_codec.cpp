#include "platform/win32/win32_text_codec.h"

#include <windows.h>

#include <climits>

namespace {

UINT UserDefaultAnsiCodePage() {
    DWORD codePage = 0;
    const int got = ::GetLocaleInfoEx(LOCALE_NAME_USER_DEFAULT, LOCALE_IDEFAULTANSICODEPAGE | LOCALE_RETURN_NUMBER,
                                      reinterpret_cast<LPWSTR>(&codePage), sizeof codePage / sizeof(wchar_t));
    // Locales without an ANSI code page of their own report 0: use the system's.
    if (got == 0 || codePage == 0) return CP_ACP;
    return codePage;
}

UINT ToWindowsCodePage(CodePage codePage) {
    switch (codePage) {
        case CodePage::ProcessLocale:
            return UserDefaultAnsiCodePage();
        case CodePage::Japanese:
            return 932;
        case CodePage::SystemAnsi:
        default:
            return CP_ACP;
    }
}

}  // namespace

std::optional<std::wstring> Win32TextCodec::Decode(std::string_view bytes, CodePage codePage) {
    return DecodeWindowsCodePage(bytes, ToWindowsCodePage(codePage));
}

unsigned Win32TextCodec::WindowsCodePage(CodePage codePage) {
    const UINT number = ToWindowsCodePage(codePage);
    return number == CP_ACP ? ::GetACP() : number;
}

std::optional<std::wstring> Win32TextCodec::DecodeWindowsCodePage(std::string_view bytes, unsigned windowsCodePage) {
    if (bytes.empty()) return std::wstring();
    if (bytes.size() > static_cast<size_t>(INT_MAX)) return std::nullopt;

    const int byteCount = static_cast<int>(bytes.size());
    const int length = ::MultiByteToWideChar(windowsCodePage, 0, bytes.data(), byteCount, nullptr, 0);
    if (length <= 0) return std::nullopt;
    std::wstring text(static_cast<size_t>(length), L'\0');
    if (::MultiByteToWideChar(windowsCodePage, 0, bytes.data(), byteCount, text.data(), length) != length)
        return std::nullopt;
    return text;
}
