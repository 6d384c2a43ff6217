#include "platform/win32/win32_resources.h"
// Placeholder.
std::optional<std::string> Win32Resources::LoadText(int) { return std::nullopt; }
