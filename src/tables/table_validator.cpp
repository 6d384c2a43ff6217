#include "tables/table_validator.h"

#include <algorithm>

#include "tables/table_checks.h"
#include "tables/table_loaders.h"

const wchar_t* const kSpecFileName = L"OrvaneSPC.csv";
const wchar_t* const kQueryFileName = L"OrvaneWMI.csv";

namespace {

bool StartsWith(const std::string& bytes, std::string_view prefix) { return bytes.compare(0, prefix.size(), prefix) == 0; }

// The file's lines as Orvane reads them; nullopt when Orvane would use its
// built-in copy instead.
std::optional<std::vector<std::wstring>> ReadLines(FileSystem& files, TextCodec& codec, const std::wstring& folder,
                                                   const wchar_t* name, std::vector<TableProblem>& problems) {
    const std::wstring path = folder + name;
    const std::optional<std::string> bytes = files.ReadWholeFile(path);
    if (!bytes) {
        // Not an error for Orvane, which then quietly uses its built-in copy.
        problems.push_back(TableWarning(name, 0, 0,
                                        files.IsExistingFile(path)
                                            ? L"cannot be read: Orvane uses its built-in copy"
                                            : L"not found: Orvane uses its built-in copy"));
        return std::nullopt;
    }
    // No byte-order mark is recognised: its bytes are read as text.
    if (StartsWith(*bytes, "\xEF\xBB\xBF"))
        problems.push_back(TableWarning(name, 1, 1,
                                        L"UTF-8 byte-order mark: it becomes part of the first field; save the "
                                        L"file in the ANSI code page"));
    else if (StartsWith(*bytes, "\xFF\xFE") || StartsWith(*bytes, "\xFE\xFF"))
        problems.push_back(TableWarning(name, 1, 1,
                                        L"UTF-16 byte-order mark: the file is read as ANSI text and comes out "
                                        L"wrong; save it in the ANSI code page"));
    if (!bytes->empty() && !codec.Decode(*bytes, CodePage::ProcessLocale))
        problems.push_back(TableWarning(name, 0, 0,
                                        L"the text does not convert from this machine's ANSI code page: Orvane "
                                        L"reads no lines"));
    return CutFileLines(DecodeTableFile(codec, *bytes));
}

}  // namespace

std::vector<TableProblem> ValidateTables(FileSystem& files, TextCodec& codec, const std::wstring& folder) {
    std::vector<TableProblem> spec;
    std::vector<TableProblem> query;
    const auto specLines = ReadLines(files, codec, folder, kSpecFileName, spec);
    const auto queryLines = ReadLines(files, codec, folder, kQueryFileName, query);

    // The rows are judged against the query table Orvane would use.
    CWMI queryTable;
    if (queryLines) {
        CheckQueryTable(*queryLines, queryTable, query);
        if (queryTable.queries.empty())
            query.push_back(TableWarning(kQueryFileName, 0, 0,
                                         L"no queries: Orvane asks the machine nothing, so no value is checked"));
    } else {
        ParseBuiltInChecks(queryTable);
    }
    if (specLines) {
        CheckSpecTable(*specLines, queryTable, files, folder, spec);
        if (specLines->empty())
            spec.push_back(TableWarning(kSpecFileName, 0, 0,
                                        L"no rows: Orvane selects none, so every machine falls short"));
    }

    auto byPlace = [](const TableProblem& a, const TableProblem& b) {
        return a.line != b.line ? a.line < b.line : a.field < b.field;
    };
    std::stable_sort(spec.begin(), spec.end(), byPlace);
    std::stable_sort(query.begin(), query.end(), byPlace);
    spec.insert(spec.end(), query.begin(), query.end());
    return spec;
}

std::wstring FormatTableProblem(const TableProblem& problem) {
    std::wstring text = problem.file;
    if (problem.line != 0) text += L":" + std::to_wstring(problem.line);
    if (problem.line != 0 && problem.field != 0) text += L":" + std::to_wstring(problem.field);
    text += L": ";
    if (problem.severity == TableProblem::Severity::Warning) text += L"warning: ";
    return text + problem.message;
}

int ValidationExitCode(const std::vector<TableProblem>& problems) {
    int code = 0;
    for (const auto& p : problems) code = p.severity == TableProblem::Severity::Error ? 2 : (code > 1 ? code : 1);
    return code;
}
