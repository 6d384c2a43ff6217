#pragma once
// The checks behind ValidateTables, one table at a time.

#include <cstddef>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/file_system.h"
#include "tables/table_validator.h"
#include "tables/wmi_records.h"

extern const wchar_t* const kSpecFileName;   // "OrvaneSPC.csv"
extern const wchar_t* const kQueryFileName;  // "OrvaneWMI.csv"

inline TableProblem TableWarning(const wchar_t* file, size_t line, size_t field, std::wstring message) {
    return {TableProblem::Severity::Warning, file, line, field, std::move(message)};
}

inline std::wstring Quoted(std::wstring_view text) { return L"\"" + std::wstring(text) + L"\""; }

// True when the text, after blanks and a sign, begins with a digit: what the
// integer reading takes for a number rather than for 0.
bool HasLeadingNumber(std::wstring_view text);

// Parses the query table's lines into `queryTable` exactly as Orvane does,
// and warns about what it would accept silently.
void CheckQueryTable(const std::vector<std::wstring>& lines, CWMI& queryTable, std::vector<TableProblem>& problems);

// The query lines that hold the checked properties of the built-in query
// table, which Orvane uses when "OrvaneWMI.csv" cannot be read.
void ParseBuiltInChecks(CWMI& queryTable);

// Field counts (the errors), and the rows as the evaluation tries them
// against the checked properties of `queryTable`.
void CheckSpecTable(const std::vector<std::wstring>& lines, const CWMI& queryTable, FileSystem& files,
                    const std::wstring& folder, std::vector<TableProblem>& problems);
