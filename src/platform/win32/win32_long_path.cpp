#include "platform/win32/win32_long_path.h"

#include <windows.h>

// A new folder's path must leave room for an 8.3 file name (MAX_PATH - 12).
constexpr size_t kShortPathLimit = MAX_PATH - 12;

std::wstring ExtendedLengthPath(const std::wstring& path) {
    if (path.size() < kShortPathLimit) return path;
    if (path.compare(0, 4, L"\\\\?\\") == 0) return path;
    // The prefix turns off the normalisation of "/" and "..": leave such paths alone.
    if (path.find(L'/') != std::wstring::npos || path.find(L"\\..") != std::wstring::npos) return path;
    if (path.size() >= 3 && path[1] == L':' && path[2] == L'\\') return L"\\\\?\\" + path;
    if (path.compare(0, 2, L"\\\\") == 0) return L"\\\\?\\UNC\\" + path.substr(2);
    return path;
}
