#pragma once

#include "platform/graphics_driver.h"

class Win32GraphicsDriver : public GraphicsDriver {
public:
    std::optional<GlDriverStrings> ReadDriverStrings() override;
};
