#pragma once
// Registry values under HKEY_LOCAL_MACHINE (the 32-bit view).

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

struct RegistryValue {
    static constexpr uint32_t kString = 1;        // REG_SZ
    static constexpr uint32_t kExpandString = 2;  // REG_EXPAND_SZ

    uint32_t type = 0;
    std::vector<uint8_t> data;  // raw bytes as stored
};

class Registry {
public:
    virtual ~Registry() = default;

    // nullopt when the key cannot be opened or the value cannot be read.
    virtual std::optional<RegistryValue> ReadLocalMachineValue(const std::wstring& keyPath,
                                                               const std::wstring& valueName) = 0;
};
