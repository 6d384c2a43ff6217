// The committed built-in tables, read as the program reads them.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "fakes/fake_platform.h"
#include "tables/table_loaders.h"
#include "tables_source_files.h"

namespace {

struct BuiltInTables : ::testing::Test {
    void SetUp() override {
        queryBytes = ReadSourceFile("res/OrvaneWMI.csv");
        specBytes = ReadSourceFile("res/OrvaneSPC.csv");
        ASSERT_FALSE(queryBytes.empty()) << "res/OrvaneWMI.csv not found";
        ASSERT_FALSE(specBytes.empty()) << "res/OrvaneSPC.csv not found";
        fake.resources.texts[kQueryTableResourceId] = queryBytes;
        fake.resources.texts[kSpecTableResourceId] = specBytes;
        // The built-in copies must read right on a machine that is not Japanese.
        fake.codec.processCodePage = 1252;
        fake.system.decimalSeparator = L',';
    }

    FakePlatform fake;
    std::string queryBytes;
    std::string specBytes;
};

}  // namespace

TEST_F(BuiltInTables, QueryTextIsNineteenLinesWithACarriageReturnInTheSixthField) {
    std::wstring text;
    ASSERT_TRUE(LoadTextResource(fake.platform, kQueryTableResourceId, text));
    const std::vector<std::wstring> lines = CutResourceLines(text);
    ASSERT_EQ(lines.size(), 19u);
    for (size_t i = 0; i < 18; ++i) {
        EXPECT_FALSE(LineField(lines[i], 6).has_value()) << "line " << i << " has more than five commas";
        const auto last = LineField(lines[i], 5);
        ASSERT_TRUE(last.has_value()) << "line " << i;
        EXPECT_EQ(last->back(), L'\r') << "line " << i;
    }
    EXPECT_EQ(lines[18], L"");
}

TEST_F(BuiltInTables, QueryTableGivesFiveQueriesWithTheirPropertiesLabelsScalesAndChecks) {
    CWMI table;
    ASSERT_TRUE(LoadQueryTable(fake.platform, L"C:\\Tools\\", table));
    EXPECT_TRUE(fake.messages.shown.empty());
    EXPECT_EQ(table.wmiNamespace, L"ROOT\\CIMV2");

    struct Query {
        const wchar_t* query;
        const wchar_t* heading;
        std::vector<const wchar_t*> props;
    } const queries[] = {
        {L"SELECT * FROM Win32_ComputerSystem", L"コンピューター システム [%s]", {L"Model", L"TotalPhysicalMemory"}},
        {L"SELECT * FROM Win32_Processor", L"プロセッサ [%s]", {L"CurrentClockSpeed"}},
        {L"SELECT * FROM Win32_Volume where BootVolume='1'",
         L"現在実行中のオペレーティング システム ファイルがボリュームに含まれているハードディスクの記憶域の領域 [%s]",
         {L"Label", L"Capacity", L"FreeSpace"}},
        {L"SELECT * FROM Win32_OperatingSystem", L"オペレーティング システム [%s]",
         {L"ServicePackMajorVersion", L"Version", L"OSArchitecture"}},
        {L"SELECT * FROM Win32_VideoController", L"ビデオ コントローラー [%s]",
         {L"Description", L"DriverVersion", L"AdapterRAM"}},
    };
    ASSERT_EQ(table.queries.size(), 5u);
    for (size_t q = 0; q < 5; ++q) {
        const CWMIClass& query = *table.queries[q];
        EXPECT_EQ(query.query, queries[q].query);
        EXPECT_EQ(query.label, queries[q].heading);
        ASSERT_EQ(query.props.size(), queries[q].props.size()) << "query " << q;
        for (size_t p = 0; p < query.props.size(); ++p) EXPECT_EQ(query.props[p]->name, queries[q].props[p]);
    }

    struct Prop {
        const wchar_t* name;
        const wchar_t* label;
        double scale;
        int32_t checkIndex;
    } const props[] = {
        {L"Model", L"PC機種名 : %s", 0.0, -1},
        {L"TotalPhysicalMemory", L"物理メモリの合計サイズ : %0.2f(GB)", 9.31e-10, -1},
        {L"CurrentClockSpeed", L"現在の速度: %s(MHz) ", 0.0, -1},
        {L"Label", L"ハードディスクの記憶域の領域 : %s", 0.0, -1},
        {L"Capacity", L"容量      : %0.2f(GB)", 9.31e-10, -1},
        {L"FreeSpace", L"空き容量 : %0.2f(GB)", 9.31e-10, -1},
        {L"ServicePackMajorVersion", L"SERVICEPACK : %s", 0.0, -1},
        {L"Version", L"OSバージョン      : %s", 0.0, 1},
        {L"OSArchitecture", L"アーキテクチャ     : %s", 0.0, 2},
        {L"Description", L"説明      : %s", 0.0, -1},
        {L"DriverVersion", L"ビデオカードドライババージョン : %s", 0.0, -1},
        {L"AdapterRAM", L"メモリ サイズ : %0.2f(GB)", 9.31e-10, -1},
    };
    size_t i = 0;
    for (const auto& query : table.queries) {
        for (const auto& prop : query->props) {
            ASSERT_LT(i, std::size(props));
            EXPECT_EQ(prop->name, props[i].name);
            EXPECT_EQ(prop->label, props[i].label) << "label of " << i;
            EXPECT_DOUBLE_EQ(prop->scale, props[i].scale) << "scale of " << i;
            EXPECT_EQ(prop->checkIndex, props[i].checkIndex) << "check index of " << i;
            EXPECT_EQ(prop->value, L"");
            EXPECT_EQ(prop->failed, 0);
            ++i;
        }
    }
    EXPECT_EQ(i, std::size(props));
}

TEST_F(BuiltInTables, RequirementTableGivesOneRow) {
    EXPECT_EQ(specBytes.find('\n'), std::string::npos);
    std::vector<OrvaneRec> rows;
    ASSERT_TRUE(LoadSpecTable(fake.platform, L"C:\\Tools\\", rows));
    EXPECT_TRUE(fake.messages.shown.empty());
    ASSERT_EQ(rows.size(), 1u);
    const std::array<std::wstring, 9> expected = {
        L"3.3", L"10.0.19043", L"64 ビット", L"vorn_explorer.exe", L"", L"1", L"ご利用いただけます",
        L"VORN > 保守・サポート", L"https://www.haldenmark.co.jp/support/kestrand-vorn/"};
    for (size_t k = 0; k < 9; ++k) EXPECT_EQ(rows[0].columns[k], expected[k]) << "column " << k;
}
