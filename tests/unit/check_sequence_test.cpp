// The check run as a whole, over fakes: which queries it asks, how it ends,
// and how long it waits for the management service.

#include <gtest/gtest.h>

#include <chrono>
#include <sstream>
#include <thread>

#include "check/evaluation.h"
#include "check_tool/check_tool.h"
#include "orvane/orvane_app.h"
#include "tables/table_loaders.h"
#include "fakes/fake_platform.h"
#include "fakes/wmi_tree_builders.h"
#include "probes/wmi_queries.h"

namespace {

const wchar_t* const kComputerQuery = L"SELECT * FROM Win32_ComputerSystem";
const wchar_t* const kOsQuery = L"SELECT * FROM Win32_OperatingSystem";
const wchar_t* const kVideoQuery = L"SELECT * FROM Win32_VideoController";
const wchar_t* const kProcessorQuery = L"SELECT * FROM Win32_Processor";

// The checked query stands between unchecked ones, so table order matters.
const char* const kQueryTable =
    "ROOT\\CIMV2,,,,,-1\r\n"
    ",SELECT * FROM Win32_ComputerSystem,,コンピューター システム [%s],,-1\r\n"
    ",,Model,PC機種名 : %s,,-1\r\n"
    ",SELECT * FROM Win32_OperatingSystem,,オペレーティング システム [%s],,-1\r\n"
    ",,Version,OSバージョン      : %s,,1\r\n"
    ",,OSArchitecture,アーキテクチャ     : %s,,2\r\n"
    ",SELECT * FROM Win32_VideoController,,ビデオ コントローラー [%s],,-1\r\n"
    ",,Description,説明      : %s,,-1\r\n"
    ",SELECT * FROM Win32_Processor,,プロセッサ [%s],,-1\r\n"
    ",,CurrentClockSpeed,現在の速度: %s(MHz) ,,-1";

const char* const kSpecTable =
    "3.3,10.0.19043,64 ビット,vorn_explorer.exe,,1,ご利用いただけます,VORN > 保守・サポート,https://support.example/";

struct Machine {
    explicit Machine(const wchar_t* osVersion, bool productPresent = true) {
        fake.resources.texts[129] = ToCp932(kQueryTable);
        fake.resources.texts[130] = ToCp932(kSpecTable);
        fake.graphics.strings = GlDriverStrings{std::string("Mesa"), std::string("llvmpipe"),
                                                std::string("4.5 (Core Profile) Mesa 22.3.6"), std::string("4.50")};
        if (productPresent) fake.files.files[L"C:\\Tools\\vorn_explorer.exe"] = "MZ";

        fake.wmi.answers[kComputerQuery] = {{L"PC-01"}, {{L"Model", {TextValue(L"Model 7")}}}};
        fake.wmi.answers[kOsQuery] = {{L"Windows"},
                                      {{L"Version", {TextValue(osVersion)}},
                                       {L"OSArchitecture", {TextValue(L"64 ビット")}}}};
        fake.wmi.answers[kVideoQuery] = {{L"GPU A", L"GPU B"},
                                         {{L"Description", {TextValue(L"first"), TextValue(L"second")}}}};
        fake.wmi.answers[kProcessorQuery] = {{L"CPU0"}, {{L"CurrentClockSpeed", {IntValue(3200)}}}};
    }
    FakePlatform fake;
};

// The tree a run that asks every query in table order, on one thread, leaves behind.
std::wstring TreeFromEveryQuery(const wchar_t* osVersion) {
    Machine m(osVersion);
    const std::wstring exeDir = L"C:\\Tools\\";
    std::vector<OrvaneRec> rows;
    CWMI table;
    EXPECT_TRUE(LoadSpecTable(m.fake.platform, exeDir, rows));
    EXPECT_TRUE(LoadQueryTable(m.fake.platform, exeDir, table));
    CWMI tree;
    std::vector<size_t> counts;
    RunQueries(m.fake.wmi, table, QuerySelection::All, tree, counts);
    OrvaneRec record;
    bool exeExists = false;
    Evaluate(rows, record, tree, exeDir, m.fake.files, exeExists);
    return Describe(tree);
}

// Everything a run shows, writes and starts.
std::wstring Outcome(const OrvaneApp& app, const FakePlatform& fake) {
    std::wostringstream out;
    out << Describe(*app.Result()->wmiResult) << L"\nstarts " << fake.launcher.started.size() << L"\n";
    for (const auto& view : fake.resultWindow.shownViews) out << view.status << L"\n" << view.report << L"\n";
    for (const auto& text : fake.messages.shown) out << text << L"\n";
    for (const auto& write : fake.profiles.writes) out << write << L"\n";
    return out.str();
}

// Lets a thread left in the service go, and waits until it has let go of the fakes.
void ReleaseAndSettle(Machine& m, const OrvaneApp& app) {
    m.fake.wmi.Release();
    const auto giveUp = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (app.WmiWorkOutstanding() && std::chrono::steady_clock::now() < giveUp)
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    EXPECT_FALSE(app.WmiWorkOutstanding());
}

}  // namespace

