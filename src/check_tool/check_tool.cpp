#include "check_tool/check_tool.h"

#include <exception>
#include <memory>

#include "check_tool/check_command_line.h"
#include "check/check_run.h"
#include "check/check_view.h"
#include "check_tool/replay_command.h"
#include "replay/check_replay.h"
#include "check_json/check_report_json.h"
#include "fleet/fleet_commands.h"
#include "replay/looking_services.h"
#include "tables/table_validator.h"
#include "ui/report_file.h"
#include "ui/result_report.h"
#include "encoding/utf8_encoding.h"

namespace {

const std::string kUtf8Bom = "\xEF\xBB\xBF";

// The result to --out's file or standard output.
int Deliver(Platform& platform, const CheckOptions& options, const std::string& bytes, int exitCode,
            CheckToolOutput& output) {
    if (!options.outFile) {
        output.standardOutput += bytes;
        return exitCode;
    }
    if (platform.files.ReplaceFile(*options.outFile, bytes) == WriteResult::Written) return exitCode;
    output.standardError += TextLines(L"orvane-check: cannot write " + *options.outFile + L"\n");
    return kCheckOutputNotWritten;
}

// --summary, --intune and --intune-rules: the fleet's own folder does them.
int RunFleet(Platform& platform, const CheckOptions& options, const CheckToolInfo& info, CheckToolOutput& output) {
    FleetRequest request;
    request.action = options.action == CheckOptions::Action::Intune        ? FleetRequest::Action::Intune
                     : options.action == CheckOptions::Action::IntuneRules ? FleetRequest::Action::IntuneRules
                                                                           : FleetRequest::Action::Summary;
    request.tablesFolder = options.tablesFolder;
    request.summaryPaths = options.summaryPaths;
    request.csvFile = options.csvFile;
    request.htmlFile = options.htmlFile;
    FleetOutput fleet;
    const int exitCode = RunFleetCommand(platform, request, {info.utcTime, info.wmiTimeLimit, info.progress}, fleet);
    output.standardError += fleet.standardError;
    output.wmiWorkOutstanding = fleet.wmiWorkOutstanding;
    if (fleet.result.empty()) return exitCode;
    return Deliver(platform, options, fleet.result, exitCode, output);
}

int RunValidation(Platform& platform, const CheckOptions& options, CheckToolOutput& output) {
    const std::wstring folder = options.tablesFolder.value_or(ExeFolderOf(platform.system.ExecutablePath()));
    const std::vector<TableProblem> problems = ValidateTables(platform.files, platform.codec, folder);
    std::wstring lines;
    for (const TableProblem& problem : problems) lines += FormatTableProblem(problem) + L"\n";
    return Deliver(platform, options, TextLines(lines), ValidationExitCode(problems), output);
}

}  // namespace

int RunReport(Platform& platform, const CheckOptions& options, const CheckToolInfo& info, const CheckSubject& subject,
              CheckToolOutput& output) {
    // Whatever the caller's platform would show, start or write, we put aside.
    LookingServices services;
    Platform looking =
        services.Over(platform, subject.files, subject.codec, subject.system, subject.wmi, subject.graphics);

    const CheckRun run(looking, LookingCheckSettings(options.tablesFolder, info.wmiTimeLimit,
                                                     subject.replayedFrom != nullptr, subject.productFolder));
    const CheckResult& result = run.Result();
    output.wmiWorkOutstanding = run.WmiWorkOutstanding();

    const wchar_t decimalSeparator = result.decimalSeparator;
    const ResultView view = ComposeCheckView(result, decimalSeparator);

    CheckOutcome outcome;
    outcome.toolVersion = info.version;
    outcome.machineName = subject.machineName;
    outcome.utcTime = subject.utcTime;
    if (subject.replayedFrom) outcome.replayedFrom = subject.replayedFrom();
    outcome.exitCode = CheckRunExitCode(result);
    outcome.status = view.status;

    for (const std::wstring& text : services.messages.texts) output.standardError += TextLines(L"orvane-check: " + text + L"\n");
    if (!result.WmiReached()) output.standardError += TextLines(L"orvane-check: WMI could not be reached\n");
    else
        for (const std::wstring& query : result.unansweredQueries)
            output.standardError += TextLines(L"orvane-check: WMI gave no answer to " + query + L"\n");

    if (options.format == CheckOptions::Format::Json)
        return Deliver(platform, options, CheckReportJson(result, outcome, decimalSeparator), outcome.exitCode,
                       output);

    // The report file's bytes; its byte-order mark only in a file of its own.
    std::string text = ReportFileBytes(view.status, view.report);
    if (!options.outFile && text.compare(0, kUtf8Bom.size(), kUtf8Bom) == 0) text.erase(0, kUtf8Bom.size());
    return Deliver(platform, options, text, outcome.exitCode, output);
}

namespace {

int RunCommand(Platform& platform, const std::vector<std::wstring>& args, const CheckToolInfo& info,
               CheckToolOutput& output) {
    const ParsedCheckCommandLine parsed = ParseCheckCommandLine(args);
    if (!parsed.options) {
        output.standardError += TextLines(L"orvane-check: " + parsed.error + L"\n" + kCheckUsage);
        return kCheckWrongCommandLine;
    }
    const CheckOptions& options = *parsed.options;
    switch (options.action) {
        case CheckOptions::Action::Help:
            output.standardOutput += TextLines(kCheckUsage);
            return 0;
        case CheckOptions::Action::Version:
            output.standardOutput += TextLines(L"orvane-check " + info.version + L"\n");
            return 0;
        case CheckOptions::Action::Validate:
            return RunValidation(platform, options, output);
        case CheckOptions::Action::Replay:
            return RunReplay(platform, options, info, output);
        case CheckOptions::Action::Summary:
        case CheckOptions::Action::Intune:
        case CheckOptions::Action::IntuneRules:
            return RunFleet(platform, options, info, output);
        case CheckOptions::Action::Report:
            break;
    }
    const CheckSubject thisMachine{platform.files,   platform.codec, platform.system,
                                   platform.wmi,     platform.graphics, std::wstring(),
                                   platform.system.ComputerName(), info.utcTime, nullptr};
    return RunReport(platform, options, info, thisMachine, output);
}

}  // namespace

bool ChecksThisMachine(const std::vector<std::wstring>& args) {
    const ParsedCheckCommandLine parsed = ParseCheckCommandLine(args);
    if (!parsed.options) return false;
    const CheckOptions::Action action = parsed.options->action;
    return action == CheckOptions::Action::Report || action == CheckOptions::Action::Intune;
}

int RunCheckTool(Platform& platform, const std::vector<std::wstring>& args, const CheckToolInfo& info,
                 CheckToolOutput& output) {
    int exitCode = kCheckInternalError;
    const std::optional<std::string> error =
        InternalErrorOf([&] { exitCode = RunCommand(platform, args, info, output); });
    if (!error) return exitCode;
    output.standardError += *error;
    // Whatever was started may still run, WMI's thread among them: the
    // process ends around it. Output is only ever added whole, so what is
    // there stands.
    output.wmiWorkOutstanding = true;
    return kCheckInternalError;
}
