// orvane-check over fakes: its JSON read back by a strict parser, its exit
// codes, its command line, and that it only looks.

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <map>
#include <string>
#include <vector>

#include "check_tool/check_command_line.h"
#include "check_tool/check_tool.h"
#include "fleet/fleet_summary.h"
#include "fleet/intune_rules.h"
#include "check_json/json_writer.h"
#include "check_json/sha256.h"
#include "fakes/fake_platform.h"
#include "fakes/strict_json.h"
#include "recording/json_reader.h"
#include "recording/machine_recording.h"
#include "encoding/utf8_encoding.h"

namespace {

const wchar_t* const kOsQuery = L"SELECT * FROM Win32_OperatingSystem";
const wchar_t* const kVideoQuery = L"SELECT * FROM Win32_VideoController";

const char* const kQueryTable =
    "ROOT\\CIMV2,,,,,-1\r\n"
    ",SELECT * FROM Win32_OperatingSystem,,オペレーティング システム [%s],,-1\r\n"
    ",,Version,OSバージョン      : %s,,1\r\n"
    ",,OSArchitecture,アーキテクチャ     : %s,,2\r\n"
    ",SELECT * FROM Win32_VideoController,,ビデオ コントローラー [%s],,-1\r\n"
    ",,AdapterRAM,メモリ サイズ : %0.2f(GB),9.31E-10,-1\r\n";

const char* const kSpecRow =
    "3.3,10.0.19043,64 ビット,vorn_explorer.exe,,1,ご利用いただけます,VORN > 保守・サポート,https://support.example/";

std::string Utf8(const std::wstring& text) { return EncodeUtf8(text); }

// A machine with the built-in tables; the driver's strings carry a quote, a
// backslash, a control character and a lone surrogate, which JSON must survive.
struct Machine {
    explicit Machine(const wchar_t* osVersion) {
        fake.resources.texts[129] = ToCp932(kQueryTable);
        fake.resources.texts[130] = ToCp932(kSpecRow);
        fake.graphics.strings = GlDriverStrings{std::string("Mesa \"Project\"\\\x01"), std::string("LLVMpipe (LLVM 15.0.6, 256 bits)"),
                                                std::string("4.5 (Core Profile) Mesa 22.3.6"), std::string("4.50")};
        fake.system.executablePath = L"C:\\Tools\\orvane-check.exe";
        fake.wmi.answers[kOsQuery] = {{L"Windows"},
                                      {{L"Version", {TextValue(osVersion)}},
                                       {L"OSArchitecture", {TextValue(L"64 ビット")}}}};
        fake.wmi.answers[kVideoQuery] = {{std::wstring(L"GPU \xD800 A")}, {{L"AdapterRAM", {IntValue(-2147483648)}}}};
    }
    int Run(const std::vector<std::wstring>& args,
            std::chrono::milliseconds wmiTimeLimit = CheckRunSettings::kWmiTimeLimit) {
        output = CheckToolOutput{};
        return RunCheckTool(fake.platform, args, {L"1.2.3", L"2026-01-31T08:15:00Z", wmiTimeLimit}, output);
    }
    JsonValue Json() {
        std::string error;
        std::optional<JsonValue> json = ParseStrictJson(output.standardOutput, &error);
        EXPECT_TRUE(json.has_value()) << error << "\n" << output.standardOutput;
        return json.value_or(JsonValue{});
    }
    FakePlatform fake;
    CheckToolOutput output;
};

}  // namespace

TEST(CheckTool, Sha256KnownAnswers) {
    const struct {
        std::string input;
        const char* digest;
    } cases[] = {
        {"", "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855"},
        {"abc", "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad"},
        {"abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq",
         "248d6a61d20638b8e5c026930c3e6039a33ce45964ff2167f6ecedd419db06c1"},
        {"abcdefghbcdefghicdefghijdefghijkefghijklfghijklmghijklmnhijklmnoijklmnopjklmnopqklmnopqrlmnopqrsmnopqrstnopqrstu",
         "cf5b16a778af8380036ce59e7b0492370b249b11e8f07a51afac45037afee9d1"},
        // The padding's edges: the length still fits the block, just does not, one and a whole block.
        {std::string(55, 'x'), "d5e285683cd4efc02d021a5c62014694958901005d6f71e89e0989fac77e4072"},
        {std::string(56, 'x'), "04c26261370ee7541549d16dee320c723e3fd14671e66a099afe0a377c16888e"},
        {std::string(63, 'x'), "75220b47218278e656f2013bb8f0c455a25eaf01e86c64924e9d48d89776d6f2"},
        {std::string(64, 'x'), "7ce100971f64e7001e8fe5a51973ecdfe1ced42befe7ee8d5fd6219506b5393c"},
        {std::string(1000000, 'a'), "cdc76e5c9914fb9281a1c7e284d73e67f1809a48a497200e046d39ccc7112cd0"},
    };
    for (const auto& c : cases) EXPECT_EQ(Sha256Hex(c.input), c.digest) << c.input.size() << " bytes";
}

