#include "recording/recording_reader.h"

#include <gtest/gtest.h>

#include <iterator>

#include "probes/wmi_queries.h"

namespace {

// Every kind of value and answer, and members a replay does not read.
const std::string kDocument = R"({"schemaVersion": 1, "tool": {"name": "orvane-check"}, "machine": "PC-01",
 "timeUtc": "2026-01-31T08:15:00Z", "wmiReached": true, "verdict": "meets",
 "recording": {"wmiNamespace": "ROOT\\CIMV2", "answers": [
  {"wql": "SELECT * FROM Win32_OperatingSystem", "instances": [
    {"name": {"type": "BSTR", "value": "Windows|C:\\WINDOWS"},
     "properties": [{"name": "Version", "type": "BSTR", "value": "10.0.22631"},
                    {"name": "AdapterRAM", "type": "I4", "value": -2147483648},
                    {"name": "Primary", "type": "BOOL", "value": true},
                    {"name": "Byte", "type": "UI1", "value": 255},
                    {"name": "Label", "type": "other", "value": null},
                    {"name": "Nowhere", "type": "absent", "value": null}]}]},
  {"wql": "SELECT * FROM Win32_Volume", "instances": null},
  {"wql": "SELECT * FROM Win32_Processor", "instances": []}],
  "graphics": {"vendor": "Microsoft", "renderer": "GDI Generic", "version": "1.1.0", "shadingLanguageVersion": null},
  "programs": [{"name": "vorn_explorer.exe", "present": true}],
  "productFolder": "D:\\VORN\\", "remoteSession": true, "decimalSeparator": ",", "tableCodePage": 1252}})";

}  // namespace

TEST(MachineRecording, KeepsEveryValueAsWmiDeliveredIt) {
    std::string error;
    const std::optional<MachineRecording> r = ReadMachineRecording(kDocument, error);
    ASSERT_TRUE(r.has_value()) << error;
    EXPECT_EQ(r->machine, L"PC-01");
    EXPECT_EQ(r->timeUtc, L"2026-01-31T08:15:00Z");
    EXPECT_EQ(r->wmiReached, true);
    EXPECT_EQ(r->wmiNamespace, L"ROOT\\CIMV2");
    ASSERT_EQ(r->answers.size(), 3u);
    EXPECT_FALSE(r->answers[1].instances.has_value());
    ASSERT_TRUE(r->answers[2].instances.has_value());
    EXPECT_TRUE(r->answers[2].instances->empty());
    const RecordedInstance& os = r->answers[0].instances->at(0);
    EXPECT_EQ(os.name.text, L"Windows|C:\\WINDOWS");
    const struct {
        const wchar_t* name;
        WmiValue::Type type;
        std::wstring text;  // the text the report would show
    } expected[] = {{L"Version", WmiValue::Type::Bstr, L"10.0.22631"},
                    {L"AdapterRAM", WmiValue::Type::I4, L"-2147483648"},
                    {L"Primary", WmiValue::Type::Bool, L"True"},
                    {L"Byte", WmiValue::Type::UI1, L"255"},
                    {L"Label", WmiValue::Type::Other, L" "},
                    {L"Nowhere", WmiValue::Type::Absent, L" "}};
    ASSERT_EQ(os.properties.size(), std::size(expected));
    for (size_t i = 0; i < os.properties.size(); ++i) {
        const WmiValue& v = os.properties[i].value;
        EXPECT_EQ(os.properties[i].name, expected[i].name);
        EXPECT_EQ(v.type, expected[i].type) << i;
        EXPECT_EQ(VariantToText(v), expected[i].text) << i;
    }
    ASSERT_TRUE(r->graphics.has_value());
    EXPECT_EQ((*r->graphics)[1], L"GDI Generic");
    EXPECT_FALSE((*r->graphics)[3].has_value());
    ASSERT_EQ(r->programs.size(), 1u);
    EXPECT_EQ(r->programs[0].name, L"vorn_explorer.exe");
    EXPECT_TRUE(r->programs[0].present);
    EXPECT_TRUE(r->productFolder == L"D:\\VORN\\" && r->remoteSession == true && r->decimalSeparator == L',' &&
                r->tableCodePage == 1252u);
}