TEST(CheckSequence, PassingRunAsksOnlyTheCheckedQueryAndStartsTheProduct) {
    Machine m(L"10.0.22631");
    OrvaneApp app(m.fake.platform);
    EXPECT_FALSE(app.InitInstance());

    EXPECT_EQ(m.fake.wmi.askedQueries, std::vector<std::wstring>{kOsQuery});
    ASSERT_EQ(m.fake.launcher.started.size(), 1u);
    EXPECT_EQ(m.fake.launcher.started[0].first, L"C:\\Tools\\vorn_explorer.exe");
    EXPECT_EQ(m.fake.launcher.started[0].second, L"\"C:\\Tools\\vorn_explorer.exe\"");
    EXPECT_TRUE(m.fake.resultWindow.shownViews.empty());
    EXPECT_TRUE(m.fake.messages.shown.empty());
    EXPECT_TRUE(m.fake.messages.warnings.empty());
}

TEST(CheckSequence, FailingRunShowsTheTreeOfEveryQueryInTableOrder) {
    struct Case {
        const wchar_t* osVersion;
        bool productPresent;
        int delayMs;  // a slow service that still answers in time loses nothing
    } cases[] = {{L"10.0.17763", true, 0}, {L"10.0.22631", false, 0}, {L"10.0.17763", true, 40}};
    for (const auto& c : cases) {
        const wchar_t* osVersion = c.osVersion;
        Machine m(osVersion, c.productPresent);
        m.fake.wmi.delay = std::chrono::milliseconds(c.delayMs);
        OrvaneApp app(m.fake.platform);
        app.InitInstance();

        EXPECT_TRUE(m.fake.launcher.started.empty()) << osVersion;
        EXPECT_EQ(m.fake.resultWindow.shownViews.size(), 1u) << osVersion;
        EXPECT_EQ(m.fake.wmi.askedQueries.size(), 4u) << osVersion;
        EXPECT_EQ(Describe(*app.Result()->wmiResult), TreeFromEveryQuery(osVersion)) << osVersion;
    }
}

TEST(CheckSequence, FailingRunMarksTheVersionInTheFullTree) {
    Machine m(L"10.0.17763");
    OrvaneApp app(m.fake.platform);
    app.InitInstance();
    const CWMI& tree = *app.Result()->wmiResult;
    ASSERT_EQ(tree.queries.size(), 5u);  // two video controllers
    EXPECT_EQ(tree.queries[0]->query, kComputerQuery);
    EXPECT_EQ(tree.queries[1]->query, kOsQuery);
    EXPECT_EQ(tree.queries[1]->props[0]->failed, 1);
    EXPECT_EQ(tree.queries[2]->query, kVideoQuery);
    EXPECT_EQ(tree.queries[3]->query, kVideoQuery);
    EXPECT_EQ(tree.queries[4]->query, kProcessorQuery);
}

TEST(CheckSequence, ThreeEndings) {
    struct Case {
        const char* meaning;
        const wchar_t* osVersion;
        bool specTable;
        bool productPresent;
        bool startSucceeds;
        size_t starts;
        size_t dialogs;
        std::vector<std::wstring> messages;
        size_t settingsWrites;
    } cases[] = {
        {"missing requirement table ends silently after its message", L"10.0.22631", false, true, true, 0, 0,
         {L"構成リソースがありません。"}, 0},
        {"pass with the product: launch only", L"10.0.22631", true, true, true, 1, 0, {}, 5},
        {"pass, but the product cannot start: the command line tried", L"10.0.22631", true, true, false, 1, 0,
         {L"起動できません。\n\"C:\\Tools\\vorn_explorer.exe\""}, 5},
        {"pass without the product: dialog", L"10.0.22631", true, false, true, 0, 1, {}, 5},
        {"fail: dialog", L"10.0.17763", true, true, true, 0, 1, {}, 5},
    };
    for (const auto& c : cases) {
        Machine m(c.osVersion, c.productPresent);
        if (!c.specTable) m.fake.resources.texts.erase(130);
        m.fake.launcher.succeeds = c.startSucceeds;
        OrvaneApp app(m.fake.platform);
        EXPECT_FALSE(app.InitInstance()) << c.meaning;
        EXPECT_EQ(m.fake.launcher.started.size(), c.starts) << c.meaning;
        EXPECT_EQ(m.fake.resultWindow.shownViews.size(), c.dialogs) << c.meaning;
        EXPECT_EQ(m.fake.messages.shown, c.messages) << c.meaning;
        EXPECT_EQ(m.fake.profiles.writes.size(), c.settingsWrites) << c.meaning;
        EXPECT_EQ(m.fake.wmi.connectedNamespaces.empty() && m.fake.graphics.reads == 0, !c.specTable)
            << c.meaning << ": a refused table ends the run at once, asking neither WMI nor the driver";
    }
}