TEST(CheckTool, JsonStringsParseBackToTheirText) {
    const struct {
        const char* meaning;
        std::wstring text;
        std::string parsed;  // UTF-8
    } cases[] = {
        {"quote and backslash", L"a\"b\\c", "a\"b\\c"},
        {"control characters", std::wstring(L"\t\r\n\b\f\x01\x1f", 7), "\t\r\n\b\f\x01\x1f"},
        {"Japanese and markers", L"OSバージョン 【×】", "OSバージョン 【×】"},
        {"surrogate pair", L"\xD83D\xDE00", "\xF0\x9F\x98\x80"},
        {"lone high surrogate", L"a\xD800z", "a\xEF\xBF\xBDz"},
        {"lone low surrogate at the end", L"a\xDC00", "a\xEF\xBF\xBD"},
        {"NUL", std::wstring(L"a\0b", 3), std::string("a\0b", 3)},
    };
    for (const auto& c : cases) {
        const std::optional<JsonValue> v = ParseStrictJson(JsonString(c.text));
        ASSERT_TRUE(v.has_value()) << c.meaning << ": " << JsonString(c.text);
        EXPECT_EQ(v->text, c.parsed) << c.meaning;
    }
}

TEST(CheckTool, CommandLines) {
    using A = CheckOptions::Action;
    using F = CheckOptions::Format;
    const struct {
        std::vector<std::wstring> args;
        bool ok;
        A action;
        F format;
        const wchar_t* folder;  // nullptr: none
        const wchar_t* out;
    } cases[] = {
        {{}, true, A::Report, F::Json, nullptr, nullptr},
        {{L"--text", L"--tables", L"D:\\t", L"--out", L"r.txt"}, true, A::Report, F::Text, L"D:\\t\\", L"r.txt"},
        {{L"--validate", L"E:\\x\\"}, true, A::Validate, F::Json, L"E:\\x\\", nullptr},
        {{L"--validate", L"--out", L"p.txt"}, true, A::Validate, F::Json, nullptr, L"p.txt"},
        {{L"--version"}, true, A::Version, F::Json, nullptr, nullptr},
        {{L"--json", L"--text"}, false, A::Report, F::Json, nullptr, nullptr},
        {{L"--tables"}, false, A::Report, F::Json, nullptr, nullptr},
        {{L"--validate", L"--text"}, false, A::Report, F::Json, nullptr, nullptr},
        {{L"--validate", L"a", L"--tables", L"b"}, false, A::Report, F::Json, nullptr, nullptr},
        {{L"/?"}, false, A::Report, F::Json, nullptr, nullptr},
        {{L"--out", L"--json"}, false, A::Report, F::Json, nullptr, nullptr},
        {{L"--tables", L"--text"}, false, A::Report, F::Json, nullptr, nullptr},
        {{L"--replay", L"a.json", L"--text", L"--tables", L"T"}, true, A::Replay, F::Text, L"T\\", nullptr},
        {{L"--summary", L"a.json", L"M", L"--csv", L"f.csv"}, true, A::Summary, F::Json, nullptr, nullptr},
        {{L"--replay"}, false, A::Report, F::Json, nullptr, nullptr},
        {{L"--summary", L"--csv", L"f.csv"}, false, A::Report, F::Json, nullptr, nullptr},
        {{L"--summary", L"M", L"--text"}, false, A::Report, F::Json, nullptr, nullptr},
        {{L"--csv", L"f.csv"}, false, A::Report, F::Json, nullptr, nullptr},
        {{L"--replay", L"a.json", L"--summary", L"M"}, false, A::Report, F::Json, nullptr, nullptr},
        {{L"--summary", L"M", L"--html", L"p.html", L"--out", L"s.txt"}, true, A::Summary, F::Json, nullptr, L"s.txt"},
        {{L"--html", L"p.html"}, false, A::Report, F::Json, nullptr, nullptr},
        {{L"--intune", L"--tables", L"T"}, true, A::Intune, F::Json, L"T\\", nullptr},
        {{L"--intune-rules", L"--out", L"r.json"}, true, A::IntuneRules, F::Json, nullptr, L"r.json"},
        {{L"--intune", L"--text"}, false, A::Report, F::Json, nullptr, nullptr},
        {{L"--intune", L"--summary", L"M"}, false, A::Report, F::Json, nullptr, nullptr},
    };
    for (const auto& c : cases) {
        std::wstring joined;
        for (const auto& a : c.args) joined += a + L" ";
        const ParsedCheckCommandLine parsed = ParseCheckCommandLine(c.args);
        ASSERT_EQ(parsed.options.has_value(), c.ok) << Utf8(joined);
        if (!c.ok) {
            EXPECT_FALSE(parsed.error.empty()) << Utf8(joined);
            continue;
        }
        EXPECT_EQ(parsed.options->action, c.action) << Utf8(joined);
        EXPECT_EQ(parsed.options->format, c.format) << Utf8(joined);
        EXPECT_EQ(parsed.options->tablesFolder.value_or(L"<none>"), c.folder ? c.folder : L"<none>") << Utf8(joined);
        EXPECT_EQ(parsed.options->outFile.value_or(L"<none>"), c.out ? c.out : L"<none>") << Utf8(joined);
    }
}

