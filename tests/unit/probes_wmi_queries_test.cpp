#include "probes/wmi_queries.h"

#include <gtest/gtest.h>

#include "fakes/fake_services.h"
#include "fakes/wmi_tree_builders.h"

namespace {

const wchar_t* const kComputer = L"SELECT * FROM Win32_ComputerSystem";
const wchar_t* const kVolume = L"SELECT * FROM Win32_Volume where BootVolume='1'";
const wchar_t* const kOs = L"SELECT * FROM Win32_OperatingSystem";
const wchar_t* const kVideo = L"SELECT * FROM Win32_VideoController";

// The built-in table's shape: the OS query alone holds checked properties.
void FillTable(CWMI& table) {
    table.wmiNamespace = L"ROOT\\CIMV2";
    CWMIClass& computer = AddQuery(table, kComputer, L"コンピューター システム [%s]");
    AddProp(computer, L"Model", L"PC機種名 : %s");
    AddProp(computer, L"TotalPhysicalMemory", L"物理メモリの合計サイズ : %0.2f(GB)", L"", 9.31e-10);
    CWMIClass& volume = AddQuery(table, kVolume, L"ボリューム [%s]");
    AddProp(volume, L"Label", L"%s");
    CWMIClass& os = AddQuery(table, kOs, L"オペレーティング システム [%s]");
    AddProp(os, L"Version", L"OSバージョン      : %s", L"", 0.0, 1);
    AddProp(os, L"OSArchitecture", L"アーキテクチャ     : %s", L"", 0.0, 2);
    CWMIClass& video = AddQuery(table, kVideo, L"ビデオ コントローラー [%s]");
    AddProp(video, L"Description", L"説明      : %s");
    AddProp(video, L"AdapterRAM", L"メモリ サイズ : %0.2f(GB)", L"", 9.31e-10);
}

void AnswerEverything(FakeWmiService& wmi) {
    wmi.answers[kComputer] = {{L"PC-01"},
                              {{L"Model", {TextValue(L"Vostro")}}, {L"TotalPhysicalMemory", {TextValue(L"17179869184")}}}};
    wmi.answers[kVolume] = {};  // no boot volume
    wmi.answers[kOs] = {{L"Windows 10"},
                        {{L"Version", {TextValue(L"10.0.19045")}}, {L"OSArchitecture", {TextValue(L"64 ビット")}}}};
    wmi.answers[kVideo] = {{L"GPU A", L"GPU B"},
                           {{L"Description", {TextValue(L"Adapter A"), TextValue(L"Adapter B")}},
                            {L"AdapterRAM", {IntValue(-2147483647 - 1), IntValue(1073741824)}}}};
}

std::vector<std::wstring> Headings(const CWMI& result) {
    std::vector<std::wstring> headings;
    for (const auto& q : result.queries) headings.push_back(q->label);
    return headings;
}

}  // namespace

TEST(VariantToText, MapsEachValueTypeAsTheReportExpects) {
    WmiValue other;
    WmiValue emptyText = TextValue(L"");
    struct Case {
        const char* meaning;
        WmiValue value;
        std::wstring expected;
    } cases[] = {
        {"positive integer", IntValue(2400), L"2400"},
        {"unsigned 32-bit above 2^31 reads negative", IntValue(-2147483647 - 1), L"-2147483648"},
        {"zero", IntValue(0), L"0"},
        {"text", TextValue(L"10.0.19045"), L"10.0.19045"},
        {"empty text stays empty", emptyText, L""},
        {"long text is kept whole", TextValue(std::wstring(3000, L'z')), std::wstring(3000, L'z')},
        {"true", BoolValue(true), L"True"},
        {"false", BoolValue(false), L"False"},
        {"byte", ByteValue(255), L"255"},
        {"absent, null or unconverted", other, L" "},
    };
    for (const auto& c : cases) EXPECT_EQ(VariantToText(c.value), c.expected) << c.meaning;
}

TEST(RunQueries, AddsOneResultQueryPerInstanceInTableOrder) {
    FakeWmiService wmi;
    AnswerEverything(wmi);
    CWMI table;
    FillTable(table);
    CWMI result;
    std::vector<size_t> counts;

    RunQueries(wmi, table, QuerySelection::All, result, counts);

    ASSERT_EQ(wmi.connectedNamespaces, std::vector<std::wstring>{L"ROOT\\CIMV2"});
    EXPECT_TRUE(result.wmiNamespace.empty());
    // No boot volume: no heading at all; two adapters: two complete entries.
    EXPECT_EQ(Headings(result), (std::vector<std::wstring>{L"コンピューター システム [PC-01]",
                                                          L"オペレーティング システム [Windows 10]",
                                                          L"ビデオ コントローラー [GPU A]", L"ビデオ コントローラー [GPU B]"}));
    EXPECT_EQ(counts, (std::vector<size_t>{1, 0, 1, 2}));

    const CWMIClass& computer = *result.queries[0];
    EXPECT_EQ(computer.query, kComputer);
    ASSERT_EQ(computer.props.size(), 2u);
    EXPECT_EQ(computer.props[1]->name, L"TotalPhysicalMemory");
    EXPECT_EQ(computer.props[1]->value, L"17179869184");
    EXPECT_EQ(computer.props[1]->label, L"物理メモリの合計サイズ : %0.2f(GB)");
    EXPECT_DOUBLE_EQ(computer.props[1]->scale, 9.31e-10);

    const CWMIClass& os = *result.queries[1];
    EXPECT_EQ(os.props[0]->checkIndex, 1);
    EXPECT_EQ(os.props[1]->checkIndex, 2);
    EXPECT_EQ(os.props[1]->value, L"64 ビット");
    EXPECT_EQ(os.props[0]->failed, 0);

    EXPECT_EQ(result.queries[2]->props[0]->value, L"Adapter A");
    EXPECT_EQ(result.queries[2]->props[1]->value, L"-2147483648");
    EXPECT_EQ(result.queries[3]->props[0]->value, L"Adapter B");
    EXPECT_EQ(result.queries[3]->props[1]->value, L"1073741824");

    // The table is only read.
    EXPECT_TRUE(table.queries[0]->props[0]->value.empty());
}

