#include "orvane/report_recording.h"

#include "check_json/check_exit_code.h"
#include "check_json/check_report_json.h"
#include "ui/report_file.h"

std::wstring ReportRecordingPath(const std::wstring& desktopFolder, const std::wstring& computerName) {
    std::wstring path = ReportFilePath(desktopFolder, computerName);
    return path.replace(path.rfind(L".txt"), 4, L".json");
}

void WriteReportRecording(FileSystem& files, SystemInfo& system, const CheckResult& result,
                          const std::wstring& status, const OrvaneRunStamp& stamp) {
    const std::optional<std::wstring> desktop = system.DesktopFolder();
    const std::optional<std::wstring> computer = system.ComputerName();
    if (!desktop || !computer) return;

    CheckOutcome outcome;
    outcome.toolName = L"Orvane";
    outcome.toolVersion = stamp.version;
    outcome.machineName = computer;
    outcome.utcTime = stamp.utcTime;
    outcome.exitCode = CheckRunExitCode(result);
    outcome.status = status;
    files.ReplaceFile(ReportRecordingPath(*desktop, *computer),
                      CheckReportJson(result, outcome, result.decimalSeparator));
}