TEST(CheckTool, JsonOfAFailingMachineFieldByField) {
    Machine m(L"10.0.17763");
    EXPECT_EQ(m.Run({}), 1);
    const JsonValue json = m.Json();

    EXPECT_EQ(json["schemaVersion"].number, 1);
    EXPECT_EQ(json["tool"]["name"].text, "orvane-check");
    EXPECT_EQ(json["tool"]["version"].text, "1.2.3");
    EXPECT_EQ(json["machine"].text, "DESKTOP-01");
    EXPECT_EQ(json["timeUtc"].text, "2026-01-31T08:15:00Z");
    EXPECT_EQ(json["verdict"].text, "falls-short");
    EXPECT_EQ(json["exitCode"].number, 1);
    EXPECT_TRUE(json["wmiReached"].boolean);
    EXPECT_EQ(json["status"].text, "【×】動作スペックを満たさない項目があります");

    const JsonValue& requirements = json["tables"]["requirements"];
    EXPECT_EQ(requirements["file"].text, "OrvaneSPC.csv");
    EXPECT_EQ(requirements["source"].text, "built-in");
    EXPECT_EQ(requirements["sha256"].text, Sha256Hex(ToCp932(kSpecRow)));
    EXPECT_TRUE(requirements["error"].IsNull());
    EXPECT_EQ(json["tables"]["queries"]["sha256"].text, Sha256Hex(ToCp932(kQueryTable)));

    EXPECT_TRUE(json["selectedRow"].IsNull());
    EXPECT_EQ(json["requiredFrom"]["line"].number, 1);
    EXPECT_FALSE(json["requiredFrom"]["selected"].boolean);

    ASSERT_EQ(json["queries"].items.size(), 2u);
    const JsonValue& os = json["queries"][0];
    EXPECT_EQ(os["heading"].text, "オペレーティング システム [Windows]");
    EXPECT_EQ(os["wql"].text, Utf8(kOsQuery));
    const JsonValue& version = os["properties"][0];
    EXPECT_EQ(version["label"].text, "OSバージョン      : %s");
    EXPECT_EQ(version["name"].text, "Version");
    EXPECT_EQ(version["value"].text, "10.0.17763");
    EXPECT_EQ(version["reportLine"].text, "OSバージョン      : 10.0.17763 【×】");
    EXPECT_EQ(version["checkColumn"].number, 1);
    EXPECT_EQ(version["required"].text, "10.0.19043");
    EXPECT_TRUE(version["fellShort"].boolean);
    const JsonValue& arch = os["properties"][1];
    EXPECT_EQ(arch["required"].text, "64 ビット");
    EXPECT_FALSE(arch["fellShort"].boolean);

    const JsonValue& video = json["queries"][1];
    EXPECT_EQ(video["heading"].text, "ビデオ コントローラー [GPU \xEF\xBF\xBD A]");
    const JsonValue& ram = video["properties"][0];
    EXPECT_EQ(ram["reportLine"].text, "メモリ サイズ : 2.00(GB)");
    EXPECT_TRUE(ram["checkColumn"].IsNull());
    EXPECT_TRUE(ram["required"].IsNull());
    EXPECT_FALSE(ram["fellShort"].boolean);

    const JsonValue& gl = json["graphics"];
    EXPECT_EQ(gl["vendor"].text, "Mesa \"Project\"\\\x01");
    EXPECT_EQ(gl["renderer"].text, "LLVMpipe (LLVM 15.0.6, 256 bits)");
    EXPECT_EQ(gl["version"].text, "4.5 (Core Profile) Mesa 22.3.6");
    EXPECT_EQ(gl["shadingLanguageVersion"].text, "4.50");
    EXPECT_EQ(gl["verdict"].text, "met");
    EXPECT_EQ(gl["softwareRenderer"].text, "llvmpipe");

    ASSERT_EQ(json["requirements"].items.size(), 1u);
    const JsonValue& needs = json["requirements"][0];
    EXPECT_EQ(needs["line"].number, 1);
    EXPECT_EQ(needs["minOsVersion"].text, "10.0.19043");
    EXPECT_EQ(needs["osArchitecture"].text, "64 ビット");
    EXPECT_EQ(needs["minGlVersion"].text, "3.3");
    ASSERT_EQ(needs["fellShort"].items.size(), 1u);
    EXPECT_EQ(needs["fellShort"][0].text, "minOsVersion");
    ASSERT_EQ(needs["checks"].items.size(), 3u);
    EXPECT_EQ(needs["checks"][0]["reportLine"].text, "OSバージョン      : 10.0.19043 以上（この PC: 10.0.17763）");
    EXPECT_EQ(needs["checks"][0]["found"][0].text, "10.0.17763");
    EXPECT_FALSE(needs["checks"][2]["fellShort"].boolean);
    ASSERT_EQ(json["advice"].items.size(), 1u);
    EXPECT_EQ(json["advice"][0]["code"].text, "os-version");

    // It only looked.
    EXPECT_TRUE(m.fake.launcher.started.empty());
    EXPECT_TRUE(m.fake.resultWindow.shownViews.empty());
    EXPECT_TRUE(m.fake.messages.shown.empty());
    EXPECT_TRUE(m.fake.profiles.writes.empty());
    EXPECT_EQ(m.fake.files.files.size(), 0u);
}

