#pragma once
// Starting the product.

#include <string>

class ProcessLauncher {
public:
    virtual ~ProcessLauncher() = default;

    // Starts the program without waiting for it, in our own current folder.
    // Returns whether the process was created.
    virtual bool Start(const std::wstring& applicationPath, const std::wstring& commandLine) = 0;
};
