#include <cmath>
#include <map>

#include "tables/label_format.h"
#include "tables/number_text.h"
#include "tables/table_checks.h"
#include "tables/table_loaders.h"

namespace {

// Query-table columns, as fields are numbered for the administrator (1-based).
constexpr size_t kNamespaceField = 1;
constexpr size_t kPropertyField = 3;
constexpr size_t kLabelField = 4;
constexpr size_t kScaleField = 5;
constexpr size_t kCheckField = 6;

// The lines that gave a record its values, for the checks made once the whole
// table is read (a later line may still set a label or a scale).
struct QueryOrigin {
    size_t line = 0;
    size_t labelLine = 0;
};
struct PropOrigin {
    size_t line = 0;
    size_t labelLine = 0;
    size_t scaleLine = 0;
};

// What a line can change: the namespace, and the records the cursors point to
// when it ends (a line never changes a record after it moved a cursor past it).
struct Snapshot {
    std::wstring wmiNamespace;
    size_t queryCount = 0;
    const CWMIClass* query = nullptr;
    std::wstring queryLabel;
    size_t propCount = 0;
    const CWMIProp* prop = nullptr;
    std::wstring propLabel;
    double scale = 0.0;
    int32_t checkIndex = -1;

    bool operator==(const Snapshot& o) const {
        return wmiNamespace == o.wmiNamespace && queryCount == o.queryCount && query == o.query &&
               queryLabel == o.queryLabel && propCount == o.propCount && prop == o.prop && propLabel == o.propLabel &&
               scale == o.scale && checkIndex == o.checkIndex;
    }
};

Snapshot Take(const CWMI& table, const CWMIClass* query, const CWMIProp* prop) {
    Snapshot s;
    s.wmiNamespace = table.wmiNamespace;
    s.queryCount = table.queries.size();
    s.query = query;
    if (query) {
        s.queryLabel = query->label;
        s.propCount = query->props.size();
    }
    s.prop = prop;
    if (prop) {
        s.propLabel = prop->label;
        s.scale = prop->scale;
        s.checkIndex = prop->checkIndex;
    }
    return s;
}

bool IsBlank(std::wstring_view text) { return text.find_first_not_of(L" \t\r") == std::wstring_view::npos; }

bool HasLeadingDecimal(std::wstring_view text) {
    size_t i = text.find_first_not_of(L" \t");
    if (i == std::wstring_view::npos) return false;
    if (text[i] == L'+' || text[i] == L'-') ++i;
    if (i < text.size() && text[i] == L'.') ++i;
    return i < text.size() && text[i] >= L'0' && text[i] <= L'9';
}

std::wstring Field(std::wstring_view line, size_t k) { return std::wstring(LineField(line, k).value_or(L"")); }

class QueryTableCheck {
public:
    QueryTableCheck(CWMI& table, std::vector<TableProblem>& problems) : table_(table), problems_(problems) {}

    void Line(size_t n, const std::wstring& line) {
        const Snapshot before = Take(table_, query_, prop_);
        ParseQueryRow(line, table_, query_, prop_);
        const Snapshot after = Take(table_, query_, prop_);
        NoteOrigins(n, before, after);

        const size_t warningsBefore = problems_.size();
        CheckFields(n, line, before);
        const bool saysSomething = line.find_first_not_of(L", \t\r") != std::wstring::npos;
        if (before == after && saysSomething && problems_.size() == warningsBefore)
            Warn(n, 0, L"the line changes nothing in the table");
    }

    void Finish() {
        for (const auto& query : table_.queries) {
            const QueryOrigin& origin = queries_[query.get()];
            if (IsBlank(query->query)) Warn(origin.line, kPropertyField - 1, L"the query text is blank");
            if (query->props.empty())
                Warn(origin.line, kPropertyField - 1, L"the query has no properties: only its heading is shown");
            CheckLabel(origin.labelLine, query->label, /*isProperty=*/false, 0.0, 0);
            for (const auto& prop : query->props) {
                const PropOrigin& p = props_[prop.get()];
                CheckLabel(p.labelLine ? p.labelLine : p.line, prop->label, /*isProperty=*/true, prop->scale,
                           p.scaleLine);
            }
        }
    }

private:
    void Warn(size_t line, size_t field, std::wstring message) {
        problems_.push_back(TableWarning(kQueryFileName, line, field, std::move(message)));
    }

