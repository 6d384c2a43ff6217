// orvane-check.exe seen from outside: its JSON and its text agree with what
// Orvane's dialog shows on the same prefix, and its exit code follows the
// machine.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "e2e/harness.h"
#include "fakes/strict_json.h"

namespace e2e {
namespace {

constexpr int kReportId = 1001;
constexpr int kStatusId = 1002;

// Values that may change between two runs a few seconds apart.
bool IsVolatile(const std::string& propertyName) {
    return propertyName == "FreeSpace" || propertyName == "CurrentClockSpeed";
}

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find("\r\n", start);
        if (end == std::string::npos) end = text.size();
        lines.push_back(text.substr(start, end - start));
        start = end + 2;
    }
    return lines;
}

struct ExpectedLine {
    std::string text;
    bool isVolatile = false;
};

// The report as the JSON describes it, line by line, as the dialog composes it.
std::vector<ExpectedLine> ReportFromJson(const JsonValue& json) {
    std::vector<ExpectedLine> lines;
    for (const JsonValue& query : json["queries"].items) {
        lines.push_back({query["heading"].text});
        for (const JsonValue& prop : query["properties"].items)
            lines.push_back({"\t" + prop["reportLine"].text, IsVolatile(prop["name"].text)});
        lines.push_back({""});
    }
    const JsonValue& gl = json["graphics"];
    const std::string verdict = gl["verdict"].text;
    const std::string marker = verdict == "not-met" ? " 【×】" : (verdict == "warning" ? " 【▲】" : "");
    lines.push_back({"OpenGL"});
    lines.push_back({"\tGL_VENDOR: " + gl["vendor"].text});
    lines.push_back({"\tGL_RENDERER: " + gl["renderer"].text});
    lines.push_back({"\tGL_VERSION: " + gl["version"].text + marker});
    lines.push_back({"\tGL_SHADING_LANGUAGE_VERSION: " + gl["shadingLanguageVersion"].text});
    return lines;
}

void ExpectSameLines(const std::vector<ExpectedLine>& expected, const std::vector<std::string>& actual,
                     const char* what) {
    ASSERT_EQ(expected.size(), actual.size()) << what;
    for (size_t i = 0; i < expected.size(); ++i) {
        if (expected[i].isVolatile) continue;
        EXPECT_EQ(expected[i].text, actual[i]) << what << ", line " << i + 1;
    }
}

std::optional<JsonValue> RunCheckJson(const ScratchFolder& folder, DWORD exitCode) {
    const std::optional<ConsoleRun> run = RunConsoleProgram(folder.PathOf(L"orvane-check.exe"), L"--json", exitCode);
    if (!run) {
        ADD_FAILURE() << "orvane-check.exe did not run to its end";
        return std::nullopt;
    }
    std::string error;
    std::optional<JsonValue> json = ParseStrictJson(run->standardOutput, &error);
    EXPECT_TRUE(json.has_value()) << error << "\n" << run->standardOutput << "\n" << run->standardError;
    return json;
}

TEST(E2eCheck, JsonAndTextAgreeWithTheDialogOnTheDefaultPrefix) {
    ScratchFolder folder;
    ASSERT_TRUE(folder.ok());
    ASSERT_TRUE(folder.AddProgram(BuiltProgram::Orvane));
    ASSERT_TRUE(folder.AddProgram(BuiltProgram::OrvaneCheck));

    // The default prefix reports a Windows older than the built-in row asks for.
    const std::optional<JsonValue> json = RunCheckJson(folder, 1);
    ASSERT_TRUE(json);
    const std::optional<ConsoleRun> text = RunConsoleProgram(folder.PathOf(L"orvane-check.exe"), L"--text", 1);
    ASSERT_TRUE(text);

    OrvaneProcess process;
    ASSERT_TRUE(StartIn(process, folder));
    const std::optional<WindowInfo> dialog = process.WaitForWindow({L"#32770", std::wstring(L"Orvane")});
    ASSERT_TRUE(dialog) << "Orvane showed no result dialog";
    const std::string status = ToUtf8(ControlText(dialog->handle, kStatusId));
    const std::string report = ToUtf8(ControlText(dialog->handle, kReportId));
    PostCommand(dialog->handle, IDCANCEL);
    EXPECT_TRUE(process.WaitForExit());

    EXPECT_EQ((*json)["verdict"].text, "falls-short");
    EXPECT_EQ((*json)["status"].text, status);
    EXPECT_EQ((*json)["tables"]["requirements"]["source"].text, "built-in");
    EXPECT_EQ((*json)["tables"]["queries"]["sha256"].text.size(), 64u);
    EXPECT_FALSE((*json)["machine"].text.empty());
    ExpectSameLines(ReportFromJson(*json), Lines(report), "JSON against the dialog");

    std::vector<ExpectedLine> textLines = {{status}, {""}};
    for (const std::string& line : Lines(report)) textLines.push_back({line});
    const std::vector<ExpectedLine> fromJson = ReportFromJson(*json);
    for (size_t i = 0; i < fromJson.size() && i + 2 < textLines.size(); ++i)
        textLines[i + 2].isVolatile = fromJson[i].isVolatile;
    ExpectSameLines(textLines, Lines(text->standardOutput), "--text against the dialog");
}

