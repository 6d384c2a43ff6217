#pragma once

#include "platform/registry.h"

class Win32Registry : public Registry {
public:
    std::optional<RegistryValue> ReadLocalMachineValue(const std::wstring& keyPath,
                                                       const std::wstring& valueName) override;
};
