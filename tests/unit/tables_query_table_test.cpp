#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "fakes/fake_platform.h"
#include "fakes/wmi_tree_builders.h"
#include "tables/table_loaders.h"

namespace {

const std::wstring kExeDir = L"C:\\Tools\\";
const std::wstring kQueryPath = L"C:\\Tools\\OrvaneWMI.csv";

std::wstring ParseLines(const std::vector<std::wstring>& lines) {
    CWMI table;
    CWMIClass* currentQuery = nullptr;
    CWMIProp* currentProp = nullptr;
    for (const auto& line : lines) ParseQueryRow(line, table, currentQuery, currentProp);
    return Describe(table);
}

}  // namespace

TEST(QueryRows, CursorsCarryWhatEarlierLinesBegan) {
    struct Case {
        const char* meaning;
        std::vector<std::wstring> lines;
        const wchar_t* table;
    } cases[] = {
        {"the usual three kinds of line",
         {L"ROOT\\CIMV2,,,,,-1", L",SELECT a,,Head [%s],,-1", L",,Name,Line : %s,,-1"},
         L"ns=ROOT\\CIMV2 Q[SELECT a|Head [%s]] P[Name|Line : %s]"},
        {"a namespace on a later line counts; a second one is ignored",
         {L",SELECT a,,H,,", L"NS1,,,,,", L"NS2,,,,,"},
         L"ns=NS1 Q[SELECT a|H]"},
        {"a query without heading takes the next property line's label for both",
         {L",SELECT a,,,,", L",,Name,Label %s,,"},
         L"ns= Q[SELECT a|Label %s] P[Name|Label %s]"},
        {"query and property on one line share the label",
         {L",SELECT a,Name,Both %s,2,3"},
         L"ns= Q[SELECT a|Both %s] P[Name|Both %s|scale=2|check=3]"},
        {"a property before any query creates nothing",
         {L",,Early,E %s,2,3", L",SELECT a,,H,,"},
         L"ns= Q[SELECT a|H]"},
        {"a columns-4-and-5 line changes the property above; a label-only line does not",
         {L",SELECT a,,H,,", L",,Name,L %s,,", L",,,,2,3", L",,,Other,,"},
         L"ns= Q[SELECT a|H] P[Name|L %s|scale=2|check=3]"},
        {"a query line's scale and check index are ignored",
         {L",SELECT a,,H,,", L",,Name,L,,", L",SELECT b,,H2,5,6"},
         L"ns= Q[SELECT a|H] P[Name|L] Q[SELECT b|H2]"},
        {"a comma in the query cuts it and shifts the rest",
         {L",SELECT a,b FROM c,,H,,"},
         L"ns= Q[SELECT a|] P[b FROM c|]"},
        {"fields after the sixth are ignored",
         {L",SELECT a,Name,L,,1,NS,SELECT z"},
         L"ns= Q[SELECT a|L] P[Name|L|check=1]"},
        {"a field of blanks or a CR is present",
         {L" ,SELECT a,,\r,,"},
         L"ns=  Q[SELECT a|\r]"},
        {"empty lines and short lines contribute nothing",
         {L"", L",", L",SELECT a", L"", L",,Name"},
         L"ns= Q[SELECT a|] P[Name|]"},
    };
    for (const auto& c : cases) EXPECT_EQ(ParseLines(c.lines), c.table) << c.meaning;
}

TEST(QueryRows, ScaleAndCheckIndexTakeOnlyUsableNumbers) {
    struct Case {
        const char* meaning;
        const wchar_t* scale;
        const wchar_t* check;
        double expectedScale;
        int32_t expectedCheck;
    } cases[] = {
        {"the built-in scale, read with '.'", L"9.31E-10", L"1\r", 9.31e-10, 1},
        {"blanks before the numbers", L"  0.5", L" 2", 0.5, 2},
        {"zero leaves them", L"0", L"0", 0.0, -1},
        {"no number leaves them", L"x", L"x", 0.0, -1},
        {"a negative scale is stored, a negative index is not", L"-2.5", L"-1", -2.5, -1},
        {"a decimal comma is not a separator", L"9,31E-10", L"8", 9.0, 8},
        {"not-a-number leaves the scale", L"nan", L"3abc", 0.0, 3},
    };
    for (const auto& c : cases) {
        CWMI table;
        CWMIClass* currentQuery = nullptr;
        CWMIProp* currentProp = nullptr;
        ParseQueryRow(L",SELECT a,,H,,", table, currentQuery, currentProp);
        // The scale field may itself hold a comma: give scale and index on lines of their own.
        ParseQueryRow(L",,Name,L,,", table, currentQuery, currentProp);
        ParseQueryRow(std::wstring(L",,,,") + c.scale, table, currentQuery, currentProp);
        ParseQueryRow(std::wstring(L",,,,,") + c.check, table, currentQuery, currentProp);
        const CWMIProp& prop = *table.queries.at(0)->props.at(0);
        EXPECT_DOUBLE_EQ(prop.scale, c.expectedScale) << c.meaning;
        EXPECT_EQ(prop.checkIndex, c.expectedCheck) << c.meaning;
    }
}

TEST(QueryTable, FileLinesOfAnyShapeLoad) {
    FakePlatform fake;
    fake.files.files[kQueryPath] = "ROOT\\X\r\n\r\n,SELECT a,,H\n,,,\n,,Name,L %s,,2\r\n,,,,,,,,,\r\n";
    fake.resources.texts[kQueryTableResourceId] = "BUILTIN,SELECT b,,,,\r\n";
    CWMI table;
    EXPECT_TRUE(LoadQueryTable(fake.platform, kExeDir, table));
    EXPECT_EQ(Describe(table), L"ns=ROOT\\X Q[SELECT a|H] P[Name|L %s|check=2]");
    EXPECT_TRUE(fake.messages.shown.empty());

    FakePlatform empty;
    empty.files.files[kQueryPath] = "";
    CWMI emptyTable;
    EXPECT_TRUE(LoadQueryTable(empty.platform, kExeDir, emptyTable));
    EXPECT_EQ(Describe(emptyTable), L"ns=");
}

TEST(QueryTable, UnopenableFileFallsBackAndMissingCopyIsReported) {
    FakePlatform held;
    held.files.files[kQueryPath] = "FILE,SELECT a,,,,";
    held.files.unreadable.insert(kQueryPath);
    held.resources.texts[kQueryTableResourceId] = "BUILTIN,SELECT b,,H,,\r\n";
    CWMI table;
    EXPECT_TRUE(LoadQueryTable(held.platform, kExeDir, table));
    EXPECT_EQ(Describe(table), L"ns=BUILTIN Q[SELECT b|H]");
    EXPECT_TRUE(held.messages.shown.empty());

    FakePlatform none;
    CWMI nothing;
    EXPECT_FALSE(LoadQueryTable(none.platform, kExeDir, nothing));
    EXPECT_EQ(none.messages.shown, std::vector<std::wstring>{L"構成リソースがありません。"});
    EXPECT_TRUE(nothing.queries.empty());
}

TEST(QueryTable, CursorsStartAfreshForEachLoad) {
    // A property line at the top of a second load must not land in the first load's query.
    FakePlatform fake;
    fake.files.files[kQueryPath] = ",,Name,L,,";
    CWMI table;
    CWMIClass* q = nullptr;
    CWMIProp* p = nullptr;
    ParseQueryRow(L",SELECT a,,H,,", table, q, p);
    EXPECT_TRUE(LoadQueryTable(fake.platform, kExeDir, table));
    EXPECT_EQ(Describe(table), L"ns= Q[SELECT a|H]");
}
