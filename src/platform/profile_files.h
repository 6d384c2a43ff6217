#pragma once
// Windows profile (.ini) files.

#include <string>

class ProfileFiles {
public:
    virtual ~ProfileFiles() = default;

    // The key's text, whole; defaultText when the file, section or key is missing.
    virtual std::wstring Read(const std::wstring& section, const std::wstring& key,
                              const std::wstring& defaultText, const std::wstring& file) = 0;

    // Writes one key, creating the file and section when missing; the outcome is not reported.
    virtual void Write(const std::wstring& section, const std::wstring& key, const std::wstring& value,
                       const std::wstring& file) = 0;
};