// A property's required value and fellShort come from one row: the selected
// one, else the table's first (the lowest line, wherever it was tried); each
// case's version is marked, by some row tried.
TEST(CheckTool, RequiredAndFellShortOfAPropertyComeFromOneRow) {
    const std::string rows = "3.3,10.0.19045,64 ビット,a,,1,ok,,\r\n4.6,10.0.19044,64 ビット,a,,1,ok,,\r\n"
                             "1.0,10.0.19041,64 ビット,a,,1,ok,,\r\n";  // tried: lines 2, 1, 3
    const struct {
        const wchar_t* os;
        int line;
        const char* required;
        bool fellShort;
    } cases[] = {{L"10.0.19043", 3, "10.0.19041", false},  // the last row tried is met, line 2 marks
                 {L"10.0.19000", 1, "10.0.19045", true}};  // none is: line 1, tried second
    for (const auto& c : cases) {
        Machine m(c.os);
        m.fake.files.files[L"C:\\Tools\\OrvaneSPC.csv"] = ToCp932(rows);
        m.Run({});
        const JsonValue json = m.Json();
        const JsonValue& version = json["queries"][0]["properties"][0];
        EXPECT_EQ(json["requiredFrom"]["line"].number, c.line) << c.required;
        EXPECT_EQ(version["required"].text, c.required);
        EXPECT_EQ(version["fellShort"].boolean, c.fellShort) << c.required;
        EXPECT_TRUE(version["marked"].boolean) << c.required;
    }
}

TEST(CheckTool, ExitCodesAndWhatTheJsonSaysOfThem) {
    using std::chrono::milliseconds;
    const char* const badSecondLine = "3.3,10.0.19043,64 ビット,a,,1,ok,,\r\n3.3,10.0.19043\r\n";
    const struct {
        const char* meaning;
        const wchar_t* osVersion;
        const char* specFile;  // beside the program; nullptr: the built-in row
        bool wmiConnects;
        const wchar_t* osQueryFault;  // L"none": no answer; L"stall": answers too late; L"throw"
        int exitCode;
        bool wmiComplete;
        bool rowsNull;  // selectedRow and requiredFrom
    } cases[] = {
        {"OS too old", L"10.0.17763", nullptr, true, L"", 1, true, false},
        {"row met", L"10.0.22631", nullptr, true, L"", 0, true, false},
        {"second line of the file met", L"10.0.22631", "9,9,9,a,,1,x,,\r\n3.3,10.0.19043,64 ビット,a,,1,ok,,\r\n", true,
         L"", 0, true, false},
        {"bad second line: the good first one is not evaluated", L"10.0.22631", badSecondLine, true, L"", 2, true,
         true},
        {"WMI not reachable", L"10.0.22631", nullptr, false, L"", 3, false, false},
        {"bad table: WMI, unreachable here, is not even asked", L"10.0.22631", "x\r\n", false, L"", 2, true, true},
        {"the checked query has no answer: unknown, not met", L"10.0.22631", nullptr, true, L"none", 3, false, false},
        {"the checked query answers after the time for WMI", L"10.0.22631", nullptr, true, L"stall", 3, false, false},
        {"the service throws on the WMI thread", L"10.0.22631", nullptr, true, L"throw", 3, false, false},
    };
    for (const auto& c : cases) {
        Machine m(c.osVersion);
        m.fake.wmi.connects = c.wmiConnects;
        const std::wstring fault = c.osQueryFault;
        if (fault == L"none") m.fake.wmi.answers.erase(kOsQuery);
        if (fault == L"stall") m.fake.wmi.stallsAt = kOsQuery;
        if (fault == L"throw") m.fake.wmi.throwsAt = kOsQuery;
        if (c.specFile) m.fake.files.files[L"C:\\Tools\\OrvaneSPC.csv"] = ToCp932(c.specFile);
        // Room for a fresh thread to start on a busy machine (scripts/stress.sh).
        EXPECT_EQ(m.Run({L"--json"}, milliseconds(1000)), c.exitCode) << c.meaning;
        // A thread still inside the service makes the process end around it.
        if (fault == L"stall") {
            EXPECT_TRUE(m.output.wmiWorkOutstanding) << c.meaning;
        }
        m.fake.wmi.Release();
        const JsonValue json = m.Json();
        EXPECT_EQ(json["exitCode"].number, c.exitCode) << c.meaning;
        EXPECT_EQ(json["verdict"].text, c.exitCode == 0 ? "meets" : "falls-short") << c.meaning;
        EXPECT_EQ(json["wmiReached"].boolean, c.wmiConnects || c.exitCode == 2) << c.meaning << ": what was not tried did not fail";
        EXPECT_EQ(json["wmiComplete"].boolean, c.wmiComplete) << c.meaning;
        EXPECT_EQ(json["unansweredQueries"].items.size(), c.wmiComplete ? 0u : 1u) << c.meaning;
        EXPECT_EQ(json["selectedRow"].IsNull() && json["requiredFrom"].IsNull(), c.rowsNull) << c.meaning;
        if (c.rowsNull) {
            EXPECT_EQ(json["status"].text, "【×】動作スペックを満たしていません。") << c.meaning;
        }
        EXPECT_TRUE(m.fake.launcher.started.empty()) << c.meaning;
    }

    Machine second(L"10.0.22631");
    second.fake.files.files[L"C:\\Tools\\OrvaneSPC.csv"] = ToCp932(cases[2].specFile);
    second.Run({});
    EXPECT_EQ(second.Json()["selectedRow"]["line"].number, 2);
    EXPECT_EQ(second.Json()["selectedRow"]["statusText"].text, "ok");
    EXPECT_EQ(second.Json()["tables"]["requirements"]["source"].text, "C:\\Tools\\OrvaneSPC.csv");

    // A row met with a graphics verdict below zero: the warning marker, and the JSON says so.
    Machine warned(L"10.0.22631");
    warned.fake.files.files[L"C:\\Tools\\OrvaneSPC.csv"] = ToCp932("3.3,10.0.19043,64 ビット,a,,-1,ok,,\r\n");
    EXPECT_EQ(warned.Run({}), 0);
    EXPECT_EQ(warned.Json()["graphics"]["verdict"].text, "warning");

    Machine bad(L"10.0.22631");
    bad.fake.files.files[L"D:\\tables\\OrvaneSPC.csv"] = ToCp932(badSecondLine);
    EXPECT_EQ(bad.Run({L"--tables", L"D:\\tables"}), 2);
    const JsonValue error = bad.Json()["tables"]["requirements"]["error"];
    EXPECT_EQ(error["file"].text, "D:\\tables\\OrvaneSPC.csv");
    EXPECT_EQ(error["line"].number, 2);
    EXPECT_EQ(error["message"].text, "2 fields, want 9");
    EXPECT_NE(bad.output.standardError.find("D:\\tables\\OrvaneSPC.csv"), std::string::npos);

    Machine wrong(L"10.0.22631");
    EXPECT_EQ(wrong.Run({L"--jsno"}), 64);
    EXPECT_TRUE(wrong.output.standardOutput.empty());
    EXPECT_NE(wrong.output.standardError.find("--jsno"), std::string::npos);
    EXPECT_TRUE(wrong.fake.wmi.connectedNamespaces.empty()) << "a wrong command line checks nothing";

    Machine unwritable(L"10.0.22631");
    unwritable.fake.files.replaceResult = WriteResult::NotOpened;
    EXPECT_EQ(unwritable.Run({L"--out", L"C:\\r.json"}), 74);
}

