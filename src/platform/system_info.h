#pragma once
// Facts about the process, the user and the machine.

#include <optional>
#include <string>

class SystemInfo {
public:
    virtual ~SystemInfo() = default;

    // Full path of the running executable.
    virtual std::wstring ExecutablePath() = 0;

    // The user's temporary folder, ending with a backslash.
    virtual std::optional<std::wstring> TempFolder() = 0;

    // The current user's desktop folder (not created when missing).
    virtual std::optional<std::wstring> DesktopFolder() = 0;

    // The NetBIOS computer name.
    virtual std::optional<std::wstring> ComputerName() = 0;

    // Decimal separator of the process locale (the user's default).
    virtual wchar_t DecimalSeparator() = 0;
};
