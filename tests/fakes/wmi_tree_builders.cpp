#include "fakes/wmi_tree_builders.h"

#include <memory>
#include <sstream>

CWMIClass& AddQuery(CWMI& tree, const std::wstring& wql, const std::wstring& label) {
    tree.queries.push_back(std::make_unique<CWMIClass>());
    tree.queries.back()->query = wql;
    tree.queries.back()->label = label;
    return *tree.queries.back();
}

CWMIProp& AddProp(CWMIClass& query, const std::wstring& name, const std::wstring& label, const std::wstring& value,
                  double scale, int32_t checkIndex) {
    query.props.push_back(std::make_unique<CWMIProp>());
    CWMIProp& prop = *query.props.back();
    prop.name = name;
    prop.label = label;
    prop.value = value;
    prop.scale = scale;
    prop.checkIndex = checkIndex;
    return prop;
}

std::wstring Describe(const CWMI& tree) {
    std::wostringstream out;
    out << L"ns=" << tree.wmiNamespace;
    for (const auto& query : tree.queries) {
        out << L" Q[" << query->query << L"|" << query->label << L"]";
        for (const auto& prop : query->props) {
            out << L" P[" << prop->name << L"|" << prop->label;
            if (!prop->value.empty()) out << L"|value=" << prop->value;
            if (prop->scale != 0.0) out << L"|scale=" << prop->scale;
            if (prop->checkIndex != -1) out << L"|check=" << prop->checkIndex;
            if (prop->failed != 0) out << L"|failed=" << prop->failed;
            out << L"]";
        }
    }
    return out.str();
}