TEST(RunQueries, SkipsWhatCannotBeAskedOrRead) {
    FakeWmiService wmi;
    AnswerEverything(wmi);
    wmi.answers.erase(kComputer);  // no enumerator: malformed query, unknown class
    CWMI table;
    FillTable(table);
    AddProp(*table.queries[2], L"Versoin", L"typo : %s");  // a property the class lacks
    CWMI result;
    std::vector<size_t> counts;

    RunQueries(wmi, table, QuerySelection::All, result, counts);

    ASSERT_EQ(result.queries.size(), 3u);
    EXPECT_EQ(result.queries[0]->query, kOs);
    ASSERT_EQ(result.queries[0]->props.size(), 3u);
    EXPECT_EQ(result.queries[0]->props[0]->value, L"10.0.19045");
    EXPECT_EQ(result.queries[0]->props[2]->value, L" ");
    EXPECT_EQ(wmi.askedQueries.size(), 4u);  // the others still ran
}

TEST(RunQueries, HeadsWithEmptyTextWhenNameIsNoString) {
    struct NamelessSession : WmiSession {
        std::optional<std::vector<WmiInstance>> Query(const std::wstring&, const std::vector<std::wstring>&) override {
            WmiInstance instance;
            instance.name = IntValue(7);
            return std::vector<WmiInstance>{instance};
        }
    };
    struct NamelessService : WmiService {
        std::unique_ptr<WmiSession> Connect(const std::wstring&) override { return std::make_unique<NamelessSession>(); }
    } wmi;
    CWMI table;
    AddQuery(table, kOs, L"%d [%s] %s");  // a label with conversions that do not fit
    AddProp(*table.queries[0], L"Version", L"%s");
    CWMI result;
    std::vector<size_t> counts;

    RunQueries(wmi, table, QuerySelection::All, result, counts);

    ASSERT_EQ(result.queries.size(), 1u);
    EXPECT_EQ(result.queries[0]->label, L"%d [] %s");
    ASSERT_EQ(result.queries[0]->props.size(), 1u);
    EXPECT_EQ(result.queries[0]->props[0]->value, L" ");  // instance gave fewer values than asked
}

TEST(RunQueries, TouchesNoServiceWithoutQueriesToAsk) {
    FakeWmiService wmi;
    CWMI result;
    std::vector<size_t> counts;

    CWMI namespaceOnly;
    namespaceOnly.wmiNamespace = L"ROOT\\CIMV2";
    RunQueries(wmi, namespaceOnly, QuerySelection::All, result, counts);

    CWMI uncheckedOnly;
    AddProp(AddQuery(uncheckedOnly, kComputer, L"%s"), L"Model", L"%s");
    RunQueries(wmi, uncheckedOnly, QuerySelection::Checked, result, counts);

    EXPECT_TRUE(wmi.connectedNamespaces.empty());
    EXPECT_TRUE(result.queries.empty());
}

TEST(RunQueries, FailedConnectionLeavesTheResultEmpty) {
    FakeWmiService wmi;
    AnswerEverything(wmi);
    wmi.connects = false;
    CWMI result;
    std::vector<size_t> counts;

    CWMI table;
    FillTable(table);
    RunQueries(wmi, table, QuerySelection::All, result, counts);

    EXPECT_EQ(wmi.connectedNamespaces.size(), 1u);
    EXPECT_TRUE(wmi.askedQueries.empty());
    EXPECT_TRUE(result.queries.empty());
}

TEST(RunQueries, CheckedThenUncheckedGivesTheSameTreeAsAll) {
    FakeWmiService wmi;
    AnswerEverything(wmi);
    CWMI table;
    FillTable(table);

    CWMI all;
    std::vector<size_t> allCounts;
    RunQueries(wmi, table, QuerySelection::All, all, allCounts);

    wmi.askedQueries.clear();
    CWMI phased;
    std::vector<size_t> phasedCounts;
    RunQueries(wmi, table, QuerySelection::Checked, phased, phasedCounts);
    EXPECT_EQ(wmi.askedQueries, std::vector<std::wstring>{kOs});
    EXPECT_EQ(Headings(phased), std::vector<std::wstring>{L"オペレーティング システム [Windows 10]"});

    RunQueries(wmi, table, QuerySelection::Unchecked, phased, phasedCounts);
    EXPECT_EQ(wmi.askedQueries.size(), 4u);
    EXPECT_EQ(Headings(phased), Headings(all));
    EXPECT_EQ(phasedCounts, allCounts);
}

TEST(HoldsCheckedProperty, OnlyIndicesOneToEightTakePart) {
    struct Case {
        int32_t checkIndex;
        bool expected;
    } cases[] = {{-1, false}, {0, false}, {1, true}, {2, true}, {8, true}, {9, false}};
    for (const auto& c : cases) {
        CWMIClass query;
        AddProp(query, L"A", L"%s");
        AddProp(query, L"B", L"%s", L"", 0.0, c.checkIndex);
        EXPECT_EQ(HoldsCheckedProperty(query), c.expected) << c.checkIndex;
    }
    EXPECT_FALSE(HoldsCheckedProperty(CWMIClass{}));
}
