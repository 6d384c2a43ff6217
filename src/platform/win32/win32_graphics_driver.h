#pragma once
// The OpenGL driver's strings, read from a throw-away context on a hidden window.

#include <windows.h>

#include <functional>

#include "platform/graphics_driver.h"

class Win32GraphicsDriver : public GraphicsDriver {
public:
    GraphicsReading ReadDriverStrings() override;
};

// The probe's steps in this process. `onRead`, when given, has the reading as
// soon as it is known, before the context, window and library are let go.
GraphicsReading ReadDriverStringsHere(const std::function<void(const GraphicsReading&)>& onRead = {});

// A 1x1 popup of class "DummyOpenGLWindow", never shown; the class is
// registered on the first call of the process. Null when none could be made.
HWND CreateProbeWindow();

// Tries the three pixel formats in order; true when one was set.
bool SetProbePixelFormat(HDC dc);
