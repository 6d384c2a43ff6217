#include "check/requirements.h"

#include <algorithm>

#include "probes/graphics_probe.h"
#include "tables/requirement_compare.h"
#include "ui/report_composition.h"

namespace {

// The requirement in the line format of the table's property, as if the machine had answered it.
std::wstring RequirementText(const CWMIProp& tableProp, const std::wstring& required, wchar_t decimalSeparator) {
    CWMIProp shown;
    shown.label = tableProp.label;
    shown.name = tableProp.name;
    shown.scale = tableProp.scale;
    shown.value = required;
    return PropertyLineText(shown, decimalSeparator);
}

void AddCheckedLines(const CheckResult& result, const OrvaneRec& row, OrvaneRec::Column column,
                     wchar_t decimalSeparator, std::vector<RequirementLine>& lines) {
    const std::wstring& required = row.columns[column];
    if (required.empty()) return;
    for (const auto& tableQuery : result.queryTable.queries) {
        if (!tableQuery) continue;
        for (const auto& tableProp : tableQuery->props) {
            if (!tableProp || tableProp->checkIndex != column) continue;
            RequirementLine line;
            line.column = column;
            line.required = required;
            line.text = RequirementText(*tableProp, required, decimalSeparator);
            // Every answer to the same question: a query may have several instances.
            for (const auto& query : result.wmiResult->queries) {
                if (!query || query->query != tableQuery->query) continue;
                for (const auto& prop : query->props) {
                    if (!prop || prop->name != tableProp->name || prop->checkIndex != column) continue;
                    if (!FallsShort(*query, *prop, required)) continue;
                    line.fellShort = true;
                    line.found.push_back(prop->value);
                }
            }
            lines.push_back(std::move(line));
        }
    }
}

}  // namespace

const OrvaneRec* RowOfLine(const std::vector<OrvaneRec>& rows, size_t line) {
    auto it = std::find_if(rows.begin(), rows.end(), [line](const OrvaneRec& r) { return r.line == line; });
    return it == rows.end() ? nullptr : &*it;
}

const OrvaneRec* RequiredFromRow(const CheckResult& result) {
    const std::vector<OrvaneRec>& rows = result.specRows;
    if (rows.empty()) return nullptr;
    if (const OrvaneRec* selected = result.runRecord.line != 0 ? RowOfLine(rows, result.runRecord.line) : nullptr)
        return selected;
    // The evaluation has sorted the rows: the first of the table has the lowest line.
    return &*std::min_element(rows.begin(), rows.end(),
                              [](const OrvaneRec& a, const OrvaneRec& b) { return a.line < b.line; });
}

std::vector<RowRequirements> TriedRowRequirements(const CheckResult& result, wchar_t decimalSeparator) {
    std::vector<RowRequirements> rows;
    const std::wstring& glVersion = result.runRecord.glInfo[OrvaneRec::glVersion];
    for (size_t line : result.triedLines) {
        const OrvaneRec* row = RowOfLine(result.specRows, line);
        if (!row) continue;
        RowRequirements needs;
        needs.line = line;
        AddCheckedLines(result, *row, OrvaneRec::minOsVersion, decimalSeparator, needs.lines);
        AddCheckedLines(result, *row, OrvaneRec::osArchitecture, decimalSeparator, needs.lines);
        const std::wstring& minGl = row->columns[OrvaneRec::minGlVersion];
        if (!minGl.empty()) {
            RequirementLine gl;
            gl.column = OrvaneRec::minGlVersion;
            gl.required = minGl;
            gl.text = std::wstring(glKeyLabels[OrvaneRec::glVersion]) + minGl;
            gl.fellShort = CompareGlVersions(minGl, glVersion) > 0;
            if (gl.fellShort) gl.found.push_back(glVersion);
            needs.lines.push_back(std::move(gl));
        }
        rows.push_back(std::move(needs));
    }
    return rows;
}
