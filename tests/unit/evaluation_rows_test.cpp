#include <gtest/gtest.h>

#include <vector>

#include "check/evaluation.h"
#include "fakes/fake_file_system.h"
#include "fakes/wmi_tree_builders.h"

namespace {

const wchar_t* const kOsQuery = L"SELECT * FROM Win32_OperatingSystem";
const wchar_t* const kExeDir = L"C:\\Tools\\";

OrvaneRec Row(const wchar_t* gl, const wchar_t* os, const wchar_t* arch, const wchar_t* exe = L"vorn_explorer.exe",
              const wchar_t* status = L"ok") {
    OrvaneRec r;
    r.columns[OrvaneRec::minGlVersion] = gl;
    r.columns[OrvaneRec::minOsVersion] = os;
    r.columns[OrvaneRec::osArchitecture] = arch;
    r.columns[OrvaneRec::exeName] = exe;
    r.columns[OrvaneRec::exeArgs] = L"";
    r.columns[OrvaneRec::glVerdict] = L"1";
    r.columns[OrvaneRec::statusText] = status;
    r.columns[OrvaneRec::linkText] = L"VORN > 保守・サポート";
    r.columns[OrvaneRec::linkUrl] = L"https://support.example/vorn";
    return r;
}

// A machine: one OS instance with "Version" (check 1) and "OSArchitecture" (check 2).
struct Machine {
    Machine(const wchar_t* gl, const wchar_t* version, const wchar_t* arch) {
        record.glInfo[OrvaneRec::glVersion] = gl;
        CWMIClass& os = AddQuery(tree, kOsQuery);
        versionProp = &AddProp(os, L"Version", L"", version, 0.0, 1);
        archProp = &AddProp(os, L"OSArchitecture", L"", arch, 0.0, 2);
        files.files[std::wstring(kExeDir) + L"vorn_explorer.exe"] = "MZ";
    }
    bool Evaluate(std::vector<OrvaneRec>& rows) { return ::Evaluate(rows, record, tree, kExeDir, files, exeExists); }

    OrvaneRec record;
    CWMI tree;
    CWMIProp* versionProp;
    CWMIProp* archProp;
    FakeFileSystem files;
    bool exeExists = false;
};

}  // namespace

TEST(Evaluation, BuiltInRowOnAModernMachineIsSelectedAndCopied) {
    Machine m(L"4.6.0 NVIDIA 531.79", L"10.0.22631", L"64 ビット");
    std::vector<OrvaneRec> rows = {Row(L"3.3", L"10.0.19043", L"64 ビット", L"vorn_explorer.exe", L"ご利用いただけます")};
    ASSERT_TRUE(m.Evaluate(rows));
    EXPECT_TRUE(m.exeExists);
    EXPECT_EQ(m.record.columns[OrvaneRec::exeName], L"vorn_explorer.exe");
    EXPECT_EQ(m.record.columns[OrvaneRec::exeArgs], L"");
    EXPECT_EQ(m.record.columns[OrvaneRec::glVerdict], L"1");
    EXPECT_EQ(m.record.columns[OrvaneRec::statusText], L"ご利用いただけます");
    EXPECT_EQ(m.record.columns[OrvaneRec::linkText], L"VORN > 保守・サポート");
    EXPECT_EQ(m.record.columns[OrvaneRec::linkUrl], L"https://support.example/vorn");
    // columns 0..2 of the run's record are never written
    EXPECT_EQ(m.record.columns[OrvaneRec::minGlVersion], L"");
    EXPECT_EQ(m.record.columns[OrvaneRec::minOsVersion], L"");
    EXPECT_EQ(m.record.columns[OrvaneRec::osArchitecture], L"");
    EXPECT_EQ(m.versionProp->failed, 0);
    EXPECT_EQ(m.archProp->failed, 0);
}

TEST(Evaluation, OutcomeOfOneRowOnVariousMachines) {
    struct Case {
        const char* meaning;
        const wchar_t* gl;
        const wchar_t* version;
        const wchar_t* arch;
        bool selected;
        int versionFailed;
        int archFailed;
        const wchar_t* glVerdict;
    } cases[] = {
        {"graphics 3.3.0 meets 3.3", L"3.3.0", L"10.0.19043", L"64 ビット", true, 0, 0, L"1"},
        {"graphics 10.1 meets 3.3", L"10.1", L"10.0.19043", L"64 ビット", true, 0, 0, L"1"},
        {"graphics 3.1.0 falls short, nothing marked", L"3.1.0", L"10.0.19043", L"64 ビット", false, 0, 0, L"0"},
        {"empty graphics version falls short", L"", L"10.0.19043", L"64 ビット", false, 0, 0, L"0"},
        {"older build marked", L"4.6", L"10.0.19042", L"64 ビット", false, 1, 0, L"1"},
        {"newer major passes", L"4.6", L"11.0.10000", L"64 ビット", true, 0, 0, L"1"},
        {"32-bit marked", L"4.6", L"10.0.19045", L"32 ビット", false, 0, 1, L"1"},
        {"English 64-bit reads as 64", L"4.6", L"10.0.19045", L"64-bit", true, 0, 0, L"1"},
        {"both short: both marked", L"4.6", L"6.1.7601", L"32-bit", false, 1, 1, L"1"},
    };
    for (const auto& c : cases) {
        Machine m(c.gl, c.version, c.arch);
        std::vector<OrvaneRec> rows = {Row(L"3.3", L"10.0.19043", L"64 ビット")};
        EXPECT_EQ(m.Evaluate(rows), c.selected) << c.meaning;
        EXPECT_EQ(m.exeExists, c.selected) << c.meaning;
        EXPECT_EQ(m.versionProp->failed, c.versionFailed) << c.meaning;
        EXPECT_EQ(m.archProp->failed, c.archFailed) << c.meaning;
        EXPECT_EQ(m.record.columns[OrvaneRec::glVerdict], c.glVerdict) << c.meaning;
        if (!c.selected) {
            EXPECT_EQ(m.record.columns[OrvaneRec::statusText], kDefaultStatusText) << c.meaning;
            EXPECT_EQ(m.record.columns[OrvaneRec::exeName], L"") << c.meaning;
        }
    }
}

