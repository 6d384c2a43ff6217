#pragma once
// orvane-check's JSON document: what one check found, for scripts.

#include <array>
#include <optional>
#include <string>

#include "check/check_result.h"
#include "probes/software_renderer.h"
#include "check_json/recording_json.h"

inline constexpr int kCheckJsonSchemaVersion = 1;

// What the front end adds to the check's result.
struct CheckOutcome {
    std::wstring toolName = L"orvane-check";  // the program that ran the check
    std::wstring toolVersion;
    std::optional<std::wstring> machineName;
    std::wstring utcTime;  // ISO 8601, e.g. "2026-01-31T08:15:00Z"
    int exitCode = 0;
    std::wstring status;  // the status line the result dialog would show
    std::optional<ReplaySource> replayedFrom;  // a replay's recording
};

// The whole document, as UTF-8 ending with a line end.
std::string CheckReportJson(const CheckResult& result, const CheckOutcome& outcome, wchar_t decimalSeparator);
