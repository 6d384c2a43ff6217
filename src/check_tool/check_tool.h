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
#include "check_json/recording_json.h"
#include "platform/platform.h"

// Stable: deployment tools act on them.
enum CheckExitCode : int {
    kCheckMeets = 0,
    kCheckFallsShort = 1,
    kCheckTableUnusable = 2,
    kCheckWmiUnreachable = 3,
    kCheckWrongCommandLine = 64,
    kCheckInternalError = 70,  // the program could not go on (a system DLL missing, say)
    kCheckOutputNotWritten = 74,  // --out's file could not be written
};

struct CheckToolInfo {
    std::wstring version;
    std::wstring utcTime;  // ISO 8601
    std::chrono::milliseconds wmiTimeLimit = CheckRunSettings::kWmiTimeLimit;
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
    WmiService& wmi;
    GraphicsDriver& graphics;
    std::optional<std::wstring> machineName;
    std::wstring utcTime;
    // A replay's recording, asked once the check has run.
    std::function<ReplaySource()> replayedFrom;
};

// Runs the check on the subject and renders it as options ask: JSON or text,
// to standard output or --out's file; returns the exit code.
int RunReport(Platform& platform, const CheckOptions& options, const CheckToolInfo& info, const CheckSubject& subject,
              CheckToolOutput& output);

// Console text: CR LF line ends, UTF-8.
std::string TextLines(std::wstring_view text);

// The exit code of a check: an unusable table before an unreachable or
// incompletely answering WMI before the verdict.
int CheckRunExitCode(const CheckResult& result);

// Runs orvane-check with its arguments (without the program's name) and
// returns the exit code. --out's file is written through platform.files;
// platform.wmi must outlive any thread left in it (wmiWorkOutstanding).
int RunCheckTool(Platform& platform, const std::vector<std::wstring>& args, const CheckToolInfo& info,
                 CheckToolOutput& output);
