#include "platform/win32/win32_registry.h"
// Placeholder.
std::optional<RegistryValue> Win32Registry::ReadLocalMachineValue(const std::wstring&, const std::wstring&) {
    return std::nullopt;
}
