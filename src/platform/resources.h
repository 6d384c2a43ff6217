#pragma once
// Built-in "TEXT" resources of the executable.

#include <optional>
#include <string>

class Resources {
public:
    virtual ~Resources() = default;

    // The resource's bytes; nullopt when it is missing, empty or cannot be loaded.
    virtual std::optional<std::string> LoadText(int id) = 0;
};
