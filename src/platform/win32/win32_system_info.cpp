#include "platform/win32/win32_system_info.h"
// Placeholder.
std::wstring Win32SystemInfo::ExecutablePath() { return {}; }
std::optional<std::wstring> Win32SystemInfo::TempFolder() { return std::nullopt; }
std::optional<std::wstring> Win32SystemInfo::DesktopFolder() { return std::nullopt; }
std::optional<std::wstring> Win32SystemInfo::ComputerName() { return std::nullopt; }
wchar_t Win32SystemInfo::DecimalSeparator() { return L'.'; }
