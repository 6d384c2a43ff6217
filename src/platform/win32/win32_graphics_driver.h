#pragma once
// The OpenGL driver's strings, read from a throw-away context on a hidden
// window: here, or in a process of our own that a driver fault cannot take
// us down with.

#include <windows.h>

#include <chrono>
#include <functional>
#include <optional>

#include "platform/graphics_driver.h"
#include "platform/win32/win32_graphics_probe_process.h"
#include "platform/win32/win32_own_image.h"

// The probe in a child process: this same program, started by Begin() from
// our own file, held from then on for the rest of the run. A driver that
// hangs costs kDeadline at most, one that crashes only the child.
class Win32GraphicsDriver : public GraphicsDriver {
public:
    static constexpr std::chrono::milliseconds kDeadline{5000};

    void Begin() override;
    GraphicsReading ReadDriverStrings() override;

private:
    std::optional<OwnImageHold> ownImage_;  // outlives the child
    GraphicsProbeProcess child_;
    bool begun_ = false;
    bool childStarted_ = false;
};

// The probe's steps in the calling process.
class Win32InProcessGraphicsDriver : public GraphicsDriver {
public:
    GraphicsReading ReadDriverStrings() override;
};

// The probe's steps in this process. `onRead`, when given, has the reading as
// soon as it is known, before the context, window and library are let go.
GraphicsReading ReadDriverStringsHere(const std::function<void(const GraphicsReading&)>& onRead = {});

// A 1x1 popup of class "DummyOpenGLWindow", never shown; the class is
// registered on the first call of the process. Null when none could be made.
HWND CreateProbeWindow();

// Sets the first pixel format that has OpenGL, a window and RGBA (the
// driver's before Windows' software ones), else tries the three requests in
// order; true when one was set.
bool SetProbePixelFormat(HDC dc);
