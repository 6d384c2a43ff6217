#pragma once
// orvane-check's commands for a fleet and for the tools that manage one: the
// summary of many recordings (totals, CSV, a page to look at) and Intune's
// custom compliance (this PC's settings, and the rules for them).
// orvane-check's dispatcher reaches the folder through this header alone.

#include <chrono>
#include <optional>
#include <string>
#include <vector>

#include "platform/platform.h"
#include "platform/progress_line.h"

struct FleetRequest {
    enum class Action { Summary, Intune, IntuneRules };
    Action action = Action::Summary;
    std::optional<std::wstring> tablesFolder;  // ending with a backslash
    std::vector<std::wstring> summaryPaths;    // recordings, and folders of them
    std::optional<std::wstring> csvFile;       // with Summary
    std::optional<std::wstring> htmlFile;      // with Summary
};

struct FleetContext {
    std::wstring utcTime;  // ISO 8601: when the command runs
    std::chrono::milliseconds wmiTimeLimit;
    ProgressLine* progress = nullptr;  // null: none is shown
};

struct FleetOutput {
    std::string result;  // UTF-8, for --out's file or standard output
    std::string standardError;
    // A WMI thread is still inside the service (Intune's live check): the
    // caller ends the process around it.
    bool wmiWorkOutstanding = false;
};

// Runs the command and returns its exit code (CheckExitCode).
int RunFleetCommand(Platform& platform, const FleetRequest& request, const FleetContext& context,
                    FleetOutput& output);
