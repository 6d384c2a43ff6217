#include "check_json/check_report_json.h"

#include "check/requirements.h"
#include "check_json/json_writer.h"
#include "check_json/requirements_json.h"
#include "check_json/sha256.h"
#include "tables/number_text.h"
#include "tables/requirement_compare.h"
#include "ui/report_composition.h"

namespace {

void WriteTable(JsonWriter& json, const wchar_t* fileName, const TableOrigin& origin, bool loaded) {
    json.BeginObject();
    json.Key("file");
    json.String(fileName);
    json.Key("source");
    if (origin.builtIn)
        json.String(L"built-in");
    else if (!origin.path.empty())
        json.String(origin.path);
    else
        json.Null();
    json.Key("sha256");
    if (origin.builtIn || !origin.path.empty()) {
        const std::string hex = Sha256Hex(origin.bytes);
        json.String(std::wstring(hex.begin(), hex.end()));
    } else
        json.Null();
    json.Key("error");
    if (loaded) {
        json.Null();
    } else {
        json.BeginObject();
        json.Key("file");
        if (!origin.path.empty())
            json.String(origin.path);
        else
            json.String(fileName);
        json.Key("line");
        if (origin.badLine != 0)
            json.Number(static_cast<int64_t>(origin.badLine));
        else
            json.Null();
        json.Key("message");
        if (origin.badLine != 0)
            json.String(std::to_wstring(origin.badLineFields) + L" fields, want " +
                        std::to_wstring(OrvaneRec::columnCount));
        else
            json.String(L"no table file and no built-in copy");
        json.EndObject();
    }
    json.EndObject();
}

void WriteQueries(JsonWriter& json, const CheckResult& result, const OrvaneRec* compared, wchar_t decimalSeparator) {
    json.BeginArray();
    for (const auto& query : result.wmiResult->queries) {
        if (!query) continue;
        json.BeginObject();
        json.Key("heading");
        json.String(query->label);
        json.Key("wql");
        json.String(query->query);
        json.Key("properties");
        json.BeginArray();
        for (const auto& prop : query->props) {
            if (!prop) continue;
            const bool checked = prop->checkIndex >= 1 && prop->checkIndex <= 8;
            std::wstring line = PropertyLineText(*prop, decimalSeparator);
            if (prop->failed != 0) line += kFailureMarker;
            json.BeginObject();
            json.Key("label");
            json.String(prop->label);
            json.Key("name");
            json.String(prop->name);
            json.Key("value");
            json.String(prop->value);
            json.Key("reportLine");
            json.String(line);
            json.Key("checkColumn");
            if (checked)
                json.Number(prop->checkIndex);
            else
                json.Null();
            // required and fellShort come from one row, so that no value that
            // meets it reads as short of it; marked is the report's mark, of any row tried.
            const std::wstring* required =
                checked && compared ? &compared->columns[static_cast<size_t>(prop->checkIndex)] : nullptr;
            json.Key("required");
            if (required)
                json.String(*required);
            else
                json.Null();
            json.Key("fellShort");
            json.Bool(required && FallsShort(*query, *prop, *required));
            json.Key("marked");
            json.Bool(prop->failed != 0);
            json.EndObject();
        }
        json.EndArray();
        json.EndObject();
    }
    json.EndArray();
}

void WriteGraphics(JsonWriter& json, const OrvaneRec& run, GraphicsReading::Outcome driver) {
    static const char* const kNames[OrvaneRec::glCount] = {"vendor", "renderer", "version", "shadingLanguageVersion"};
    json.BeginObject();
    for (int k = 0; k < OrvaneRec::glCount; ++k) {
        json.Key(kNames[k]);
        json.String(run.glInfo[k]);
    }
    // The same reading of the verdict as the report's marker on the version line.
    const int32_t verdict = LeadingInt(run.columns[OrvaneRec::glVerdict]);
    json.Key("verdict");
    json.String(verdict > 0 ? L"met" : (verdict == 0 ? L"not-met" : L"warning"));
    json.Key("verdictText");
    json.String(run.columns[OrvaneRec::glVerdict]);
    json.Key("softwareRenderer");
    const std::wstring software = SoftwareRendererHint(run.glInfo);
    if (software.empty())
        json.Null();
    else
        json.String(software);
    json.Key("driver");
    json.String(GraphicsOutcomeName(driver));
    json.EndObject();
}

}  // namespace

std::string CheckReportJson(const CheckResult& result, const CheckOutcome& outcome, wchar_t decimalSeparator) {
    const OrvaneRec& run = result.runRecord;
    const OrvaneRec* compared = RequiredFromRow(result);

    JsonWriter json;
    json.BeginObject();
    json.Key("schemaVersion");
    json.Number(kCheckJsonSchemaVersion);
    json.Key("tool");
    json.BeginObject();
    json.Key("name");
    json.String(outcome.toolName);
    json.Key("version");
    json.String(outcome.toolVersion);
    json.EndObject();
    json.Key("machine");
    if (outcome.machineName)
        json.String(*outcome.machineName);
    else
        json.Null();
    json.Key("timeUtc");
    json.String(outcome.utcTime);

    json.Key("verdict");
    json.String(outcome.exitCode == 0 ? L"meets" : L"falls-short");
    json.Key("exitCode");
    json.Number(outcome.exitCode);
    json.Key("wmiReached");
    json.Bool(result.WmiReached());
    json.Key("wmiComplete");
    json.Bool(result.wmi == WmiCompleteness::Complete);
    json.Key("unansweredQueries");
    json.BeginArray();
    for (const std::wstring& query : result.unansweredQueries) json.String(query);
    json.EndArray();
    json.Key("status");
    json.String(outcome.status);

    json.Key("tables");
    json.BeginObject();
    json.Key("requirements");
    WriteTable(json, L"OrvaneSPC.csv", result.specOrigin, result.specLoaded);
    json.Key("queries");
    WriteTable(json, L"OrvaneWMI.csv", result.queryOrigin, result.queryLoaded);
    json.EndObject();

    json.Key("selectedRow");
    if (run.line != 0) {
        json.BeginObject();
        json.Key("line");
        json.Number(static_cast<int64_t>(run.line));
        json.Key("statusText");
        json.String(run.columns[OrvaneRec::statusText]);
        json.Key("linkText");
        json.String(run.columns[OrvaneRec::linkText]);
        json.Key("linkUrl");
        json.String(run.columns[OrvaneRec::linkUrl]);
        json.EndObject();
    } else {
        json.Null();
    }
    json.Key("requiredFrom");
    if (compared) {
        json.BeginObject();
        json.Key("line");
        json.Number(static_cast<int64_t>(compared->line));
        json.Key("selected");
        json.Bool(run.line != 0);
        json.EndObject();
    } else {
        json.Null();
    }

    json.Key("requirements");
    WriteRequirementsJson(json, result, decimalSeparator);

    json.Key("queries");
    WriteQueries(json, result, compared, decimalSeparator);
    json.Key("graphics");
    WriteGraphics(json, run, result.graphics);
    json.Key("advice");
    WriteAdviceJson(json, result, decimalSeparator);
    json.Key("recording");
    WriteRecording(json, result.recorded);
    if (outcome.replayedFrom) {
        json.Key("replayedFrom");
        WriteReplaySource(json, *outcome.replayedFrom);
    }
    json.EndObject();
    return json.Finish();
}
