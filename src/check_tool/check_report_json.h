#pragma once
// orvane-check's JSON document: what one check found, for scripts.

#include <array>
#include <optional>
#include <string>

#include "check/check_result.h"
#include "check_tool/recording_json.h"

inline constexpr int kCheckJsonSchemaVersion = 1;

// What the console run adds to the check's result.
struct CheckOutcome {
    std::wstring toolVersion;
    std::optional<std::wstring> machineName;
    std::wstring utcTime;  // ISO 8601, e.g. "2026-01-31T08:15:00Z"
    int exitCode = 0;
    std::wstring status;  // the status line the result dialog would show
    std::optional<ReplaySource> replayedFrom;  // a replay's recording
};

// The software renderer that the vendor or renderer string names, in any
// letter case ("llvmpipe", "GDI Generic", ...); empty when it names none.
// Such a renderer usually means a remote session, a virtual machine or a
// missing driver.
std::wstring SoftwareRendererHint(const std::array<std::wstring, OrvaneRec::glCount>& glInfo);

// The whole document, as UTF-8 ending with a line end.
std::string CheckReportJson(const CheckResult& result, const CheckOutcome& outcome, wchar_t decimalSeparator);