// The report file, and beside it the run's recording, from which
// orvane-check --replay gives the report file's text again.
TEST(CheckSequence, TheCloseButtonSavesWhatTheDialogShowsAndTheRunsRecording) {
    const std::wstring json = L"C:\\Users\\me\\Desktop\\Orvane[DESKTOP-01].json";
    const struct {
        const char* meaning;
        WriteResult write;
        bool jsonWritable;
        SaveOutcome outcome;
    } cases[] = {
        {"written", WriteResult::Written, true, SaveOutcome::Saved},
        {"no recording written: silent, the report is there", WriteResult::Written, false, SaveOutcome::Saved},
        {"cannot be opened: the dialog ends all the same", WriteResult::NotOpened, true, SaveOutcome::NotSaved},
        {"a failed write or close: the message, and the dialog stays", WriteResult::WriteFailed, true, SaveOutcome::Failed},
    };
    for (const auto& c : cases) {
        Machine m(L"10.0.17763");
        m.fake.files.replaceResult = c.write;
        if (!c.jsonWritable) m.fake.files.unwritable.insert(json);
        m.fake.resultWindow.pressClose = true;
        OrvaneApp app(m.fake.platform, CheckRunSettings::kWmiTimeLimit, {L"1.2.3", L"2026-01-31T08:15:00Z"});
        app.InitInstance();
        EXPECT_EQ(m.fake.resultWindow.lastSave, c.outcome) << c.meaning;
        EXPECT_EQ(m.fake.resultWindow.failedText.rfind(L"レポート ファイルをデスクトップに書き込めませんでした。\n", 0), 0u)
            << c.meaning;
        EXPECT_EQ(m.fake.files.files.count(json), c.jsonWritable && c.write == WriteResult::Written ? 1u : 0u)
            << c.meaning;
        if (c.write != WriteResult::Written) continue;
        const std::string file = m.fake.files.files[L"C:\\Users\\me\\Desktop\\Orvane[DESKTOP-01].txt"];
        const std::string start = "\xEF\xBB\xBF【×】動作スペックを満たさない項目があります\r\n\r\nコンピューター";
        EXPECT_EQ(file.substr(0, start.size()), start) << c.meaning;
        if (!c.jsonWritable) continue;

        // The machine is gone; the support desk replays what the user sent.
        m.fake.wmi.answers.clear();
        CheckToolOutput output;
        EXPECT_EQ(RunCheckTool(m.fake.platform, {L"--replay", json, L"--text", L"--out", L"C:\\r.txt"}, {}, output), 1);
        EXPECT_EQ(m.fake.files.files[L"C:\\r.txt"], file);
        EXPECT_NE(m.fake.files.files[json].find("\"name\": \"Orvane\",\n    \"version\": \"1.2.3\""), std::string::npos);
    }
}

TEST(CheckSequence, SettingsRecordTheGraphicsAndTheCommandOnEveryLoadedRun) {
    Machine m(L"10.0.17763");
    OrvaneApp app(m.fake.platform);
    app.InitInstance();
    const std::wstring ini = L"C:\\Temp\\会社名\\Kestrand VORN\\Orvane.ini";
    EXPECT_EQ(app.SettingsPath(), ini);
    EXPECT_EQ(m.fake.profiles.files[ini][L"OpenGL|GL_VERSION"], L"4.5 (Core Profile) Mesa 22.3.6");
    EXPECT_EQ(m.fake.profiles.files[ini][L"EXEC|PATH"], L"");  // no row selected
}

