#include "check_tool/check_tool.h"

#include <memory>

#include "check_tool/check_command_line.h"
#include "check/check_run.h"
#include "check/check_view.h"
#include "check_tool/check_replay.h"
#include "check_json/check_report_json.h"
#include "check_tool/fleet_summary.h"
#include "check_tool/looking_services.h"
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

int RunValidation(Platform& platform, const CheckOptions& options, CheckToolOutput& output) {
    const std::wstring folder = options.tablesFolder.value_or(ExeFolderOf(platform.system.ExecutablePath()));
    const std::vector<TableProblem> problems = ValidateTables(platform.files, platform.codec, folder);
    std::wstring lines;
    for (const TableProblem& problem : problems) lines += FormatTableProblem(problem) + L"\n";
    return Deliver(platform, options, TextLines(lines), ValidationExitCode(problems), output);
}

}  // namespace

std::string TextLines(std::wstring_view text) {
    std::wstring crlf;
    for (wchar_t c : text) {
        if (c == L'\n') crlf += L'\r';
        crlf += c;
    }
    return EncodeUtf8(crlf);
}

int RunReport(Platform& platform, const CheckOptions& options, const CheckToolInfo& info, const CheckSubject& subject,
              CheckToolOutput& output) {
    // Whatever the caller's platform would show, start or write, we put aside.
    CollectedMessages messages;
    RefusingLauncher launcher;
    NoProfileFiles profiles;
    NoResultWindow resultWindow;
    Platform looking{subject.files, subject.codec,    platform.resources, messages,          platform.system,
                     launcher,      subject.wmi,      subject.graphics,   platform.registry, profiles,
                     resultWindow,  platform.threads};

    CheckRunSettings settings;
    settings.tablesFolder = options.tablesFolder.value_or(std::wstring());
    settings.everyQueryUpFront = true;
    settings.wmiTimeLimit = info.wmiTimeLimit;
    const CheckRun run(looking, settings);
    const CheckResult& result = run.Result();
    output.wmiWorkOutstanding = run.WmiWorkOutstanding();

    const wchar_t decimalSeparator = platform.system.DecimalSeparator();
    const ResultView view = ComposeCheckView(result, decimalSeparator);

    CheckOutcome outcome;
    outcome.toolVersion = info.version;
    outcome.machineName = subject.machineName;
    outcome.utcTime = subject.utcTime;
    if (subject.replayedFrom) outcome.replayedFrom = subject.replayedFrom();
    outcome.exitCode = CheckRunExitCode(result);
    outcome.status = view.status;

    for (const std::wstring& text : messages.texts) output.standardError += TextLines(L"orvane-check: " + text + L"\n");
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

int CheckRunExitCode(const CheckResult& result) {
    if (!result.TablesUsable()) return kCheckTableUnusable;
    // Facts that could not be had are no pass.
    if (result.wmi != WmiCompleteness::Complete) return kCheckWmiUnreachable;
    return result.passed ? kCheckMeets : kCheckFallsShort;
}

int RunCheckTool(Platform& platform, const std::vector<std::wstring>& args, const CheckToolInfo& info,
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
            return RunSummary(platform, options, output);
        case CheckOptions::Action::Report:
            break;
    }
    const CheckSubject thisMachine{platform.files, platform.codec, platform.wmi, platform.graphics,
                                   platform.system.ComputerName(), info.utcTime, nullptr};
    return RunReport(platform, options, info, thisMachine, output);
}
