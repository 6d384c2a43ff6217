#include "check_tool/check_command_line.h"

const wchar_t* const kCheckUsage =
    L"usage: orvane-check [--tables DIR] [--json | --text] [--out FILE]\n"
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
    L"  --validate    list every problem of the two table files in DIR\n"
    L"                (default: beside this program)\n"
    L"Exit codes: 0 meets, 1 falls short, 2 a table is unusable, 3 WMI could\n"
    L"not be reached, 64 wrong command line; --validate: 0 clean, 1 warnings, 2 errors.\n";

namespace {

// Table files are named by appending to the folder.
std::wstring AsFolder(std::wstring folder) {
    if (!folder.empty() && folder.back() != L'\\' && folder.back() != L'/') folder += L'\\';
    return folder;
}

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
        } else if (arg == L"--validate" || arg == L"--help" || arg == L"-h" || arg == L"--version") {
            if (actionGiven) return Wrong(L"only one of --validate, --help and --version may be given");
            actionGiven = true;
            if (arg == L"--validate") {
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
    return {options, std::wstring()};
}
