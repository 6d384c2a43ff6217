#include "check_json/requirements_json.h"

#include <algorithm>

#include "check/advice.h"
#include "check/requirements.h"

namespace {

// The member names of the requirement columns, as orvane-check's documents call them.
struct ColumnName {
    OrvaneRec::Column column;
    const char* key;
    const wchar_t* text;
};
const ColumnName kColumns[] = {{OrvaneRec::minOsVersion, "minOsVersion", L"minOsVersion"},
                               {OrvaneRec::osArchitecture, "osArchitecture", L"osArchitecture"},
                               {OrvaneRec::minGlVersion, "minGlVersion", L"minGlVersion"}};

const wchar_t* NameOf(OrvaneRec::Column column) {
    for (const ColumnName& c : kColumns)
        if (c.column == column) return c.text;
    return L"";
}

void WriteRow(JsonWriter& json, const CheckResult& result, const RowRequirements& needs) {
    json.BeginObject();
    json.Key("line");
    json.Number(static_cast<int64_t>(needs.line));
    if (const OrvaneRec* row = RowOfLine(result.specRows, needs.line)) {
        for (const ColumnName& c : kColumns) {
            json.Key(c.key);
            json.String(row->columns[c.column]);
        }
    }
    json.Key("fellShort");
    json.BeginArray();
    for (const ColumnName& c : kColumns) {
        const bool shortOf = std::any_of(needs.lines.begin(), needs.lines.end(), [&c](const RequirementLine& l) {
            return l.column == c.column && l.fellShort;
        });
        if (shortOf) json.String(c.text);
    }
    json.EndArray();
    json.Key("checks");
    json.BeginArray();
    for (const RequirementLine& line : needs.lines) {
        json.BeginObject();
        json.Key("requirement");
        json.String(NameOf(line.column));
        json.Key("reportLine");
        json.String(RequirementLineText(line));
        json.Key("fellShort");
        json.Bool(line.fellShort);
        json.Key("found");
        json.BeginArray();
        for (const std::wstring& value : line.found) json.String(value);
        json.EndArray();
        json.EndObject();
    }
    json.EndArray();
    json.EndObject();
}

}  // namespace

void WriteRequirementsJson(JsonWriter& json, const CheckResult& result, wchar_t decimalSeparator) {
    json.BeginArray();
    for (const RowRequirements& needs : TriedRowRequirements(result, decimalSeparator)) WriteRow(json, result, needs);
    json.EndArray();
}

void WriteAdviceJson(JsonWriter& json, const CheckResult& result, wchar_t decimalSeparator) {
    json.BeginArray();
    for (const Advice& advice : AdviceFor(result, TriedRowRequirements(result, decimalSeparator))) {
        json.BeginObject();
        json.Key("code");
        json.String(advice.code);
        json.Key("text");
        json.String(advice.text);
        json.EndObject();
    }
    json.EndArray();
}
