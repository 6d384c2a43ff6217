#include "platform/win32/win32_wmi_service.h"
// Placeholder.
std::unique_ptr<WmiSession> Win32WmiService::Connect(const std::wstring&) { return nullptr; }