TEST(CheckTool, TextHasTheByteOrderMarkOnlyInItsOwnFile) {
    Machine m(L"10.0.17763");
    EXPECT_EQ(m.Run({L"--text", L"--out", L"C:\\out\\report.txt"}), 1);
    const std::string file = m.fake.files.files[L"C:\\out\\report.txt"];
    EXPECT_EQ(file.substr(0, 3), "\xEF\xBB\xBF");
    EXPECT_EQ(m.Run({L"--text"}), 1);
    EXPECT_EQ(m.output.standardOutput, file.substr(3));
}

TEST(CheckTool, ValidateListsEachProblemAndExitsTwoOnAnError) {
    Machine m(L"10.0.22631");
    m.fake.files.files[L"E:\\t\\OrvaneSPC.csv"] = ToCp932("3.3,10.0.19043\r\n");
    m.fake.files.files[L"E:\\t\\OrvaneWMI.csv"] = ToCp932(kQueryTable);
    EXPECT_EQ(m.Run({L"--validate", L"E:\\t"}), 2);  // an error, not only warnings
    EXPECT_EQ(m.output.standardOutput, "OrvaneSPC.csv:1: 2 fields, want 9\r\n");
    EXPECT_TRUE(m.fake.wmi.connectedNamespaces.empty());
}

