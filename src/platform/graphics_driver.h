#pragma once
// The OpenGL driver's identification strings.

#include <array>
#include <optional>
#include <string>

// GL_VENDOR, GL_RENDERER, GL_VERSION, GL_SHADING_LANGUAGE_VERSION, as 8-bit
// text; nullopt for a string the driver did not give.
using GlDriverStrings = std::array<std::optional<std::string>, 4>;

// What one look at the driver gave.
struct GraphicsReading {
    enum class Outcome {
        Read,          // a context was current and the strings were asked for
        NoWindow,      // no window, device context, pixel format or context could be made
        DriverHung,    // the driver did not answer before the probe's deadline
        DriverFailed,  // the driver crashed the probe
    };

    Outcome outcome = Outcome::NoWindow;
    // nullopt without a window or device context, and whenever the driver
    // hung or failed; all four missing when there was a window but no context.
    std::optional<GlDriverStrings> strings;
};

class GraphicsDriver {
public:
    virtual ~GraphicsDriver() = default;

    // Starts the probe without waiting (e.g. starts the child process); a
    // no-op where nothing can run ahead.
    virtual void Begin() {}

    // The driver's strings, waiting for them at most until the probe's own deadline.
    virtual GraphicsReading ReadDriverStrings() = 0;
};
