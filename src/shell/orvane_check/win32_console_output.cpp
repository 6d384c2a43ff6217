#include "shell/orvane_check/win32_console_output.h"

#include <windows.h>

#include <algorithm>
#include <climits>
#include <string_view>

#include "encoding/utf16_prefix.h"

namespace {

bool IsConsole(HANDLE handle) {
    DWORD mode = 0;
    return ::GetFileType(handle) == FILE_TYPE_CHAR && ::GetConsoleMode(handle, &mode);
}

std::wstring FromUtf8(const std::string& utf8) {
    if (utf8.empty() || utf8.size() > INT_MAX) return std::wstring();
    const int size = static_cast<int>(utf8.size());
    const int length = ::MultiByteToWideChar(CP_UTF8, 0, utf8.data(), size, nullptr, 0);
    if (length <= 0) return std::wstring();
    std::wstring text(static_cast<size_t>(length), L'\0');
    ::MultiByteToWideChar(CP_UTF8, 0, utf8.data(), size, text.data(), length);
    return text;
}

// Pieces small enough for any console and any pipe.
constexpr DWORD kPiece = 16384;

bool WriteConsoleText(HANDLE handle, const std::wstring& text) {
    for (size_t at = 0; at < text.size();) {
        // A surrogate pair stays in one piece; a piece holds far more than one unit.
        const DWORD want = static_cast<DWORD>(WholeCharacterPrefix(std::wstring_view(text).substr(at), kPiece));
        DWORD written = 0;
        if (!::WriteConsoleW(handle, text.data() + at, want, &written, nullptr) || written == 0) return false;
        at += written;
    }
    return true;
}

bool WriteBytes(HANDLE handle, const std::string& bytes) {
    for (size_t at = 0; at < bytes.size();) {
        const DWORD want = static_cast<DWORD>(std::min<size_t>(kPiece, bytes.size() - at));
        DWORD written = 0;
        if (!::WriteFile(handle, bytes.data() + at, want, &written, nullptr) || written == 0) return false;
        at += written;
    }
    return true;
}

}  // namespace

bool WriteStandardStream(StandardStream stream, const std::string& utf8) {
    if (utf8.empty()) return true;
    const HANDLE handle = ::GetStdHandle(stream == StandardStream::Output ? STD_OUTPUT_HANDLE : STD_ERROR_HANDLE);
    if (handle == nullptr || handle == INVALID_HANDLE_VALUE) return false;
    if (IsConsole(handle)) return WriteConsoleText(handle, FromUtf8(utf8));
    return WriteBytes(handle, utf8);
}

bool Win32ProgressLine::Watched() { return IsConsole(::GetStdHandle(STD_ERROR_HANDLE)); }

uint64_t Win32ProgressLine::NowMs() { return ::GetTickCount64(); }

void Win32ProgressLine::Show(const std::wstring& text) {
    const HANDLE handle = ::GetStdHandle(STD_ERROR_HANDLE);
    if (!IsConsole(handle)) return;
    // Over the line before, blanks where it was longer; back to its start when cleared.
    std::wstring line = L"\r" + text + std::wstring(shown_ > text.size() ? shown_ - text.size() : 0, L' ');
    if (text.empty()) line += L'\r';
    WriteConsoleText(handle, line);
    shown_ = text.size();
}
