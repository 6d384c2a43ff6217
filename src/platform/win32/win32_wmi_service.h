#pragma once

#include "platform/wmi_service.h"

class Win32WmiService : public WmiService {
public:
    std::unique_ptr<WmiSession> Connect(const std::wstring& wmiNamespace) override;
};
