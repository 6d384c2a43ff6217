#include "platform/win32/win32_graphics_driver.h"
// Placeholder.
std::optional<GlDriverStrings> Win32GraphicsDriver::ReadDriverStrings() { return std::nullopt; }
