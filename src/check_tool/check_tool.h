#pragma once
// orvane-check: the check of Orvane, run for administrators' tools. It only
// looks: it starts nothing, shows nothing and writes no file but --out's.

#include <chrono>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "check/check_run.h"
#include "check_tool/check_command_line.h"
#include "check_json/check_exit_code.h"
#include "check_json/recording_json.h"
#include "encoding/text_lines.h"
#include "platform/platform.h"
#include "platform/progress_line.h"

struct CheckToolInfo {
    std::wstring version;
    std::wstring utcTime;  // ISO 8601
    std::chrono::milliseconds wmiTimeLimit = CheckRunSettings::kWmiTimeLimit;
    ProgressLine* progress = nullptr;  // where --summary shows how far it is; null: nowhere
};

// What goes to standard output and standard error, as UTF-8.
struct CheckToolOutput {
    std::string standardOutput;
    std::string standardError;
    // A WMI thread is still inside the service, perhaps for good: the caller
    // ends the process around it instead of exiting normally.
    bool wmiWorkOutstanding = false;
};

// Where a report's facts come from: this machine, or a recording of one
// (whose services then stand in for the machine's).
struct CheckSubject {
    FileSystem& files;
    TextCodec& codec;
    SystemInfo& system;
    WmiService& wmi;
    GraphicsDriver& graphics;
    // Where the product is looked for; empty: where the tables are.
    std::wstring productFolder;
    std::optional<std::wstring> machineName;
    std::wstring utcTime;
    // A replay's recording, asked once the check has run.
    std::function<ReplaySource()> replayedFrom;
};

// Runs the check on the subject and renders it as options ask: JSON or text,
// to standard output or --out's file; returns the exit code.
int RunReport(Platform& platform, const CheckOptions& options, const CheckToolInfo& info, const CheckSubject& subject,
              CheckToolOutput& output);

// True when the arguments ask for a check of this PC (the report or Intune's
// settings; neither a replay, a summary, a validation, help or the version,
// nor a wrong command line): only such a run asks the graphics driver, whose
// probe the caller may start early.
bool ChecksThisMachine(const std::vector<std::wstring>& args);

// Runs orvane-check with its arguments (without the program's name) and
// returns the exit code. --out's file is written through platform.files;
// platform.wmi must outlive any thread left in it (wmiWorkOutstanding).
// Whatever happens inside ends here, with kCheckInternalError and one line on
// standard error at worst.
int RunCheckTool(Platform& platform, const std::vector<std::wstring>& args, const CheckToolInfo& info,
                 CheckToolOutput& output);
