#pragma once

#include "platform/messages.h"

class Win32Messages : public Messages {
public:
    void ShowAppMessage(const std::wstring& text) override;
    void ShowUncaptionedWarning(const std::wstring& text) override;
};
