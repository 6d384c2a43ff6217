#pragma once
// The administrators' check of the two table files: every problem with its
// file, line and field. Errors are exactly what makes Orvane refuse a table
// with its format message; warnings are what it accepts silently but is
// probably a mistake.

#include <cstddef>
#include <string>
#include <vector>

#include "platform/file_system.h"
#include "platform/text_codec.h"

struct TableProblem {
    enum class Severity { Warning, Error };

    Severity severity = Severity::Error;
    std::wstring file;     // "OrvaneSPC.csv" or "OrvaneWMI.csv"
    size_t line = 0;       // 1-based; 0 for the file as a whole
    size_t field = 0;      // 1-based; 0 for the line as a whole
    std::wstring message;  // e.g. "8 fields, want 9"
};

// Checks "OrvaneSPC.csv" and "OrvaneWMI.csv" in `folder` (which ends with a
// path separator), read as Orvane reads them (the process locale's code page).
std::vector<TableProblem> ValidateTables(FileSystem& files, TextCodec& codec, const std::wstring& folder);

// "OrvaneSPC.csv:3: 8 fields, want 9", with ":<field>" after the line when a
// field is named, no line for the file as a whole, and "warning: " before the
// message of a warning.
std::wstring FormatTableProblem(const TableProblem& problem);

// 0 when there is no problem, 1 when there are only warnings, 2 with any error.
int ValidationExitCode(const std::vector<TableProblem>& problems);
