#include <algorithm>

#include "tables/requirement_compare.h"
#include "tables/number_text.h"
#include "tables/table_checks.h"
#include "tables/table_loaders.h"

namespace {

// A property of the query table that the evaluation compares with a column.
struct CheckedProperty {
    size_t column = 0;
    bool dotted = false;  // the operating system's "Version": CompareVersion
};

struct NumberedRow {
    size_t line = 0;
    OrvaneRec row;
    bool neverMet = false;
};

std::vector<CheckedProperty> CheckedProperties(const CWMI& queryTable) {
    std::vector<CheckedProperty> checked;
    for (const auto& query : queryTable.queries)
        for (const auto& prop : query->props)
            if (prop->checkIndex >= 1 && prop->checkIndex <= 8)
                checked.push_back({static_cast<size_t>(prop->checkIndex), IsDottedVersionCheck(*query, *prop)});
    return checked;
}

size_t FieldCount(std::wstring_view line) { return static_cast<size_t>(std::count(line.begin(), line.end(), L',')) + 1; }

bool IsDigit(wchar_t c) { return c >= L'0' && c <= L'9'; }

class SpecTableCheck {
public:
    SpecTableCheck(const CWMI& queryTable, FileSystem& files, const std::wstring& folder,
                   std::vector<TableProblem>& problems)
        : checked_(CheckedProperties(queryTable)), files_(files), folder_(folder), problems_(problems) {}

    void Line(size_t n, const std::wstring& line) {
        const size_t fields = FieldCount(line);
        if (fields < OrvaneRec::columnCount) {
            // What makes Orvane show its format message and refuse the table.
            std::wstring message = line.empty() ? L"empty line: " : L"";
            message += std::to_wstring(fields) + (fields == 1 ? L" field" : L" fields") + L", want 9";
            problems_.push_back({TableProblem::Severity::Error, kSpecFileName, n, 0, message});
            return;
        }
        if (fields > OrvaneRec::columnCount)
            Warn(n, OrvaneRec::columnCount + 1,
                 std::to_wstring(fields) + L" fields, want 9: those after the ninth are ignored");
        std::vector<OrvaneRec> parsed;
        ParseSpecRow(line, parsed);
        rows_.push_back({n, parsed.front(), false});
        CheckRow(rows_.back());
    }

    void Finish() {
        // The order the evaluation tries the rows in.
        std::vector<const NumberedRow*> order;
        for (const auto& r : rows_) order.push_back(&r);
        std::stable_sort(order.begin(), order.end(), [](const NumberedRow* a, const NumberedRow* b) {
            return CompareSpecRows(a->row, b->row) < 0;
        });
        for (size_t j = 0; j < order.size(); ++j) {
            if (order[j]->neverMet) continue;
            for (size_t i = 0; i < j; ++i) {
                if (!MetWhenever(*order[i], *order[j])) continue;
                Warn(order[j]->line, 0,
                     L"the row is never selected: the row on line " + std::to_wstring(order[i]->line) +
                         L" is tried first and is met whenever this one is");
                break;
            }
        }
    }

private:
    void Warn(size_t line, size_t field, std::wstring message) {
        problems_.push_back(TableWarning(kSpecFileName, line, field, std::move(message)));
    }

    void CheckRow(NumberedRow& r) {
        const auto& columns = r.row.columns;
        // A driver's version text begins with a digit; anything else is compared as text.
        const std::wstring& gl = columns[OrvaneRec::minGlVersion];
        if (!gl.empty() && !IsDigit(gl.front())) {
            r.neverMet = static_cast<uint32_t>(gl.front()) > L'9';
            Warn(r.line, OrvaneRec::minGlVersion + 1,
                 L"the graphics version " + Quoted(gl) + L" does not begin with a digit: compared as text, " +
                     (r.neverMet ? L"no driver meets it, so the row is never selected" : L"every driver meets it"));
        }

        const std::wstring& exe = columns[OrvaneRec::exeName];
        if (!exe.empty() && !files_.IsExistingFile(folder_ + exe))
            Warn(r.line, OrvaneRec::exeName + 1, L"the program " + Quoted(exe) + L" is not beside the tables");

        std::vector<size_t> warned;
        for (const CheckedProperty& p : checked_) {
            const std::wstring& required = columns[p.column];
            if (std::find(warned.begin(), warned.end(), p.column) != warned.end()) continue;
            if (!required.empty() && !HasLeadingNumber(required)) {
                Warn(r.line, p.column + 1,
                     Quoted(required) + L" has no leading number: it reads as 0, so the check asks for nothing");
                warned.push_back(p.column);
            }
        }
    }

    // True when `first` passes every comparison that `later` passes.
    bool MetWhenever(const NumberedRow& first, const NumberedRow& later) const {
        if (first.neverMet) return false;
        if (CompareGlVersions(first.row.columns[OrvaneRec::minGlVersion],
                              later.row.columns[OrvaneRec::minGlVersion]) != 0)
            return false;
        for (const CheckedProperty& p : checked_) {
            const std::wstring& a = first.row.columns[p.column];
            const std::wstring& b = later.row.columns[p.column];
            // A version falls short when any part does, so each part of `first` must be no higher.
            const bool noStricter = p.dotted ? CompareVersion(a, b) != 1 : LeadingInt(a) <= LeadingInt(b);
            if (!noStricter) return false;
        }
        return true;
    }

    std::vector<CheckedProperty> checked_;
    FileSystem& files_;
    const std::wstring& folder_;
    std::vector<TableProblem>& problems_;
    std::vector<NumberedRow> rows_;
};

}  // namespace

bool HasLeadingNumber(std::wstring_view text) {
    size_t i = 0;
    while (i < text.size() && std::wstring_view(L" \t\n\v\f\r").find(text[i]) != std::wstring_view::npos) ++i;
    if (i < text.size() && (text[i] == L'+' || text[i] == L'-')) ++i;
    return i < text.size() && IsDigit(text[i]);
}

void CheckSpecTable(const std::vector<std::wstring>& lines, const CWMI& queryTable, FileSystem& files,
                    const std::wstring& folder, std::vector<TableProblem>& problems) {
    SpecTableCheck check(queryTable, files, folder, problems);
    for (size_t i = 0; i < lines.size(); ++i) check.Line(i + 1, lines[i]);
    check.Finish();
}
