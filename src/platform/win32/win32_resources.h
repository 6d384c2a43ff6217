#pragma once

#include "platform/resources.h"

class Win32Resources : public Resources {
public:
    std::optional<std::string> LoadText(int id) override;
};
