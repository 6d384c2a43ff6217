#include "platform/win32/win32_process_launcher.h"
// Placeholder.
bool Win32ProcessLauncher::Start(const std::wstring&, const std::wstring&) { return false; }
