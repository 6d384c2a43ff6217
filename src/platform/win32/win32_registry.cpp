#include "platform/win32/win32_registry.h"

#include <windows.h>

#include "platform/win32/unique_resource.h"

std::optional<RegistryValue> Win32Registry::ReadLocalMachineValue(const std::wstring& keyPath,
                                                                  const std::wstring& valueName) {
    // The product is a 32-bit program and registers itself in the 32-bit view;
    // name it, so that a 64-bit build of ours reads the same place.
    UniqueHkey key;
    if (::RegOpenKeyExW(HKEY_LOCAL_MACHINE, keyPath.c_str(), 0, KEY_READ | KEY_WOW64_32KEY, key.put()) !=
        ERROR_SUCCESS)
        return std::nullopt;

    RegistryValue value;
    DWORD type = 0;
    DWORD size = 0;
    if (::RegQueryValueExW(key.get(), valueName.c_str(), nullptr, &type, nullptr, &size) != ERROR_SUCCESS)
        return std::nullopt;

    // The value may grow between the two calls; ask again with the new size.
    for (;;) {
        value.data.resize(size);
        DWORD got = size;
        const LSTATUS status = ::RegQueryValueExW(key.get(), valueName.c_str(), nullptr, &type,
                                                  size ? value.data.data() : nullptr, &got);
        if (status == ERROR_MORE_DATA) {
            size = got > size ? got : size * 2 + 2;
            continue;
        }
        if (status != ERROR_SUCCESS) return std::nullopt;
        value.data.resize(got);
        break;
    }
    value.type = type;
    return value;
}
