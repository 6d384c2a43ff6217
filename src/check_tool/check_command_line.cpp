#include "check_tool/check_command_line.h"

const wchar_t* const kCheckUsage =
    L"usage: orvane-check [--tables DIR] [--json | --text] [--out FILE]\n"
    L"       orvane-check --replay FILE [--tables DIR] [--json | --text] [--out FILE]\n"
    L"       orvane-check --summary PATH... [--tables DIR] [--csv FILE] [--html FILE] [--out FILE]\n"
    L"       orvane-check --intune [--tables DIR] [--out FILE]\n"
    L"       orvane-check --intune-rules [--tables DIR] [--out FILE]\n"
    L"       orvane-check --validate [DIR] [--out FILE]\n"
    L"       orvane-check --help | --version\n"
    L"\n"
    L"Checks this PC against the requirement table, as Orvane does, without\n"
    L"starting anything or writing any file but FILE.\n"
    L"  --tables DIR  read OrvaneSPC.csv and OrvaneWMI.csv from DIR\n"
    L"                (default: beside this program, else the built-in copies)\n"
    L"  --json        the result as one JSON document (the default)\n"
    L"  --text        the report as Orvane's result dialog shows it\n"
    L"  --out FILE    write the result to FILE instead of standard output\n"
    L"  --replay FILE check the machine recorded in FILE (a JSON result of this\n"
    L"                program) against the tables, as if on that machine\n"
    L"  --summary PATH...  replay every recording (*.json) in each file or folder\n"
    L"                and print the totals and the count of each failing item\n"
    L"  --csv FILE    with --summary: also one line per recording, as CSV\n"
    L"  --html FILE   with --summary: also the fleet's page, one HTML file\n"
    L"  --intune      this PC's settings for Intune's custom compliance, as one\n"
    L"                line of JSON (exit code 0 whenever it is printed)\n"
    L"  --intune-rules  the rules file for those settings, from the tables\n"
    L"  --validate    list every problem of the two table files in DIR\n"
    L"                (default: beside this program)\n"
    L"Exit codes: 0 meets, 1 falls short, 2 a table (or a recording) is unusable,\n"
    L"3 WMI could not be reached, 64 wrong command line; --summary: 0 all meet,\n"
    L"1 some do not, 2 unusable tables or unreadable recordings;\n"
    L"--intune-rules: 0 written, 2 the tables do not fit Intune's limits;\n"
    L"--validate: 0 clean, 1 warnings, 2 errors; any command: 70 an internal error.\n";

namespace {

// Table files are named by appending to the folder.
std::wstring AsFolder(std::wstring folder) {
    if (!folder.empty() && folder.back() != L'\\' && folder.back() != L'/') folder += L'\\';
    return folder;
}

const wchar_t* const kOnlyOneCommand =
    L"only one of --validate, --replay, --summary, --intune, --intune-rules, --help and --version may be given";

ParsedCheckCommandLine Wrong(std::wstring error) { return {std::nullopt, std::move(error)}; }

}  // namespace

ParsedCheckCommandLine ParseCheckCommandLine(const std::vector<std::wstring>& args) {
    CheckOptions options;
    bool formatGiven = false;
    bool actionGiven = false;
    bool tablesGiven = false;

    for (size_t i = 0; i < args.size(); ++i) {
        const std::wstring& arg = args[i];
        // An option's value never looks like an option: "--out --json" is a mistake, not a file.
        const bool hasValue = i + 1 < args.size() && args[i + 1].rfind(L"--", 0) != 0;

        if (arg == L"--json" || arg == L"--text") {
            if (formatGiven) return Wrong(L"--json and --text may be given once, and not both");
            formatGiven = true;
            options.format = arg == L"--json" ? CheckOptions::Format::Json : CheckOptions::Format::Text;
        } else if (arg == L"--tables") {
            if (tablesGiven) return Wrong(L"a table folder may be given once");
            if (!hasValue || args[i + 1].empty()) return Wrong(L"--tables needs a folder");
            tablesGiven = true;
            options.tablesFolder = AsFolder(args[++i]);
        } else if (arg == L"--out") {
            if (options.outFile) return Wrong(L"--out may be given once");
            if (!hasValue || args[i + 1].empty()) return Wrong(L"--out needs a file name");
            options.outFile = args[++i];
        } else if (arg == L"--csv") {
            if (options.csvFile) return Wrong(L"--csv may be given once");
            if (!hasValue || args[i + 1].empty()) return Wrong(L"--csv needs a file name");
            options.csvFile = args[++i];
        } else if (arg == L"--html") {
            if (options.htmlFile) return Wrong(L"--html may be given once");
            if (!hasValue || args[i + 1].empty()) return Wrong(L"--html needs a file name");
            options.htmlFile = args[++i];
        } else if (arg == L"--intune" || arg == L"--intune-rules") {
            if (actionGiven) return Wrong(kOnlyOneCommand);
            actionGiven = true;
            options.action = arg == L"--intune" ? CheckOptions::Action::Intune : CheckOptions::Action::IntuneRules;
        } else if (arg == L"--validate" || arg == L"--replay" || arg == L"--summary" || arg == L"--help" ||
                   arg == L"-h" || arg == L"--version") {
            if (actionGiven) return Wrong(kOnlyOneCommand);
            actionGiven = true;
            if (arg == L"--replay") {
                if (!hasValue || args[i + 1].empty()) return Wrong(L"--replay needs a recording's file name");
                options.action = CheckOptions::Action::Replay;
                options.replayFile = args[++i];
            } else if (arg == L"--summary") {
                options.action = CheckOptions::Action::Summary;
                while (i + 1 < args.size() && args[i + 1].rfind(L"--", 0) != 0 && !args[i + 1].empty())
                    options.summaryPaths.push_back(args[++i]);
                if (options.summaryPaths.empty()) return Wrong(L"--summary needs a recording or a folder of them");
            } else if (arg == L"--validate") {
                options.action = CheckOptions::Action::Validate;
                // The folder is optional: anything that is no option is taken for it.
                if (hasValue && !args[i + 1].empty()) {
                    if (tablesGiven) return Wrong(L"a table folder may be given once");
                    tablesGiven = true;
                    options.tablesFolder = AsFolder(args[++i]);
                }
            } else {
                options.action = arg == L"--version" ? CheckOptions::Action::Version : CheckOptions::Action::Help;
            }
        } else {
            return Wrong(L"unknown argument: " + arg);
        }
    }

    if (options.action == CheckOptions::Action::Validate && formatGiven)
        return Wrong(L"--validate lists problems as lines; --json and --text do not apply");
    const bool fleet = options.action == CheckOptions::Action::Summary ||
                       options.action == CheckOptions::Action::Intune ||
                       options.action == CheckOptions::Action::IntuneRules;
    if (fleet && formatGiven)
        return Wrong(L"--summary, --intune and --intune-rules write their own format; --json and --text do not apply");
    if (options.csvFile && options.action != CheckOptions::Action::Summary) return Wrong(L"--csv goes with --summary");
    if (options.htmlFile && options.action != CheckOptions::Action::Summary) return Wrong(L"--html goes with --summary");
    return {options, std::wstring()};
}