TEST(CheckTool, AdviceCodesNameTheCausesOfWhatFellShort) {
    using Driver = GraphicsReading::Outcome;
    constexpr Driver Read = Driver::Read, NoWindow = Driver::NoWindow, DriverHung = Driver::DriverHung,
                     DriverFailed = Driver::DriverFailed;
    const struct {
        const char* meaning;
        const char* row;  // beside the program
        const wchar_t* osVersion;
        bool remote;
        GraphicsReading::Outcome driver;
        std::vector<std::string> codes;
    } cases[] = {
        {"graphics 4.6 on llvmpipe 4.5", "4.6,10.0.19043,64 ビット,a.exe,,1,ok,,", L"10.0.22631", false, Read,
         {"software-renderer"}},
        {"and in a remote session", "4.6,10.0.19043,64 ビット,a.exe,,1,ok,,", L"10.0.22631", true, Read,
         {"software-renderer", "remote-session"}},
        {"remote, but only the OS fell short", "3.3,10.0.19043,64 ビット,a.exe,,1,ok,,", L"10.0.18362", true, Read,
         {"os-version"}},
        {"no context at all", "3.3,10.0.19043,64 ビット,a.exe,,1,ok,,", L"10.0.22631", false, NoWindow, {"no-graphics"}},
        {"a driver that hung", "3.3,10.0.19043,64 ビット,a.exe,,1,ok,,", L"10.0.22631", false, DriverHung,
         {"graphics-driver-failed"}},
        {"a driver that crashed", "3.3,10.0.19043,64 ビット,a.exe,,1,ok,,", L"10.0.22631", false, DriverFailed,
         {"graphics-driver-failed"}},
        {"an architecture above the machine's", "3.3,10.0.19043,128 ビット,a.exe,,1,ok,,", L"10.0.22631", false, Read,
         {"os-architecture"}},
        {"met, program missing", "3.3,10.0.19043,64 ビット,a.exe,,1,ok,,", L"10.0.22631", true, Read,
         {"product-missing"}},
    };
    for (const auto& c : cases) {
        Machine m(c.osVersion);
        m.fake.files.files[L"C:\\Tools\\OrvaneSPC.csv"] = ToCp932(c.row);
        m.fake.system.remoteSession = c.remote;
        if (c.driver != Read) m.fake.graphics.strings.reset();
        m.fake.graphics.outcome = c.driver;
        m.Run({});
        JsonValue json = m.Json();
        EXPECT_EQ(json["graphics"]["driver"].text, Utf8(GraphicsOutcomeName(c.driver))) << c.meaning;
        // A replay says the same of the driver, and of the session, whatever the replaying one.
        m.Run({L"--out", L"C:\\r\\a.json"});
        m.fake.system.remoteSession = !c.remote;
        m.Run({L"--replay", L"C:\\r\\a.json"});
        json = m.Json();
        std::vector<std::string> codes;
        for (const JsonValue& advice : json["advice"].items) codes.push_back(advice["code"].text);
        EXPECT_EQ(codes, c.codes) << c.meaning;
    }
}

