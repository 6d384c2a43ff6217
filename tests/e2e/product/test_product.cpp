// Stands in for the product in the end-to-end tests: records how it was
// started and ends at once, without a window.
//
// Appends three UTF-8 lines to "launched.txt" beside itself (or to the file
// named by ORVANE_TEST_PRODUCT_LOG): the full command line, the current
// folder, and the start time in 100 ns units since 1601 (UTC).

#include <windows.h>

#include <string>
#include <vector>

namespace {

std::wstring ModulePath() {
    std::vector<wchar_t> buffer(MAX_PATH);
    for (;;) {
        const DWORD n = ::GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
        if (n == 0) return {};
        if (n < buffer.size()) return std::wstring(buffer.data(), n);
        buffer.resize(buffer.size() * 2);
    }
}

std::wstring LogPath() {
    const DWORD n = ::GetEnvironmentVariableW(L"ORVANE_TEST_PRODUCT_LOG", nullptr, 0);
    if (n > 1) {
        std::wstring path(n, L'\0');
        path.resize(::GetEnvironmentVariableW(L"ORVANE_TEST_PRODUCT_LOG", &path[0], n));
        return path;
    }
    std::wstring path = ModulePath();
    path.erase(path.find_last_of(L'\\') + 1);
    return path + L"launched.txt";
}

std::wstring CurrentFolder() {
    const DWORD n = ::GetCurrentDirectoryW(0, nullptr);
    std::wstring folder(n, L'\0');
    folder.resize(::GetCurrentDirectoryW(n, &folder[0]));
    return folder;
}

std::string Utf8(const std::wstring& text) {
    if (text.empty()) return {};
    const int n = ::WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr,
                                        nullptr);
    std::string out(static_cast<size_t>(n), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), &out[0], n, nullptr, nullptr);
    return out;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    FILETIME now{};
    ::GetSystemTimePreciseAsFileTime(&now);
    const unsigned long long started = (static_cast<unsigned long long>(now.dwHighDateTime) << 32) | now.dwLowDateTime;

    const std::string record = Utf8(::GetCommandLineW()) + "\r\n" + Utf8(CurrentFolder()) + "\r\n" +
                               std::to_string(started) + "\r\n";

    const HANDLE file = ::CreateFileW(LogPath().c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                      nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return 1;
    DWORD written = 0;
    const BOOL ok = ::WriteFile(file, record.data(), static_cast<DWORD>(record.size()), &written, nullptr);
    ::CloseHandle(file);
    return ok && written == record.size() ? 0 : 1;
}