TEST(Evaluation, MarksFromEarlierRowsStayWhenALaterRowIsSelected) {
    // 4.5 is tried first: its graphics fail, its OS requirement marks the version.
    Machine m(L"4.1.0", L"10.0.19043", L"64 ビット");
    std::vector<OrvaneRec> rows = {Row(L"3.3", L"10.0.19043", L"64 ビット", L"vorn_explorer.exe", L"low"),
                                   Row(L"4.5", L"10.0.22000", L"64 ビット", L"vorn_explorer.exe", L"high")};
    ASSERT_TRUE(m.Evaluate(rows));
    EXPECT_EQ(m.record.columns[OrvaneRec::statusText], L"low");
    EXPECT_EQ(m.versionProp->failed, 1);
    EXPECT_EQ(m.archProp->failed, 0);
    EXPECT_EQ(rows[0].columns[OrvaneRec::statusText], L"high");  // left sorted
}

TEST(Evaluation, EveryRowMarksItsShortfallsWhenNoneIsMet) {
    Machine m(L"4.6", L"10.0.19042", L"32 ビット");
    std::vector<OrvaneRec> rows = {Row(L"3.3", L"10.0.17763", L"64 ビット"), Row(L"4.5", L"10.0.19043", L"32 ビット")};
    EXPECT_FALSE(m.Evaluate(rows));
    EXPECT_EQ(m.versionProp->failed, 1);  // from the 4.5 row
    EXPECT_EQ(m.archProp->failed, 1);     // from the 3.3 row
    EXPECT_FALSE(m.exeExists);
    EXPECT_EQ(m.record.columns[OrvaneRec::glVerdict], L"1");
}

TEST(Evaluation, NoRowsSelectsNothingAndMarksNothing) {
    Machine m(L"4.6", L"6.1.7601", L"32 ビット");
    std::vector<OrvaneRec> rows;
    EXPECT_FALSE(m.Evaluate(rows));
    EXPECT_EQ(m.versionProp->failed, 0);
    EXPECT_EQ(m.record.columns[OrvaneRec::glVerdict], L"0");
}

TEST(Evaluation, EmptyResultTreeLetsEveryRowPass) {
    Machine m(L"4.6", L"", L"");
    m.tree.queries.clear();
    std::vector<OrvaneRec> rows = {Row(L"3.3", L"10.0.19043", L"64 ビット")};
    EXPECT_TRUE(m.Evaluate(rows));
}

TEST(Evaluation, ExecutableMustBeAnExistingFile) {
    struct Case {
        const char* meaning;
        const wchar_t* exeName;
        bool present;
        bool expected;
    } cases[] = {
        {"present file", L"vorn_explorer.exe", true, true},
        {"missing file", L"vorn_explorer.exe", false, false},
        {"empty name names the folder, not a program", L"", false, false},
    };
    for (const auto& c : cases) {
        Machine m(L"4.6", L"10.0.22631", L"64 ビット");
        m.files.files.clear();
        if (c.present) m.files.files[std::wstring(kExeDir) + c.exeName] = "MZ";
        std::vector<OrvaneRec> rows = {Row(L"3.3", L"10.0.19043", L"64 ビット", c.exeName)};
        EXPECT_TRUE(m.Evaluate(rows)) << c.meaning;
        EXPECT_EQ(m.exeExists, c.expected) << c.meaning;
    }
}

TEST(Evaluation, ComparisonRuleDependsOnQueryAndPropertyName) {
    struct Case {
        const char* meaning;
        const wchar_t* wql;
        const wchar_t* name;
        int expectedFailed;  // required 10.0.19043 vs found 10.0.19042
    } cases[] = {
        {"OS Version gets the dotted comparison", L"SELECT * FROM Win32_OperatingSystem", L"Version", 1},
        {"class at the very start gets the integer comparison", L"Win32_OperatingSystem", L"Version", 0},
        {"other property name gets the integer comparison", kOsQuery, L"version", 0},
        {"other class gets the integer comparison", L"SELECT * FROM Win32_BIOS", L"Version", 0},
    };
    for (const auto& c : cases) {
        CWMI tree;
        CWMIProp* p = &AddProp(AddQuery(tree, c.wql), c.name, L"", L"10.0.19042", 0.0, 1);
        EXPECT_EQ(CheckRow(Row(L"", L"10.0.19043", L""), tree), c.expectedFailed == 0) << c.meaning;
        EXPECT_EQ(p->failed, c.expectedFailed) << c.meaning;
    }
}

TEST(Evaluation, OnlyCheckIndicesOneToEightTakePart) {
    CWMI tree;
    CWMIClass& q = AddQuery(tree, L"SELECT * FROM Win32_Processor");
    OrvaneRec row = Row(L"", L"", L"");
    for (int k = 1; k <= 8; ++k) row.columns[k] = L"5";
    std::vector<CWMIProp*> props;
    for (int k : {-1, 0, 1, 4, 8, 9, 100}) props.push_back(&AddProp(q, L"Cores", L"", L"2", 0.0, k));
    EXPECT_FALSE(CheckRow(row, tree));
    std::vector<int> failed;
    for (auto* p : props) failed.push_back(p->failed);
    EXPECT_EQ(failed, (std::vector<int>{0, 0, 1, 1, 1, 0, 0}));
}
