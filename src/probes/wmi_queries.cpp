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
        case WmiValue::Type::Absent:
            break;
    }
    return L" ";
}

QueryRequest SelectQueries(const CWMI& table, QuerySelection which) {
    QueryRequest request;
    request.wmiNamespace = table.wmiNamespace;
    for (size_t q = 0; q < table.queries.size(); ++q) {
        const CWMIClass* tableQuery = table.queries[q].get();
        if (!tableQuery || !IsSelected(*tableQuery, which)) continue;
        QueryRequest::Item item;
        item.tableIndex = q;
        item.wql = tableQuery->query;
        item.properties.reserve(tableQuery->props.size());
        for (const auto& prop : tableQuery->props) item.properties.push_back(prop ? prop->name : std::wstring());
        request.items.push_back(std::move(item));
    }
    return request;
}

void AskQueries(WmiService& wmi, const QueryRequest& request,
                const std::function<void(size_t, QueryAnswer)>& answer,
                const std::function<void(bool)>& connected) {
    if (request.items.empty()) return;  // no COM at all

    std::unique_ptr<WmiSession> session = wmi.Connect(request.wmiNamespace);
    if (connected) connected(session != nullptr);
    for (size_t i = 0; i < request.items.size(); ++i) {
        const QueryRequest::Item& item = request.items[i];
        answer(i, session ? session->Query(item.wql, item.properties) : std::nullopt);
    }
}

void RecordAnswer(const CWMI& table, size_t tableIndex, const std::vector<WmiInstance>& instances, CWMI& result,
                  std::vector<size_t>& answerCounts) {
    if (tableIndex >= table.queries.size() || !table.queries[tableIndex]) return;
    if (answerCounts.size() < table.queries.size()) answerCounts.resize(table.queries.size(), 0);

    size_t insertAt = std::accumulate(answerCounts.begin(),
                                      answerCounts.begin() + static_cast<std::ptrdiff_t>(tableIndex) + 1, size_t{0});
    insertAt = std::min(insertAt, result.queries.size());
    for (const WmiInstance& instance : instances) {
        result.queries.insert(result.queries.begin() + static_cast<std::ptrdiff_t>(insertAt),
                              MakeResultQuery(*table.queries[tableIndex], instance));
        ++insertAt;
        ++answerCounts[tableIndex];
    }
}

void RunQueries(WmiService& wmi, const CWMI& table, QuerySelection which, CWMI& result,
                std::vector<size_t>& answerCounts) {
    const QueryRequest request = SelectQueries(table, which);
    AskQueries(wmi, request, [&](size_t i, const QueryAnswer& instances) {
        if (instances) RecordAnswer(table, request.items[i].tableIndex, *instances, result, answerCounts);
    });
}
