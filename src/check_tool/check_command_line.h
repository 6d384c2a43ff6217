#pragma once
// The command line of orvane-check.

#include <optional>
#include <string>
#include <vector>

struct CheckOptions {
    enum class Action { Report, Validate, Replay, Summary, Intune, IntuneRules, Help, Version };
    enum class Format { Json, Text };

    Action action = Action::Report;
    Format format = Format::Json;
    std::optional<std::wstring> tablesFolder;  // --tables DIR or --validate DIR, ending with a backslash
    std::optional<std::wstring> outFile;       // --out FILE
    std::optional<std::wstring> replayFile;    // --replay FILE
    std::vector<std::wstring> summaryPaths;    // --summary PATH...: recordings and folders of them
    std::optional<std::wstring> csvFile;       // --csv FILE, with --summary
    std::optional<std::wstring> htmlFile;      // --html FILE, with --summary
};

struct ParsedCheckCommandLine {
    std::optional<CheckOptions> options;  // nullopt when the command line is wrong
    std::wstring error;                   // then: what is wrong with it
};

// The arguments after the program's name.
ParsedCheckCommandLine ParseCheckCommandLine(const std::vector<std::wstring>& args);

extern const wchar_t* const kCheckUsage;  // the text of --help, ending with a line end
