#pragma once
// The OpenGL driver's identification strings.

#include <array>
#include <optional>
#include <string>

// GL_VENDOR, GL_RENDERER, GL_VERSION, GL_SHADING_LANGUAGE_VERSION, as 8-bit
// text; nullopt for a string the driver did not give.
using GlDriverStrings = std::array<std::optional<std::string>, 4>;

class GraphicsDriver {
public:
    virtual ~GraphicsDriver() = default;

    // nullopt when no probe window or device context could be had.
    virtual std::optional<GlDriverStrings> ReadDriverStrings() = 0;
};