    void NoteOrigins(size_t n, const Snapshot& before, const Snapshot& after) {
        if (after.query) {
            QueryOrigin& q = queries_[after.query];
            const bool isNew = after.query != before.query;
            if (isNew) q.line = n;
            if ((isNew || before.queryLabel.empty()) && !after.queryLabel.empty()) q.labelLine = n;
        }
        if (after.prop) {
            PropOrigin& p = props_[after.prop];
            const bool isNew = after.prop != before.prop;
            if (isNew) p.line = n;
            if ((isNew || before.propLabel.empty()) && !after.propLabel.empty()) p.labelLine = n;
            if (after.scale != (isNew ? 0.0 : before.scale)) p.scaleLine = n;
        }
    }

    void CheckFields(size_t n, std::wstring_view line, const Snapshot& before) {
        const std::wstring ns = Field(line, 0);
        if (!ns.empty() && !before.wmiNamespace.empty())
            Warn(n, kNamespaceField,
                 L"a second namespace is ignored: the queries use " + Quoted(before.wmiNamespace));
        if (!Field(line, kPropertyField - 1).empty() && Field(line, kPropertyField - 2).empty() && !before.query)
            Warn(n, kPropertyField, L"a property before the first query line is ignored");

        const std::wstring scale = Field(line, kScaleField - 1);
        if (!IsBlank(scale)) {
            const double value = LeadingDouble(scale, L'.');
            if (!HasLeadingDecimal(scale))
                Warn(n, kScaleField, L"the scale " + Quoted(scale) + L" is no number: it is ignored");
            else if (!prop_ && value != 0.0 && !std::isnan(value))
                Warn(n, kScaleField, L"a scale on a line without a property is ignored");
        }

        const std::wstring check = Field(line, kCheckField - 1);
        if (!IsBlank(check)) {
            const int32_t k = LeadingInt(check);
            if (!HasLeadingNumber(check))
                Warn(n, kCheckField, L"the check column " + Quoted(check) + L" is no number: it is ignored");
            else if (!prop_ && k >= 1 && k <= 8)
                Warn(n, kCheckField, L"a check column on a line without a property is ignored");
            else if (prop_ && k != -1 && (k < 1 || k > 8))
                Warn(n, kCheckField,
                     L"the check column " + std::to_wstring(k) + L" is outside 1..8 (-1: none): nothing is compared");
        }
    }

    // Labels take one argument: the instance's name for a query heading, the
    // value text for a property, or the scaled number when it has a scale.
    void CheckLabel(size_t line, const std::wstring& label, bool isProperty, double scale, size_t scaleLine) {
        const bool number = std::fabs(scale) > 0;
        const std::vector<LabelConversion> conversions = LabelConversions(label);
        const LabelConversion* fitting = nullptr;
        for (const auto& c : conversions) {
            if (number ? c.takesNumber : c.takesText) {
                fitting = &c;
                break;
            }
        }
        if (number && !fitting) {
            Warn(scaleLine ? scaleLine : line, kScaleField,
                 L"a scale, but the label " + Quoted(label) +
                     L" has no number conversion (%f, %e, %g): the value is not shown");
        } else if (!fitting && !conversions.empty()) {
            Warn(line, kLabelField,
                 L"the conversion " + Quoted(conversions.front().written) +
                     L" does not fit a text value: it is shown as written (use %s)");
        } else if (!fitting && isProperty) {
            Warn(line, kLabelField, L"the label " + Quoted(label) + L" has no %s: the value is not shown");
        } else if (conversions.size() > 1) {
            Warn(line, kLabelField,
                 L"the label has " + std::to_wstring(conversions.size()) + L" conversions: only " +
                     Quoted(fitting->written) + L" is filled, the others are shown as written (write %% for %)");
        }
    }

    CWMI& table_;
    std::vector<TableProblem>& problems_;
    CWMIClass* query_ = nullptr;
    CWMIProp* prop_ = nullptr;
    std::map<const CWMIClass*, QueryOrigin> queries_;
    std::map<const CWMIProp*, PropOrigin> props_;
};

}  // namespace

void CheckQueryTable(const std::vector<std::wstring>& lines, CWMI& queryTable, std::vector<TableProblem>& problems) {
    QueryTableCheck check(queryTable, problems);
    for (size_t i = 0; i < lines.size(); ++i) check.Line(i + 1, lines[i]);
    check.Finish();
}

void ParseBuiltInChecks(CWMI& queryTable) {
    CWMIClass* query = nullptr;
    CWMIProp* prop = nullptr;
    for (const wchar_t* line : {L",SELECT * FROM Win32_OperatingSystem,,,,", L",,Version,,,1", L",,OSArchitecture,,,2"})
        ParseQueryRow(line, queryTable, query, prop);
}
