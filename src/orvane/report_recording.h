#pragma once
// The run's recording, saved beside the report file: the JSON orvane-check
// gives of the same run, from which support replays the report the user saw.

#include <string>

#include "check/check_result.h"
#include "platform/file_system.h"
#include "platform/system_info.h"

// What the JSON names of this program and its run.
struct OrvaneRunStamp {
    std::wstring version;  // e.g. "1.0.0"
    std::wstring utcTime;  // when the run started, ISO 8601: "2026-01-31T08:15:00Z"
};

// "<desktop>\Orvane[<computer>].json", beside the report file.
std::wstring ReportRecordingPath(const std::wstring& desktopFolder, const std::wstring& computerName);

// Writes it for the run whose dialog showed status. Silent when it cannot:
// the report file is what the user was promised.
void WriteReportRecording(FileSystem& files, SystemInfo& system, const CheckResult& result,
                          const std::wstring& status, const OrvaneRunStamp& stamp);
