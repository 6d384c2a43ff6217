#pragma once

#include "platform/profile_files.h"

class Win32ProfileFiles : public ProfileFiles {
public:
    std::wstring Read(const std::wstring& section, const std::wstring& key, const std::wstring& defaultText,
                      const std::wstring& file) override;
    void Write(const std::wstring& section, const std::wstring& key, const std::wstring& value,
               const std::wstring& file) override;
};
