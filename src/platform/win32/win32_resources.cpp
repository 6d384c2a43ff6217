#include "platform/win32/win32_resources.h"

#include <windows.h>

std::optional<std::string> Win32Resources::LoadText(int id) {
    HRSRC found = ::FindResourceW(nullptr, MAKEINTRESOURCEW(id), L"TEXT");
    if (!found) return std::nullopt;
    const DWORD size = ::SizeofResource(nullptr, found);
    if (size == 0) return std::nullopt;
    // Resources of the module live as long as the module: nothing to release.
    HGLOBAL loaded = ::LoadResource(nullptr, found);
    if (!loaded) return std::nullopt;
    const void* bytes = ::LockResource(loaded);
    if (!bytes) return std::nullopt;
    // No terminating zero: the size is the text's length.
    return std::string(static_cast<const char*>(bytes), size);
}
