#pragma once
// The report text, the status line, and the report file.

#include <string>

#include "platform/platform.h"
#include "platform/result_window.h"
#include "tables/orvane_rec.h"
#include "tables/wmi_records.h"

// Everything the result dialog shows for this run.
ResultView ComposeResultView(const CWMI& wmiResult, const OrvaneRec& runRecord, bool exeExists,
                             wchar_t decimalSeparator);

// Saves status and report as "Orvane[computer].txt" on the desktop.
SaveOutcome WriteReportFile(FileSystem& files, SystemInfo& system, const std::wstring& status,
                            const std::wstring& report);

extern const wchar_t* const kReportSaveFailedMessage;
