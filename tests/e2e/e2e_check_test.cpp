// orvane-check.exe seen from outside: its text is the dialog's own, its JSON
// names what the dialog shows, and its exit code follows the machine and
// whether its output could be written.

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <map>
#include <string>
#include <thread>
#include <tuple>
#include <vector>

#include "e2e/harness.h"
#include "fakes/strict_json.h"

namespace e2e {
namespace {

constexpr int kReportId = 1001;
constexpr int kStatusId = 1002;

// The built-in table's lines whose values may change between two runs a few seconds apart.
bool IsVolatile(const std::string& line) {
    return line.rfind("\t現在の速度:", 0) == 0 || line.rfind("\t空き容量 :", 0) == 0;
}

bool HasLine(const std::vector<std::string>& lines, const std::string& line) {
    return std::find(lines.begin(), lines.end(), line) != lines.end();
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
    const std::vector<std::string> report = CrLfLines(ToUtf8(ControlText(dialog->handle, kReportId)));
    PostCommand(dialog->handle, IDCANCEL);
    EXPECT_TRUE(process.WaitForExit());

    // --text: the dialog's status, a blank line, its report.
    std::vector<std::string> dialogText = {status, ""};
    dialogText.insert(dialogText.end(), report.begin(), report.end());
    const std::vector<std::string> textLines = CrLfLines(text->standardOutput);
    ASSERT_EQ(textLines.size(), dialogText.size()) << text->standardOutput;
    for (size_t i = 0; i < textLines.size(); ++i) {
        if (!IsVolatile(dialogText[i])) {
            EXPECT_EQ(textLines[i], dialogText[i]) << "line " << i + 1;
        }
    }

    // The JSON: the dialog's status, and each of its headings and values a line of the dialog.
    EXPECT_EQ((*json)["verdict"].text, "falls-short");
    EXPECT_EQ((*json)["status"].text, status);
    EXPECT_EQ((*json)["tables"]["requirements"]["source"].text, "built-in");
    EXPECT_EQ((*json)["tables"]["queries"]["sha256"].text.size(), 64u);
    EXPECT_FALSE((*json)["machine"].text.empty());
    ASSERT_FALSE((*json)["queries"].items.empty());
    for (const JsonValue& query : (*json)["queries"].items) {
        EXPECT_TRUE(HasLine(report, query["heading"].text)) << query["heading"].text;
        for (const JsonValue& prop : query["properties"].items) {
            const std::string line = "\t" + prop["reportLine"].text;
            EXPECT_TRUE(IsVolatile(line) || HasLine(report, line)) << line;
        }
    }
    EXPECT_TRUE(HasLine(report, "\tGL_VENDOR: " + (*json)["graphics"]["vendor"].text));
    EXPECT_TRUE(HasLine(report, "\tGL_RENDERER: " + (*json)["graphics"]["renderer"].text));
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
        if (c.queryTable) {
            ASSERT_TRUE(folder.AddFile(L"OrvaneWMI.csv", c.queryTable));
        }
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

// Nothing in these tables changes between two runs a few seconds apart.
const char* const kSteadyQueries =
    "ROOT\\CIMV2,,,,,-1\r\n,SELECT * FROM Win32_OperatingSystem,,OS [%s],,-1\r\n,,Version,Version : %s,,1\r\n"
    ",,Caption,Caption : %s,,-1\r\n,SELECT * FROM Win32_VideoController,,Video [%s],,-1\r\n"
    ",,Description,Description : %s,,-1\r\n,,AdapterRAM,RAM : %0.2f(GB),9.31E-10,-1\r\n";

std::wstring Quoted(const std::wstring& path) { return L"\"" + path + L"\""; }

TEST(E2eCheck, ReplayGivesTheLiveReportAndAStricterTablesVerdict) {
    ScratchFolder folder;
    ASSERT_TRUE(folder.AddProgram(BuiltProgram::OrvaneCheck));
    ASSERT_TRUE(folder.AddFile(L"OrvaneSPC.csv", "1.0,10.0.0,0,vorn_explorer.exe,,1,ok,,\r\n"));
    ASSERT_TRUE(folder.AddFile(L"OrvaneWMI.csv", kSteadyQueries));
    ASSERT_TRUE(folder.AddFile(L"strict\\OrvaneSPC.csv", "1.0,10.0.99999,0,vorn_explorer.exe,,1,ok,,\r\n"));
    ASSERT_TRUE(folder.AddFile(L"strict\\OrvaneWMI.csv", kSteadyQueries));
    const std::wstring exe = folder.PathOf(L"orvane-check.exe");
    const std::wstring recording = Quoted(folder.PathOf(L"a.json"));

    const std::optional<ConsoleRun> recorded = RunConsoleProgram(exe, L"--json --out " + recording, 0);
    const std::optional<ConsoleRun> live = RunConsoleProgram(exe, L"--text", 0);
    const std::optional<ConsoleRun> replay = RunConsoleProgram(exe, L"--replay " + recording + L" --text", 0);
    const std::optional<ConsoleRun> replayJson =
        RunConsoleProgram(exe, L"--replay " + recording + L" --out " + Quoted(folder.PathOf(L"b.json")), 0);
    ASSERT_TRUE(recorded && live && replay && replayJson);
    EXPECT_EQ(replay->standardOutput, live->standardOutput);
    // The replay takes the recording's time: all but replayedFrom is the same.
    const std::string a = folder.ReadFile(L"a.json").value_or("");
    const std::string b = folder.ReadFile(L"b.json").value_or("");
    const size_t from = b.find(",\n  \"replayedFrom\"");
    ASSERT_NE(from, std::string::npos) << b;
    EXPECT_EQ(b.substr(0, from) + "\n}\n", a);

    const std::optional<ConsoleRun> strict = RunConsoleProgram(
        exe, L"--replay " + recording + L" --tables " + Quoted(folder.PathOf(L"strict")) + L" --json", 1);
    ASSERT_TRUE(strict);
    const std::optional<JsonValue> json = ParseStrictJson(strict->standardOutput);
    ASSERT_TRUE(json) << strict->standardOutput;
    EXPECT_EQ((*json)["verdict"].text, "falls-short");
    EXPECT_EQ((*json)["replayedFrom"]["file"].text, ToUtf8(folder.PathOf(L"a.json")));
    EXPECT_EQ((*json)["replayedFrom"]["unrecorded"].items.size(), 0u);

    ASSERT_TRUE(folder.AddFile(L"cut.json", a.substr(0, a.size() / 2)));
    const std::optional<ConsoleRun> cut = RunConsoleProgram(exe, L"--replay " + Quoted(folder.PathOf(L"cut.json")), 2);
    ASSERT_TRUE(cut);
    EXPECT_NE(cut->standardError.find("cut.json"), std::string::npos) << cut->standardError;
}

TEST(E2eCheck, SummaryOfTheMachineZooCountsAndWritesOneCsvLinePerRecording) {
    ScratchFolder folder;
    ASSERT_TRUE(folder.AddProgram(BuiltProgram::OrvaneCheck));
    std::wstring zoo = L"Z:" + std::wstring(ORVANE_SOURCE_DIR, ORVANE_SOURCE_DIR + sizeof ORVANE_SOURCE_DIR - 1) +
                       L"\\tests\\machines";
    for (wchar_t& c : zoo)
        if (c == L'/') c = L'\\';
    const std::optional<ConsoleRun> run = RunConsoleProgram(
        folder.PathOf(L"orvane-check.exe"), L"--summary " + Quoted(zoo) + L" --csv " + Quoted(folder.PathOf(L"fleet.csv")), 1);
    ASSERT_TRUE(run);
    // The same to --out's file, and the page beside it.
    const std::optional<ConsoleRun> paged =
        RunConsoleProgram(folder.PathOf(L"orvane-check.exe"),
                          L"--summary " + Quoted(zoo) + L" --html " + Quoted(folder.PathOf(L"fleet.html")) + L" --out " +
                              Quoted(folder.PathOf(L"summary.txt")),
                          1);
    ASSERT_TRUE(paged);
    EXPECT_TRUE(paged->standardOutput.empty());
    EXPECT_EQ(folder.ReadFile(L"summary.txt").value_or(""), run->standardOutput);
    const std::string page = folder.ReadFile(L"fleet.html").value_or("");
    EXPECT_NE(page.find("&lt;script&gt;alert(1)&lt;/script&gt;"), std::string::npos);
    EXPECT_EQ(page.find("<script"), std::string::npos);
    // Exit 1: all read, but not all meet.
    // Under the built-in tables, as the zoo's expected.tsv has it.
    EXPECT_NE(run->standardOutput.find("recordings: 26\r\nmeets: 10\r\nfalls short: 13\r\n"
                                       "no verdict (WMI not reached or not answering): 3\r\n"
                                       "partial (something unrecorded, counted as absent): 2\r\nunreadable: 0\r\n"
                                       "failing items:\r\n      6  OSバージョン      :\r\n      5  GL_VERSION:\r\n"),
              std::string::npos)
        << run->standardOutput;

    const std::string csv = folder.ReadFile(L"fleet.csv").value_or("");
    EXPECT_EQ(csv.substr(0, 3), "\xEF\xBB\xBF");
    EXPECT_EQ(std::count(csv.begin(), csv.end(), '\n'), 27);  // the header and one line per recording
    EXPECT_GT(::MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, csv.data(), static_cast<int>(csv.size()), nullptr, 0), 0);
}

// Intune's line on a PC that falls short: exit code 0, and every setting
// judged by a rule of the rules file, with a value of that rule's type.
TEST(E2eCheck, IntuneLineOfAFailingPcFitsTheRulesFile) {
    ScratchFolder folder;
    ASSERT_TRUE(folder.AddProgram(BuiltProgram::OrvaneCheck));
    const std::optional<ConsoleRun> line = RunConsoleProgram(folder.PathOf(L"orvane-check.exe"), L"--intune", 0);
    ASSERT_TRUE(line);
    ASSERT_TRUE(RunConsoleProgram(folder.PathOf(L"orvane-check.exe"),
                                  L"--intune-rules --out " + Quoted(folder.PathOf(L"rules.json")), 0));
    const std::optional<JsonValue> settings = ParseStrictJson(line->standardOutput);
    const std::optional<JsonValue> rules = ParseStrictJson(folder.ReadFile(L"rules.json").value_or(""));
    ASSERT_TRUE(settings && rules) << line->standardOutput;
    EXPECT_EQ((*settings)["OrvaneVerdict"].text, "falls-short") << "the default prefix's Windows is too old";
    std::map<std::string, std::string> types;
    for (const JsonValue& rule : (*rules)["Rules"].items) types[rule["SettingName"].text] = rule["DataType"].text;
    EXPECT_EQ(types.size(), settings->members.size());
    for (const auto& [name, value] : settings->members) {
        const std::string& type = types[name];
        const JsonValue::Kind kind = type == "Boolean" ? JsonValue::Kind::Bool
                                     : type == "Int64" ? JsonValue::Kind::Number
                                                       : JsonValue::Kind::String;
        EXPECT_TRUE(!type.empty() && value.kind == kind) << name << " " << type;
    }
}

// Only a check of this PC asks the graphics driver, and not for a refused
// table; a recording is refused by its size. A driver that hangs slows none of
// these, and no second process of ours starts.
TEST(E2eCheck, WhatChecksNoPcNeitherStartsNorWaitsForTheDriver) {
    ScratchFolder folder;
    ASSERT_TRUE(folder.AddProgram(BuiltProgram::OrvaneCheck));
    ASSERT_TRUE(folder.AddFile(L"refused\\OrvaneSPC.csv", "1.0,10.0.0,0,a.exe,,1,ok,,\r\n3.3,10.0\r\n"));
    const std::wstring exe = folder.PathOf(L"orvane-check.exe"), refused = Quoted(folder.PathOf(L"refused"));
    ASSERT_TRUE(RunConsoleProgram(exe, L"--out " + Quoted(folder.PathOf(L"fleet.json")), 1) &&
                folder.AddFile(L"fleet\\pc.json", folder.ReadFile(L"fleet.json").value_or("")));
    UniqueFile huge(::CreateFileW(folder.PathOf(L"fleet\\huge.json").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    LARGE_INTEGER gigabyte{};
    gigabyte.QuadPart = 1LL << 30;  // a hole on disk
    ASSERT_TRUE(huge && ::SetFilePointerEx(huge.get(), gigabyte, nullptr, FILE_BEGIN) && ::SetEndOfFile(huge.get()));
    huge.reset();
    const StandInGraphicsDriver driver(L"hang:format");
    ASSERT_TRUE(driver.ok());
    // The arguments, the exit code, what it says, and whether it checks this PC (and so starts the probe).
    const std::tuple<std::wstring, DWORD, const char*, bool> cases[] = {
        {L"--version", 0, "orvane-check ", false},
        {L"--validate " + refused, 2, "OrvaneSPC.csv:2: 2 fields, want 9", false},
        {L"--tables " + refused, 2, "\"exitCode\": 2", true},
        {L"--replay " + Quoted(folder.PathOf(L"fleet\\huge.json")), 2, "huge.json: too large: more than 1048576 bytes", false},
        {L"--summary " + Quoted(folder.PathOf(L"fleet")), 2, "recordings: 2\r\nmeets: 0\r\nfalls short: 1\r\n", false},
    };
    for (const auto& [arguments, exitCode, says, checksThisPc] : cases) {
        SCOPED_TRACE(ToUtf8(arguments));
        std::atomic<bool> ran{false};
        size_t mostAtOnce = 0;
        std::thread watch([&] {
            for (; !ran; std::this_thread::sleep_for(std::chrono::milliseconds(5)))
                mostAtOnce = std::max(mostAtOnce, ProcessesRunningFrom(exe));
        });
        const auto start = std::chrono::steady_clock::now();
        const std::optional<ConsoleRun> run = RunConsoleProgram(exe, arguments, exitCode);
        EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(2));
        ran = true;
        watch.join();
        EXPECT_TRUE(checksThisPc || mostAtOnce <= 1) << "a graphics probe was started";
        ASSERT_TRUE(run);
        EXPECT_NE((run->standardOutput + run->standardError).find(says), std::string::npos) << run->standardOutput;
    }
}

// An old or damaged Windows without a system DLL that a run calls (Wine's
// override for this program takes ole32 away, and the WMI thread calls it).
TEST(E2eCheck, AMissingSystemDllIsOneLineAndExitCode70NotACrash) {
    ScratchFolder folder;
    ASSERT_TRUE(folder.AddProgram(BuiltProgram::OrvaneCheck));
    RegistryValueGuard missing(HKEY_CURRENT_USER, L"Software\\Wine\\AppDefaults\\orvane-check.exe\\DllOverrides",
                               L"ole32", L"");
    ASSERT_TRUE(missing.ok());
    const std::optional<ConsoleRun> run = RunConsoleProgram(folder.PathOf(L"orvane-check.exe"), L"--json", 70);
    ASSERT_TRUE(run);
    EXPECT_EQ(run->standardOutput, "");
    EXPECT_EQ(run->standardError, "orvane-check: the system's ole32.dll cannot be loaded\r\n");
}

TEST(E2eCheck, StandardOutputThatTakesNothingEndsWith74) {
    ScratchFolder folder;
    ASSERT_TRUE(folder.AddProgram(BuiltProgram::OrvaneCheck));
    // As when the reader of a pipe has gone: "orvane-check | head -c 0".
    EXPECT_TRUE(RunConsoleProgram(folder.PathOf(L"orvane-check.exe"), L"--json", 74, ConsoleOutput::ClosedPipe));
}

}  // namespace
}  // namespace e2e