// A live run's JSON replayed on another PC: the same text byte for byte, the
// same JSON but for replayedFrom and where the tables were read; under another
// table, that table's verdict and the facts it asks that were never recorded.
TEST(CheckTool, ReplayOfALiveRunGivesItsReportAgain) {
    Machine m(L"10.0.22631");
    m.fake.wmi.answers[kVideoQuery].values[L"AdapterRAM"] = {AbsentValue()};
    // The row is met, its program missing: the report names the product's folder.
    m.fake.files.files[L"C:\\Tools\\OrvaneSPC.csv"] = m.fake.files.files[L"E:\\desk\\OrvaneSPC.csv"] = ToCp932(kSpecRow);
    ASSERT_EQ(m.Run({L"--json", L"--out", L"C:\\r\\a.json"}), 0);
    ASSERT_EQ(m.Run({L"--text"}), 0);
    const std::string liveText = m.output.standardOutput;
    m.fake.wmi.answers.clear();  // the machine is gone; its recording stays
    m.fake.graphics.strings.reset();
    // The support desk's PC: another folder, a decimal comma, code page 1252, a remote session.
    m.fake.system.executablePath = L"D:\\Support\\orvane-check.exe";
    m.fake.system.decimalSeparator = L',';
    m.fake.codec.processCodePage = 1252;
    m.fake.system.remoteSession = true;

    EXPECT_EQ(m.Run({L"--replay", L"C:\\r\\a.json", L"--tables", L"E:\\desk", L"--text"}), 0);
    EXPECT_EQ(m.output.standardOutput, liveText);
    EXPECT_NE(liveText.find("（C:\\Tools\\vorn_explorer.exe）"), std::string::npos) << liveText;
    EXPECT_EQ(m.Run({L"--replay", L"C:\\r\\a.json", L"--tables", L"E:\\desk", L"--out", L"C:\\r\\b.json"}), 0);
    std::string live = m.fake.files.files[L"C:\\r\\a.json"];
    std::string replay = m.fake.files.files[L"C:\\r\\b.json"];
    replay.replace(replay.find("E:\\\\desk\\\\"), 10, "C:\\\\Tools\\\\");
    const size_t from = replay.find(",\n  \"replayedFrom\"");
    ASSERT_NE(from, std::string::npos);
    EXPECT_EQ(replay.substr(0, from) + "\n}\n", live);

    m.fake.files.files[L"E:\\t\\OrvaneSPC.csv"] = ToCp932("3.3,10.0.26100,64 ビット,vorn_explorer.exe,,1,ok,,\r\n");
    m.fake.files.files[L"E:\\t\\OrvaneWMI.csv"] =
        ToCp932(std::string(kQueryTable) + ",,Caption,C : %s,,-1\r\n,SELECT * FROM Win32_BIOS,,B [%s],,-1\r\n,,Version,V : %s,,1\r\n");
    EXPECT_EQ(m.Run({L"--replay", L"C:\\r\\a.json", L"--tables", L"E:\\t"}), 3);
    const JsonValue json = m.Json();
    EXPECT_EQ(json["replayedFrom"]["file"].text, "C:\\r\\a.json");
    EXPECT_EQ(json["replayedFrom"]["machine"].text, "DESKTOP-01");
    ASSERT_EQ(json["replayedFrom"]["unrecorded"].items.size(), 2u);
    EXPECT_EQ(json["replayedFrom"]["unrecorded"][0].text, "SELECT * FROM Win32_VideoController: Caption");
    EXPECT_EQ(json["replayedFrom"]["unrecorded"][1].text, "SELECT * FROM Win32_BIOS: Version");
    EXPECT_EQ(json["queries"][1]["properties"][0]["value"].text, " ") << "absent as recorded";

    m.fake.files.files[L"C:\\r\\cut.json"] = live.substr(0, live.size() / 2);
    m.fake.files.files[L"C:\\r\\v2.json"] = "{\"schemaVersion\": 2}";
    // The size alone refuses a file: one blank more than the reader takes.
    m.fake.files.files[L"C:\\r\\huge.json"] = live + std::string(JsonReadOptions().maxBytes + 1 - live.size(), ' ');
    for (const wchar_t* bad : {L"C:\\r\\cut.json", L"C:\\r\\v2.json", L"C:\\r\\none.json", L"C:\\r\\huge.json"}) {
        EXPECT_EQ(m.Run({L"--replay", bad}), 2);
        EXPECT_NE(m.output.standardError.find(Utf8(bad)), std::string::npos) << m.output.standardError;
        EXPECT_TRUE(m.output.standardOutput.empty());
    }
    EXPECT_NE(m.output.standardError.find("huge.json: too large: more than 1048576 bytes"), std::string::npos);

    // The fleet: two recordings in a folder, one unreadable, one named on its own.
    m.fake.files.files[L"C:\\fleet\\pc1.json"] = live;
    m.fake.files.files[L"C:\\fleet\\old.json"] = std::string(live).replace(live.rfind("10.0.22631"), 10, "10.0.17763");
    m.fake.files.files[L"C:\\fleet\\bad.json"] = "{";
    m.fake.files.files[L"C:\\fleet\\notes.txt"] = "not a recording";
    EXPECT_EQ(m.Run({L"--summary", L"C:\\fleet", L"C:\\r\\a.json", L"--csv", L"C:\\f.csv"}), 2);
    EXPECT_NE(m.output.standardOutput.find("recordings: 4\r\nmeets: 2\r\nfalls short: 1\r\n"), std::string::npos)
        << m.output.standardOutput;
    EXPECT_NE(m.output.standardOutput.find("unreadable: 1\r\n  C:\\fleet\\bad.json: no recording: not JSON"),
              std::string::npos);
    EXPECT_NE(m.output.standardOutput.find("failing items:\r\n      1  OSバージョン      :\r\n"), std::string::npos);
    const std::string csv = m.fake.files.files[L"C:\\f.csv"];
    EXPECT_EQ(csv.substr(0, 3), "\xEF\xBB\xBF");
    EXPECT_EQ(std::count(csv.begin(), csv.end(), '\n'), 5);
    EXPECT_NE(csv.find("\r\nDESKTOP-01,2026-01-31T08:15:00Z,falls-short,OSバージョン      :,10.0.17763,"
                       "\"LLVMpipe (LLVM 15.0.6, 256 bits)\",,C:\\fleet\\old.json,\r\n"),
              std::string::npos)
        << csv;

    // A recording whose replay fails us is one unreadable line; the others are still counted.
    m.fake.files.throwing.insert(L"C:\\fleet\\bad.json");
    EXPECT_EQ(m.Run({L"--summary", L"C:\\fleet"}), 70);
    EXPECT_NE(m.output.standardOutput.find("recordings: 3\r\nmeets: 1\r\nfalls short: 1\r\n"), std::string::npos);
    EXPECT_NE(m.output.standardOutput.find("unreadable: 1\r\n  C:\\fleet\\bad.json: internal error\r\n"), std::string::npos);
    EXPECT_EQ(m.output.standardError, "orvane-check: internal error: std::bad_alloc\r\n");
    EXPECT_EQ(m.Run({L"--replay", L"C:\\fleet\\bad.json"}), 70);
}

// Whatever a recording holds, no cell a spreadsheet makes of the CSV starts a
// formula, whether it splits at commas, semicolons or tabs.
TEST(CheckTool, CsvFieldsAreTextInEverySpreadsheet) {
    const std::pair<const wchar_t*, const char*> cases[] = {
        {L"=1+2, \"x\"", "\"'=1+2, \"\"x\"\"\""},
        {L"-1048576", "'-1048576"},
        {L"x;=HYPERLINK(\"https://evil.example\";\"open\")", "\"x;'=HYPERLINK(\"\"https://evil.example\"\";\"\"open\"\")\""},
        {L"GPU\t+cmd|' /C calc'!A0", "\"GPU\t'+cmd|' /C calc'!A0\""},
        {L"line\r\n@2nd; 2=2", "\"line\r\n'@2nd; 2=2\""},
    };
    for (const auto& [text, field] : cases) EXPECT_EQ(CsvField(text), field) << Utf8(text);
}

