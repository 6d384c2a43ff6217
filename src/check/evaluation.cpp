#include "check/evaluation.h"

#include <algorithm>

#include "tables/requirement_compare.h"

namespace {

// Calls shortfall(prop) for each checked property of the tree that falls short of the row.
template <typename Shortfall>
void ForEachShortfall(const OrvaneRec& row, const CWMI& wmiResult, Shortfall shortfall) {
    for (const auto& query : wmiResult.queries) {
        for (const auto& prop : query->props) {
            const int32_t k = prop->checkIndex;
            if (k < 1 || k > 8) continue;
            if (FallsShort(*query, *prop, row.columns[static_cast<size_t>(k)])) shortfall(*prop);
        }
    }
}

}  // namespace

bool CheckRow(const OrvaneRec& row, CWMI& wmiResult) {
    bool anyFailed = false;
    ForEachShortfall(row, wmiResult, [&anyFailed](CWMIProp& prop) {
        prop.failed = 1;  // stays set while later rows are tried
        anyFailed = true;
    });
    return !anyFailed;
}

bool SomeRowMeetsTheChecks(const std::vector<OrvaneRec>& rows, const CWMI& wmiResult) {
    return std::any_of(rows.begin(), rows.end(), [&wmiResult](const OrvaneRec& row) {
        bool met = true;
        ForEachShortfall(row, wmiResult, [&met](const CWMIProp&) { met = false; });
        return met;
    });
}

bool Evaluate(std::vector<OrvaneRec>& specRows, OrvaneRec& runRecord, CWMI& wmiResult, const std::wstring& exeDir,
              FileSystem& files, bool& exeExists, std::vector<size_t>* triedLines) {
    // Stable, so rows asking for the same graphics version keep their table order.
    std::stable_sort(specRows.begin(), specRows.end(),
                     [](const OrvaneRec& a, const OrvaneRec& b) { return CompareSpecRows(a, b) < 0; });

    for (const OrvaneRec& row : specRows) {
        if (triedLines) triedLines->push_back(row.line);
        const bool glOk =
            CompareGlVersions(row.columns[OrvaneRec::minGlVersion], runRecord.glInfo[OrvaneRec::glVersion]) <= 0;
        if (glOk) runRecord.columns[OrvaneRec::glVerdict] = L"1";

        // Every row is checked, so its shortfalls are marked even when it is not selected.
        const bool rowOk = CheckRow(row, wmiResult);
        if (!glOk || !rowOk) continue;

        for (int c = OrvaneRec::exeName; c <= OrvaneRec::linkUrl; ++c) runRecord.columns[c] = row.columns[c];
        runRecord.line = row.line;
        // The folder itself is no product: only an existing file counts.
        const std::wstring& exe = row.columns[OrvaneRec::exeName];
        exeExists = !exe.empty() && files.IsExistingFile(exeDir + exe);
        return true;
    }
    return false;
}
