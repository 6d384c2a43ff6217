#pragma once
// Orvane.exe: one check, then the product's settings, and either the product
// or the result dialog with its report file.

#include <chrono>
#include <memory>
#include <string>

#include "check/check_run.h"
#include "platform/platform.h"

class OrvaneApp {
public:
    explicit OrvaneApp(Platform& platform,
                       std::chrono::milliseconds wmiTimeLimit = CheckRunSettings::kWmiTimeLimit);

    OrvaneApp(const OrvaneApp&) = delete;
    OrvaneApp& operator=(const OrvaneApp&) = delete;

    // Runs the whole check and what follows it; always false, there is no
    // message loop after it.
    bool InitInstance();

    // The executable's drive and folder followed by name.
    std::wstring GetExeDirPath(const std::wstring& name);

    // True while a thread that asked WMI may still be inside the service: the
    // process should end without waiting for it.
    bool WmiWorkOutstanding() const;

    // What the run found; null before InitInstance.
    const CheckResult* Result() const { return run_ ? &run_->Result() : nullptr; }
    // Where the settings were written ("" when they were not).
    const std::wstring& SettingsPath() const { return settingsPath_; }

private:
    void ShowResultDialog(const CheckResult& result);

    Platform& platform_;
    std::chrono::milliseconds wmiTimeLimit_;
    std::unique_ptr<CheckRun> run_;
    std::wstring settingsPath_;
};
