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

    // True when the program runs in a remote desktop session, where the
    // graphics driver of the PC itself is not in use. A platform that cannot
    // tell says false: the fact only adds a word of advice.
    virtual bool RemoteSession() { return false; }
};