// The rules file against Intune's documented schema, and this PC's line
// against those rules: every setting has a rule, and a value of its type.
TEST(CheckTool, IntuneRulesFitTheSchemaAndTheSettingsLineFitsTheRules) {
    Machine m(L"10.0.17763");
    ASSERT_EQ(m.Run({L"--intune-rules", L"--out", L"C:\\r\\rules.json"}), 0) << m.output.standardError;
    const std::string file = m.fake.files.files[L"C:\\r\\rules.json"];
    EXPECT_LE(file.size(), kIntuneMaxBytes);
    std::string error;
    const std::optional<JsonValue> rules = ParseStrictJson(file, &error);
    ASSERT_TRUE(rules) << error;
    const std::vector<std::string> operators = {"IsEquals",  "NotEquals", "GreaterThan",
                                                "GreaterEquals", "LessThan", "LessEquals"};
    const std::map<std::string, JsonValue::Kind> operandKinds = {
        {"Boolean", JsonValue::Kind::Bool},     {"Int64", JsonValue::Kind::Number},
        {"Double", JsonValue::Kind::Number},    {"String", JsonValue::Kind::String},
        {"DateTime", JsonValue::Kind::String},  {"Version", JsonValue::Kind::String}};
    const std::vector<JsonValue>& all = (*rules)["Rules"].items;
    ASSERT_GE(all.size(), 10u);
    EXPECT_LE(all.size(), kIntuneMaxRules);
    std::map<std::string, std::string> types;  // setting: data type
    for (const JsonValue& rule : all) {
        const std::string& name = rule["SettingName"].text;
        EXPECT_EQ(rule.members.size(), 6u) << name;
        EXPECT_TRUE(types.emplace(name, rule["DataType"].text).second) << "twice: " << name;
        EXPECT_NE(std::find(operators.begin(), operators.end(), rule["Operator"].text), operators.end()) << name;
        ASSERT_EQ(operandKinds.count(rule["DataType"].text), 1u) << name;
        EXPECT_EQ(rule["Operand"].kind, operandKinds.at(rule["DataType"].text)) << name;
        if (rule["DataType"].text == "Boolean" || rule["DataType"].text == "String")
            EXPECT_TRUE(rule["Operator"].text == "IsEquals" || rule["Operator"].text == "NotEquals") << name;
        EXPECT_EQ(rule["MoreInfoUrl"].text, "https://support.example/") << name;
        std::map<std::string, const JsonValue*> languages;
        for (const JsonValue& text : rule["RemediationStrings"].items) {
            languages[text["Language"].text] = &text;
            EXPECT_FALSE(text["Title"].text.empty() || text["Description"].text.empty()) << name;
        }
        EXPECT_EQ(languages.size(), 2u) << name;
        ASSERT_TRUE(languages.count("en_US") && languages.count("ja_JP")) << name;
        EXPECT_EQ(languages["en_US"]->operator[]("Description").text.find("ビ"), std::string::npos) << name;
    }

    // A PC that falls short still prints its line, with exit code 0.
    ASSERT_EQ(m.Run({L"--intune"}), 0);
    const std::string& line = m.output.standardOutput;
    EXPECT_EQ(line.find('\n'), line.size() - 1);
    EXPECT_TRUE(std::all_of(line.begin(), line.end(), [](char c) { return c > 0; })) << "ASCII only";
    const JsonValue settings = m.Json();
    EXPECT_EQ(settings["OrvaneVerdict"].text, "falls-short");
    EXPECT_EQ(settings["OrvaneOsVersion"].text, "10.0.17763");
    EXPECT_FALSE(settings["OrvaneMeetsMinOsVersion"].boolean);
    EXPECT_EQ(settings["OrvaneCauseSoftwareRenderer"].text, "none") << "llvmpipe, but the graphics were met";
    EXPECT_EQ(settings.members.size(), types.size());
    for (const auto& [name, value] : settings.members) {
        ASSERT_EQ(types.count(name), 1u) << "no rule for " << name;
        EXPECT_EQ(value.kind, operandKinds.at(types[name])) << name;
    }

    // Beyond Intune's limits: named, and nothing written.
    m.fake.files.files[L"E:\\t\\OrvaneSPC.csv"] = ToCp932(std::string(kSpecRow) + std::string(8000, 'x') + "\r\n");
    m.fake.files.files[L"E:\\t\\OrvaneWMI.csv"] = ToCp932(kQueryTable);
    EXPECT_EQ(m.Run({L"--intune-rules", L"--tables", L"E:\\t"}), 2);
    EXPECT_NE(m.output.standardError.find("100 KB"), std::string::npos) << m.output.standardError;
    std::string many = kQueryTable;
    for (int i = 0; i < 100; ++i) many += ",,Version,V" + std::to_string(i) + " : %s,,1\r\n";
    m.fake.files.files[L"E:\\t\\OrvaneSPC.csv"] = ToCp932(kSpecRow);
    m.fake.files.files[L"E:\\t\\OrvaneWMI.csv"] = ToCp932(many);
    EXPECT_EQ(m.Run({L"--intune-rules", L"--tables", L"E:\\t"}), 2);
    EXPECT_NE(m.output.standardError.find("100 rules"), std::string::npos) << m.output.standardError;
    EXPECT_TRUE(m.output.standardOutput.empty());
}
