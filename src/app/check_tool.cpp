#include "app/check_tool.h"

#include <memory>

#include "app/check_command_line.h"
#include "app/check_platform_parts.h"
#include "app/check_report_json.h"
#include "app/orvane_app.h"
#include "tables/table_validator.h"
#include "ui/report_file.h"
#include "ui/result_report.h"
#include "ui/utf8_encoding.h"

namespace {

const std::string kUtf8Bom = "\xEF\xBB\xBF";

// Console text has CR LF line ends.
std::string TextLines(std::wstring_view text) {
    std::wstring crlf;
    for (wchar_t c : text) {
        if (c == L'\n') crlf += L'\r';
        crlf += c;
    }
    return EncodeUtf8(crlf);
}

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

int RunReport(Platform& platform, const CheckOptions& options, const CheckToolInfo& info, CheckToolOutput& output) {
    // Whatever the caller's platform would show, start or write, we put aside.
    CollectedMessages messages;
    RefusingLauncher launcher;
    // A WMI thread left behind in the service still holds the watch, so the
    // output keeps it; the process ends around that thread.
    auto watch = std::make_shared<WmiConnectionWatch>(platform.wmi);
    WmiConnectionWatch& wmi = *watch;
    NoProfileFiles profiles;
    NoResultWindow resultWindow;
    Platform looking{platform.files, platform.codec,    platform.resources, messages, platform.system,
                     launcher,       wmi,               platform.graphics,  platform.registry, profiles,
                     resultWindow};

    OrvaneApp app(looking);
    app.ProbeGraphics();
    app.exeDir = options.tablesFolder.value_or(app.GetExeDirPath(L""));
    const bool specOk = app.LoadSpecTable();
    const bool queryOk = app.LoadQueryTable();
    if (queryOk) app.RunQueries(OrvaneApp::kAllQueries);
    const bool passed = app.Evaluate();
    output.keptForWmi = watch;
    output.wmiWorkOutstanding = app.WmiWorkOutstanding();

    const wchar_t decimalSeparator = platform.system.DecimalSeparator();
    const ResultView view = ComposeResultView(*app.wmiResult, app.runRecord, app.exeExists, decimalSeparator);

    CheckOutcome outcome;
    outcome.toolVersion = info.version;
    outcome.machineName = platform.system.ComputerName();
    outcome.utcTime = info.utcTime;
    outcome.specLoaded = specOk;
    outcome.queryLoaded = queryOk;
    outcome.wmiReached = !wmi.NeverConnected();
    outcome.exitCode = CheckRunExitCode(specOk && queryOk, outcome.wmiReached, passed);
    outcome.status = view.status;

    for (const std::wstring& text : messages.texts) output.standardError += TextLines(L"orvane-check: " + text + L"\n");
    if (!outcome.wmiReached) output.standardError += TextLines(L"orvane-check: WMI could not be reached\n");

    if (options.format == CheckOptions::Format::Json)
        return Deliver(platform, options, CheckReportJson(app, outcome, decimalSeparator), outcome.exitCode, output);

    // The report file's bytes; its byte-order mark only in a file of its own.
    std::string text = ReportFileBytes(view.status, view.report);
    if (!options.outFile && text.compare(0, kUtf8Bom.size(), kUtf8Bom) == 0) text.erase(0, kUtf8Bom.size());
    return Deliver(platform, options, text, outcome.exitCode, output);
}

}  // namespace

int CheckRunExitCode(bool tablesUsable, bool wmiReached, bool meets) {
    if (!tablesUsable) return kCheckTableUnusable;
    if (!wmiReached) return kCheckWmiUnreachable;
    return meets ? kCheckMeets : kCheckFallsShort;
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
        case CheckOptions::Action::Report:
            break;
    }
    return RunReport(platform, options, info, output);
}