TEST(E2eCheck, ExitsZeroWhenTheOsBuildMeetsTheBuiltInRow) {
    PassingOsBuild passing;
    E2E_REQUIRE(passing.ok(), PassingOsBuild::kNeed);
    ScratchFolder folder;
    ASSERT_TRUE(folder.AddProgram(BuiltProgram::OrvaneCheck));

    const std::optional<JsonValue> json = RunCheckJson(folder, 0);
    ASSERT_TRUE(json);
    EXPECT_EQ((*json)["verdict"].text, "meets");
    EXPECT_EQ((*json)["selectedRow"]["line"].number, 1);
    EXPECT_EQ((*json)["selectedRow"]["statusText"].text, "ご利用いただけます");
    EXPECT_TRUE((*json)["requiredFrom"]["selected"].boolean);
}

TEST(E2eCheck, UnknownFactsAndRefusedTablesAreNoVerdict) {
    const struct {
        const char* meaning;
        const char* specTable;
        const char* queryTable;  // nullptr: the built-in one
        DWORD exitCode;
        bool wmiComplete;
        bool rowsNull;  // selectedRow and requiredFrom
    } cases[] = {
        {"a good line, then a short one: the table is refused, not its first row used",
         "1.0,10.0.0,0,vorn_explorer.exe,,1,ok,,\r\n3.3,10.0\r\n", nullptr, 2, true, true},
        {"WMI answers, but not the checked query (it is no valid WQL): unknown, so no pass",
         "1.0,10.0.0,0,vorn_explorer.exe,,1,ok,,\r\n",
         "ROOT\\CIMV2,,,,,-1\r\n,SELECT * FROM Win32_OperatingSystem,,OS [%s],,-1\r\n,,Version,V : %s,,1\r\n"
         ",SELECT * FROM Win32_OperatingSystem WHERE,,X [%s],,-1\r\n,,Version,X : %s,,1\r\n",
         3, false, false},
    };
    for (const auto& c : cases) {
        ScratchFolder folder;
        ASSERT_TRUE(folder.AddProgram(BuiltProgram::OrvaneCheck));
        ASSERT_TRUE(folder.AddFile(L"OrvaneSPC.csv", c.specTable));
        if (c.queryTable) ASSERT_TRUE(folder.AddFile(L"OrvaneWMI.csv", c.queryTable));
        const std::optional<JsonValue> json = RunCheckJson(folder, c.exitCode);
        ASSERT_TRUE(json) << c.meaning;
        EXPECT_EQ((*json)["exitCode"].number, static_cast<double>(c.exitCode)) << c.meaning;
        EXPECT_TRUE((*json)["wmiReached"].boolean) << c.meaning;
        EXPECT_EQ((*json)["wmiComplete"].boolean, c.wmiComplete) << c.meaning;
        EXPECT_EQ((*json)["selectedRow"].IsNull() && (*json)["requiredFrom"].IsNull(), c.rowsNull) << c.meaning;
        if (!c.wmiComplete) {
            ASSERT_EQ((*json)["unansweredQueries"].items.size(), 1u) << c.meaning;
            EXPECT_EQ((*json)["unansweredQueries"][0].text, "SELECT * FROM Win32_OperatingSystem WHERE") << c.meaning;
        }
    }
}

}  // namespace
}  // namespace e2e
