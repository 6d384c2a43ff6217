#pragma once
// Message boxes.

#include <string>

class Messages {
public:
    virtual ~Messages() = default;

    // OK button, exclamation icon, captioned with the executable's name.
    virtual void ShowAppMessage(const std::wstring& text) = 0;

    // OK button, warning icon, no owner and no caption of our own.
    virtual void ShowUncaptionedWarning(const std::wstring& text) = 0;
};
