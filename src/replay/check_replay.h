#pragma once
// A recorded machine checked against the tables by the one check run, as if
// on that machine: the core of --replay and of the fleet's commands.

#include <chrono>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "check/check_run.h"
#include "platform/platform.h"
#include "recording/machine_recording.h"
#include "recording/recorded_platform.h"
#include "replay/looking_services.h"

// The settings of a check that only looks, as orvane-check runs it. A
// recorded machine answers WMI from memory, on the run's own thread: no
// thread of its own to wait for, or to outlive the recording.
// productFolder: where the product is looked for; empty: where the tables are.
CheckRunSettings LookingCheckSettings(const std::optional<std::wstring>& tablesFolder,
                                      std::chrono::milliseconds wmiTimeLimit = CheckRunSettings::kWmiTimeLimit,
                                      bool recorded = false, const std::wstring& productFolder = std::wstring());

// The recording a file holds, or nullopt with the reason in why.
std::optional<MachineRecording> ReadRecordingFile(FileSystem& files, const std::wstring& path, std::wstring& why);

// The folder a check takes its tables from and looks for the product in:
// tablesFolder (ending with a backslash) when given, else the program's own.
std::wstring CheckFolder(Platform& platform, const std::optional<std::wstring>& tablesFolder);

// One recorded machine under the one check run, with nothing shown, started
// or written.
class ReplayedCheck {
public:
    ReplayedCheck(Platform& platform, MachineRecording recording, const std::optional<std::wstring>& tablesFolder);

    const CheckResult& Result() const { return run_->Result(); }
    const MachineRecording& Recording() const { return machine_.Recording(); }
    std::vector<std::wstring> Unrecorded() const { return machine_.Unrecorded(); }
    // What the table loaders would have shown.
    const std::vector<std::wstring>& Messages() const { return services_.messages.texts; }

private:
    RecordedMachine machine_;
    LookingServices services_;
    Platform looking_;
    std::unique_ptr<CheckRun> run_;
};

// The report label of every item the report marks as falling short, in
// report order: a property's label up to its value, trailing blanks cut, and
// "GL_VERSION:" for the graphics.
std::vector<std::wstring> FailingItems(const CheckResult& result);
