#include "fleet/intune_rules.h"

#include <cwchar>

#include "check/requirements.h"
#include "check_json/check_exit_code.h"
#include "check_json/json_writer.h"
#include "encoding/text_lines.h"
#include "replay/check_replay.h"

namespace {

void WriteRemediation(JsonWriter& json, const wchar_t* language, const IntuneRemediation& text) {
    json.BeginObject();
    json.Key("Language");
    json.String(language);
    json.Key("Title");
    json.String(text.title);
    json.Key("Description");
    json.String(text.description);
    json.EndObject();
}

int Refuse(FleetOutput& output, const std::wstring& why) {
    output.standardError += TextLines(L"orvane-check: no Intune rules: " + why + L"\n");
    return kCheckTableUnusable;
}

}  // namespace

std::string IntuneRulesJson(const std::vector<IntuneRule>& rules, const std::wstring& moreInfoUrl) {
    JsonWriter json;
    json.BeginObject();
    json.Key("Rules");
    json.BeginArray();
    for (const IntuneRule& rule : rules) {
        json.BeginObject();
        json.Key("SettingName");
        json.String(rule.settingName);
        json.Key("Operator");
        json.String(rule.op);
        json.Key("DataType");
        json.String(IntuneDataTypeName(rule.type));
        json.Key("Operand");
        if (rule.type == IntuneDataType::Boolean) json.Bool(rule.operand == L"true");
        else if (rule.type == IntuneDataType::Int64) json.Number(std::wcstoll(rule.operand.c_str(), nullptr, 10));
        else json.String(rule.operand);
        json.Key("MoreInfoUrl");
        json.String(moreInfoUrl);
        json.Key("RemediationStrings");
        json.BeginArray();
        WriteRemediation(json, L"en_US", rule.en);
        WriteRemediation(json, L"ja_JP", rule.ja);
        json.EndArray();
        json.EndObject();
    }
    json.EndArray();
    json.EndObject();
    return json.Finish();
}

int RunIntuneRules(Platform& platform, const FleetRequest& request, FleetOutput& output) {
    // The tables as a check loads them, against a machine of which nothing is known.
    const ReplayedCheck check(platform, MachineRecording{}, request.tablesFolder);
    const CheckResult& result = check.Result();
    if (!result.TablesUsable()) {
        for (const std::wstring& text : check.Messages())
            output.standardError += TextLines(L"orvane-check: " + text + L"\n");
        return Refuse(output, L"the tables are unusable");
    }
    const OrvaneRec* row = RequiredFromRow(result);
    const std::wstring url = row ? row->columns[OrvaneRec::linkUrl] : std::wstring();
    if (url.empty())
        return Refuse(output, L"the requirement table's first row has no link (its 9th field): Intune shows it "
                              L"to users as MoreInfoUrl, and every rule needs one");

    const std::vector<IntuneRule> rules = IntuneRulesOf(result);
    if (rules.size() > kIntuneMaxRules)
        return Refuse(output, L"the tables give " + std::to_wstring(rules.size()) +
                                  L" rules, more than the 100 rules Intune takes");
    std::string json = IntuneRulesJson(rules, url);
    if (json.size() > kIntuneMaxBytes)
        return Refuse(output, L"the rules file would be " + std::to_wstring(json.size()) +
                                  L" bytes, more than the 100 KB Intune takes");
    output.result = std::move(json);
    return kCheckMeets;
}
