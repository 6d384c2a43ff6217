#include "probes/wmi_queries.h"

#include <algorithm>
#include <numeric>

#include "tables/label_format.h"

namespace {

bool IsSelected(const CWMIClass& query, QuerySelection which) {
    switch (which) {
        case QuerySelection::All:
            return true;
        case QuerySelection::Checked:
            return HoldsCheckedProperty(query);
        case QuerySelection::Unchecked:
            return !HoldsCheckedProperty(query);
    }
    return false;
}

std::unique_ptr<CWMIClass> MakeResultQuery(const CWMIClass& tableQuery, const WmiInstance& instance) {
    auto result = std::make_unique<CWMIClass>();
    // Every class the built-in table asks has a string "Name"; anything else heads with nothing.
    const std::wstring name = instance.name.type == WmiValue::Type::Bstr ? instance.name.text : std::wstring();
    result->label = FormatLabel(tableQuery.label, name);
    result->query = tableQuery.query;
    for (size_t i = 0; i < tableQuery.props.size(); ++i) {
        if (!tableQuery.props[i]) continue;
        auto prop = std::make_unique<CWMIProp>(*tableQuery.props[i]);
        prop->value = i < instance.values.size() ? VariantToText(instance.values[i]) : VariantToText(WmiValue{});
        result->props.push_back(std::move(prop));
    }
    return result;
}

}  // namespace

bool HoldsCheckedProperty(const CWMIClass& query) {
    return std::any_of(query.props.begin(), query.props.end(), [](const std::unique_ptr<CWMIProp>& prop) {
        return prop && prop->checkIndex >= 1 && prop->checkIndex <= 8;
    });
}

std::wstring VariantToText(const WmiValue& value) {
    switch (value.type) {
        case WmiValue::Type::I4:
            return std::to_wstring(value.i4);
        case WmiValue::Type::Bstr:
            return value.text;
        case WmiValue::Type::Bool:
            return value.boolean ? L"True" : L"False";
        case WmiValue::Type::UI1:
            return std::to_wstring(static_cast<unsigned>(value.ui1));
        case WmiValue::Type::Other:
            break;
    }
    return L" ";
}

void RunQueries(WmiService& wmi, const CWMI& table, QuerySelection which, CWMI& result,
                std::vector<size_t>& answerCounts) {
    const bool anySelected = std::any_of(table.queries.begin(), table.queries.end(),
                                         [which](const std::unique_ptr<CWMIClass>& q) { return q && IsSelected(*q, which); });
    if (!anySelected) return;  // no COM at all
    if (answerCounts.size() < table.queries.size()) answerCounts.resize(table.queries.size(), 0);

    const std::unique_ptr<WmiSession> session = wmi.Connect(table.wmiNamespace);
    if (!session) return;

    for (size_t q = 0; q < table.queries.size(); ++q) {
        const CWMIClass* tableQuery = table.queries[q].get();
        if (!tableQuery || !IsSelected(*tableQuery, which)) continue;

        std::vector<std::wstring> names;
        names.reserve(tableQuery->props.size());
        for (const auto& prop : tableQuery->props) names.push_back(prop ? prop->name : std::wstring());

        const std::optional<std::vector<WmiInstance>> instances = session->Query(tableQuery->query, names);
        if (!instances) continue;

        // Answers go where a run of every query in table order would have put them.
        size_t insertAt = std::accumulate(answerCounts.begin(), answerCounts.begin() + static_cast<std::ptrdiff_t>(q) + 1,
                                          size_t{0});
        insertAt = std::min(insertAt, result.queries.size());
        for (const WmiInstance& instance : *instances) {
            result.queries.insert(result.queries.begin() + static_cast<std::ptrdiff_t>(insertAt),
                                  MakeResultQuery(*tableQuery, instance));
            ++insertAt;
            ++answerCounts[q];
        }
    }
}
