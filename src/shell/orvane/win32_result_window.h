#pragma once

#include "platform/result_window.h"

class Win32ResultWindow : public ResultWindow {
public:
    void Run(const ResultView& view, const std::function<SaveOutcome()>& save,
             const std::wstring& saveFailedText) override;
};
