#pragma once
// The OpenGL driver's strings, read from a throw-away context on a hidden window.

#include <windows.h>

#include "platform/graphics_driver.h"

class Win32GraphicsDriver : public GraphicsDriver {
public:
    std::optional<GlDriverStrings> ReadDriverStrings() override;
};

// A 1x1 popup of class "DummyOpenGLWindow", never shown; the class is
// registered on the first call of the process. Null when none could be made.
HWND CreateProbeWindow();

// Tries the three pixel formats in order; true when one was set.
bool SetProbePixelFormat(HDC dc);
