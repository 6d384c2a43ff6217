#include <cmath>

#include "tables/number_text.h"
#include "tables/table_loaders.h"

namespace {

enum QueryColumn {
    namespaceColumn,
    queryColumn,
    propertyColumn,
    labelColumn,
    scaleColumn,
    checkColumn,
    queryColumnCount
};

void ApplyQueryField(size_t k, std::wstring_view field, CWMI& queryTable, CWMIClass*& currentQuery,
                     CWMIProp*& currentProp) {
    switch (k) {
        case namespaceColumn:
            if (queryTable.wmiNamespace.empty()) queryTable.wmiNamespace = field;
            break;
        case queryColumn: {
            auto query = std::make_unique<CWMIClass>();
            query->query = field;
            currentQuery = query.get();
            currentProp = nullptr;
            queryTable.queries.push_back(std::move(query));
            break;
        }
        case propertyColumn: {
            if (!currentQuery) break;
            auto prop = std::make_unique<CWMIProp>();
            prop->name = field;
            currentProp = prop.get();
            currentQuery->props.push_back(std::move(prop));
            break;
        }
        case labelColumn:
            if (currentQuery && currentQuery->label.empty()) currentQuery->label = field;
            if (currentProp && currentProp->label.empty()) currentProp->label = field;
            break;
        case scaleColumn: {
            if (!currentProp) break;
            // Tables are written with "." whatever the user's locale says.
            const double scale = LeadingDouble(field, L'.');
            if (scale != 0.0 && !std::isnan(scale)) currentProp->scale = scale;
            break;
        }
        case checkColumn: {
            if (!currentProp) break;
            const int32_t checkIndex = LeadingInt(field);
            if (checkIndex >= 1) currentProp->checkIndex = checkIndex;
            break;
        }
        default:
            break;
    }
}

}  // namespace

void ParseQueryRow(std::wstring_view line, CWMI& queryTable, CWMIClass*& currentQuery, CWMIProp*& currentProp) {
    for (size_t k = 0; k < queryColumnCount; ++k) {
        const std::optional<std::wstring_view> field = LineField(line, k);
        if (!field) return;
        if (field->empty()) continue;
        ApplyQueryField(k, *field, queryTable, currentQuery, currentProp);
    }
}

bool LoadQueryTable(Platform& platform, const std::wstring& exeDir, CWMI& queryTable, TableOrigin* origin) {
    TableOrigin ignored;
    TableOrigin& from = origin ? *origin : ignored;
    CWMIClass* currentQuery = nullptr;
    CWMIProp* currentProp = nullptr;

    const std::wstring path = exeDir + L"OrvaneWMI.csv";
    if (std::optional<std::wstring> text = ReadTableFile(platform, path, &from.bytes)) {
        from.path = path;
        for (const std::wstring& line : CutFileLines(*text))
            ParseQueryRow(line, queryTable, currentQuery, currentProp);
        return true;
    }

    std::wstring builtIn;
    if (!LoadTextResource(platform, kQueryTableResourceId, builtIn, &from.bytes)) {
        platform.messages.ShowAppMessage(kMissingResourceMessage);
        return false;
    }
    from.builtIn = true;
    for (const std::wstring& line : CutResourceLines(builtIn))
        ParseQueryRow(line, queryTable, currentQuery, currentProp);
    return true;
}
