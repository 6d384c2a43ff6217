#pragma once

#include "platform/process_launcher.h"

class Win32ProcessLauncher : public ProcessLauncher {
public:
    bool Start(const std::wstring& applicationPath, const std::wstring& commandLine) override;
};