TEST(CheckSequence, WmiGetsOneDeadlineAndWhatCameInTimeCounts) {
    using std::chrono::milliseconds;
    // Limits with room for a busy machine (scripts/stress.sh), where a fresh
    // thread was seen to take most of a second to start. A run that waited
    // twice would take twice the limit and more.
    struct Case {
        const char* meaning;
        const wchar_t* osVersion;
        const wchar_t* stallsAt;
        int delayMs;
        std::vector<const wchar_t*> unanswered;  // what the same run without a stall lacks
        milliseconds limit{1000};
    } cases[] = {
        {"never connects: as a failed connection, on the failing path", L"10.0.17763", FakeWmiService::kConnect, 0,
         {kComputerQuery, kOsQuery, kVideoQuery, kProcessorQuery}},
        {"checked query never answers: as a failed query", L"10.0.22631", kOsQuery, 0, {kOsQuery}},
        {"a remaining query never answers: the dialog shows what came", L"10.0.17763", kVideoQuery, 0,
         {kVideoQuery, kProcessorQuery}},
        {"slow, but every answer in time: nothing lost", L"10.0.17763", L"", 20, {}, milliseconds(10000)},
        {"slow answers, then a remaining query stalls: only what is left of the time is waited", L"10.0.17763",
         kVideoQuery, 70, {kVideoQuery, kProcessorQuery}},
    };
    for (const auto& c : cases) {
        Machine reference(c.osVersion);
        for (const wchar_t* query : c.unanswered) reference.fake.wmi.answers.erase(query);
        if (c.unanswered.size() == 4) reference.fake.wmi.connects = false;
        OrvaneApp expected(reference.fake.platform);
        expected.InitInstance();

        Machine m(c.osVersion);
        m.fake.wmi.stallsAt = c.stallsAt;
        m.fake.wmi.delay = milliseconds(c.delayMs);
        OrvaneApp app(m.fake.platform, c.limit);
        const auto start = std::chrono::steady_clock::now();
        app.InitInstance();
        const auto took = std::chrono::steady_clock::now() - start;

        EXPECT_LT(took, 2 * c.limit) << c.meaning;
        EXPECT_EQ(Outcome(app, m.fake), Outcome(expected, reference.fake)) << c.meaning;
        if (*c.stallsAt) {
            EXPECT_TRUE(app.WmiWorkOutstanding()) << c.meaning;
        }
        ReleaseAndSettle(m, app);
    }
}

TEST(CheckSequence, WithoutAThreadTheQueriesAreAskedOnTheCallersOwn) {
    struct Case {
        const char* meaning;
        bool givesSignals;
        bool startsThreads;
    } cases[] = {
        {"no thread can be started", true, false},
        {"nothing to hand the answers over with", false, true},
    };
    for (const auto& c : cases) {
        for (const wchar_t* osVersion : {L"10.0.22631", L"10.0.17763"}) {
            Machine reference(osVersion);
            OrvaneApp expected(reference.fake.platform);
            expected.InitInstance();

            Machine m(osVersion);
            m.fake.threads.givesSignals = c.givesSignals;
            m.fake.threads.startsThreads = c.startsThreads;
            OrvaneApp app(m.fake.platform);
            app.InitInstance();
            EXPECT_EQ(Outcome(app, m.fake), Outcome(expected, reference.fake)) << c.meaning;
            EXPECT_FALSE(app.WmiWorkOutstanding()) << c.meaning;
        }
    }
}

TEST(CheckSequence, EveryQueryUpFrontKeepsTheDeadlineToo) {
    using std::chrono::milliseconds;
    const milliseconds limit(200);
    Machine m(L"10.0.22631");
    m.fake.wmi.stallsAt = FakeWmiService::kConnect;
    CheckRunSettings settings;
    settings.everyQueryUpFront = true;
    settings.wmiTimeLimit = limit;
    const auto start = std::chrono::steady_clock::now();
    CheckRun run(m.fake.platform, settings);
    run.AskReportQueries();  // past the deadline nothing more is asked
    run.CompleteReport();
    EXPECT_LT(std::chrono::steady_clock::now() - start, limit + milliseconds(600));
    EXPECT_TRUE(run.Result().wmiResult->queries.empty());
    EXPECT_EQ(run.Result().wmi, WmiCompleteness::NeverConnected);
    m.fake.wmi.Release();
    const auto giveUp = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (run.WmiWorkOutstanding() && std::chrono::steady_clock::now() < giveUp)
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    EXPECT_EQ(m.fake.wmi.connectedNamespaces.size(), 1u);
    // Settled at the deadline: the late connection changes nothing.
    EXPECT_EQ(run.Result().wmi, WmiCompleteness::NeverConnected);
}
