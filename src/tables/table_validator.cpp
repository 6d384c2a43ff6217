#include "tables/table_validator.h"

// Placeholder until the checks land.
std::vector<TableProblem> ValidateTables(FileSystem&, TextCodec&, const std::wstring&) { return {}; }

std::wstring FormatTableProblem(const TableProblem& problem) {
    std::wstring text = problem.file + L":" + std::to_wstring(problem.line);
    if (problem.field != 0) text += L":" + std::to_wstring(problem.field);
    text += L": ";
    if (problem.severity == TableProblem::Severity::Warning) text += L"warning: ";
    return text + problem.message;
}

int ValidationExitCode(const std::vector<TableProblem>& problems) {
    int code = 0;
    for (const auto& p : problems) code = p.severity == TableProblem::Severity::Error ? 2 : (code > 1 ? code : 1);
    return code;
}
