#pragma once

#include "platform/system_info.h"

class Win32SystemInfo : public SystemInfo {
public:
    std::wstring ExecutablePath() override;
    std::optional<std::wstring> TempFolder() override;
    std::optional<std::wstring> DesktopFolder() override;
    std::optional<std::wstring> ComputerName() override;
    wchar_t DecimalSeparator() override;
    bool RemoteSession() override;
};