TEST(MachineRecording, RefusesWhatIsNoSchemaOneRecordingAndSaysWhere) {
    const std::string properties = "recording.answers[0].instances[0].properties";
    const struct {
        const char* find;  // in the document above; empty: the whole document
        const char* replace;
        std::string error;
    } cases[] = {
        {"", "[1]", "the document is not a JSON object"},
        {"}}", "}", "not JSON: at byte 1192: ',' or '}' expected"},
        {"\"schemaVersion\": 1", "\"schemaVersion\": 2", "schemaVersion 2 is not 1"},
        {"\"schemaVersion\": 1", "\"schemaVersion\": 1.0", "schemaVersion 1.0 is not 1"},
        {"\"schemaVersion\": 1", "\"schemaVersion\": \"1\"", "schemaVersion is not a number"},
        {"\"schemaVersion\": 1", "\"version\": 1", "no \"schemaVersion\" member"},
        {"\"machine\": \"PC-01\"", "\"machine\": 7", "machine: not a string or null"},
        {"\"timeUtc\"", "\"time\"", "no \"timeUtc\" member"},
        {"\"wmiReached\": true", "\"wmiReached\": 1", "wmiReached: not true or false"},
        {"\"recording\"", "\"recorded\"", "no \"recording\" member"},
        {"\"recording\": {", "\"recording\": [{", "not JSON: at byte 1193: ',' or ']' expected"},
        {"\"wmiNamespace\": \"ROOT\\\\CIMV2\"", "\"wmiNamespace\": []", "recording.wmiNamespace: not a string or null"},
        {"\"answers\"", "\"answer\"", "recording: no \"answers\" member"},
        {"{\"wql\": \"SELECT * FROM Win32_Volume\", \"instances\": null}", "7", "recording.answers[1]: not an object"},
        {"\"instances\": null", "\"instances\": {}", "recording.answers[1].instances: not an array or null"},
        {"\"name\": {\"type\": \"BSTR\", \"value\": \"Windows|C:\\\\WINDOWS\"}", "\"name\": \"Windows\"",
         "recording.answers[0].instances[0].name: not an object"},
        {"\"type\": \"BOOL\"", "\"type\": \"bool\"", properties + "[2]: type \"bool\" unknown"},
        {"\"value\": true", "\"value\": 1", properties + "[2].value: a \"BOOL\" that is not true or false"},
        {"-2147483648", "2147483648",
         properties + "[1].value: an \"I4\" that is not an integer from -2147483648 to 2147483647"},
        {"\"value\": 255", "\"value\": 256", properties + "[3].value: a \"UI1\" that is not an integer from 0 to 255"},
        {"\"value\": \"10.0.22631\"", "\"value\": 10", properties + "[0].value: a \"BSTR\" that is not a string"},
        {"\"absent\", \"value\": null", "\"absent\", \"value\": \"\"",
         properties + "[5].value: not null, as \"absent\" has none"},
        {"{\"name\": \"Label\", ", "{", properties + "[4]: no \"name\" member"},
        {", \"shadingLanguageVersion\": null", "", "recording.graphics: no \"shadingLanguageVersion\" member"},
        {"\"graphics\": {", "\"graphics\": 0, \"x\": {", "recording.graphics: not an object or null"},
        {"\"programs\"", "\"graphicsDriver\": \"crashed\", \"programs\"",
         "recording.graphicsDriver: not \"answered\", \"no-context\", \"hung\" or \"failed\""},
        {"\"present\": true", "\"present\": \"yes\"", "recording.programs[0].present: not true or false"},
        {"\"D:\\\\VORN\\\\\"", "null", "recording.productFolder: not a string"},
        {"\"remoteSession\": true", "\"remoteSession\": 0", "recording.remoteSession: not true or false"},
        {"\",\", \"tableCodePage", "\",,\", \"tableCodePage", "recording.decimalSeparator: not a string of one character"},
        {"\",\", \"tableCodePage", "\"\", \"tableCodePage", "recording.decimalSeparator: not a string of one character"},
        {"1252", "0", "recording.tableCodePage: not an integer from 1 to 65535"},
        {"1252", "65536", "recording.tableCodePage: not an integer from 1 to 65535"},
    };
    for (const auto& c : cases) {
        std::string text = c.replace;
        if (*c.find) {
            text = kDocument;
            const size_t at = text.rfind(c.find);
            ASSERT_NE(at, std::string::npos) << c.find;
            text.replace(at, std::string(c.find).size(), c.replace);
        }
        std::string error;
        EXPECT_FALSE(ReadMachineRecording(text, error).has_value()) << c.error;
        EXPECT_EQ(error, c.error);
    }
}
