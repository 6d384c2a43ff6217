#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "fakes/fake_platform.h"
#include "tables/table_loaders.h"

namespace {

const std::wstring kExeDir = L"C:\\Tools\\";
const std::wstring kSpecPath = L"C:\\Tools\\OrvaneSPC.csv";
const std::wstring kMissing = L"構成リソースがありません。";

std::wstring BadFormat(const std::wstring& where) { return L"設定ファイルの書式が正しくありません\n" + where; }

const char* const kGoodRow = "3.3,10.0.19043,64 bit,vorn_explorer.exe,,1,ok,link,https://example.jp/";

}  // namespace

TEST(SpecRow, AcceptsALineWithAtLeastEightCommas) {
    struct Case {
        const char* meaning;
        const wchar_t* line;
        int fields;
        size_t rowsAdded;
    } cases[] = {
        {"the empty line", L"", 1, 0},
        {"seven commas", L"a,b,c,d,e,f,g,h", 8, 0},
        {"eight commas and nothing else", L",,,,,,,,", 9, 1},
        {"eight commas", L"a,b,c,d,e,f,g,h,i", 9, 1},
        {"ten commas", L"a,b,c,d,e,f,g,h,i,j,k", 9, 1},
        {"a quoted comma counts", L"\"a,b\",c,d,e,f,g,h,i", 9, 1},
    };
    for (const auto& c : cases) {
        std::vector<OrvaneRec> rows;
        EXPECT_EQ(ParseSpecRow(c.line, rows), c.fields) << c.meaning;
        EXPECT_EQ(rows.size(), c.rowsAdded) << c.meaning;
    }
}

TEST(SpecRow, StoresTheFirstNineFieldsUntrimmed) {
    std::vector<OrvaneRec> rows;
    ParseSpecRow(L" 3.3,\"10.0\",64 ビット,a.exe, -x ,0,状態,リンク,u,extra,more", rows);
    ASSERT_EQ(rows.size(), 1u);
    const std::array<std::wstring, 9> expected = {L" 3.3", L"\"10.0\"", L"64 ビット", L"a.exe", L" -x ",
                                                   L"0",   L"状態",    L"リンク",    L"u"};
    for (size_t k = 0; k < 9; ++k) EXPECT_EQ(rows[0].columns[k], expected[k]) << "column " << k;
    for (const auto& gl : rows[0].glInfo) EXPECT_EQ(gl, L"");

    // Empty fields replace the defaults too.
    ParseSpecRow(L",,,,,,,,", rows);
    EXPECT_EQ(rows[1].columns[OrvaneRec::glVerdict], L"");
    EXPECT_EQ(rows[1].columns[OrvaneRec::statusText], L"");
}

TEST(SpecTable, ReadsTheFileBesideTheExecutable) {
    const std::string good = kGoodRow;
    struct Case {
        const char* meaning;
        std::string bytes;
        bool loaded;
        size_t rows;
        bool formatMessage;
    } cases[] = {
        {"zero bytes: no rows, no message", "", true, 0, false},
        {"one line ending with CR LF", good + "\r\n", true, 1, false},
        {"one line without line end", good, true, 1, false},
        {"LF line ends", good + "\n" + good + "\n", true, 2, false},
        {"an empty line between rows keeps the rows before it", good + "\r\n\r\n" + good + "\r\n", false, 1, true},
        {"two line ends at the end", good + "\r\n\r\n", false, 1, true},
        {"seven commas", "a,b,c,d,e,f,g,h\r\n", false, 0, true},
        {"a bad line stops the reading", good + "\r\nbad\r\n" + good + "\r\n", false, 1, true},
        {"ten commas are accepted", "a,b,c,d,e,f,g,h,i,j,k\r\n", true, 1, false},
    };
    for (const auto& c : cases) {
        FakePlatform fake;
        fake.files.files[kSpecPath] = c.bytes;
        fake.resources.texts[kSpecTableResourceId] = good;
        std::vector<OrvaneRec> rows;
        EXPECT_EQ(LoadSpecTable(fake.platform, kExeDir, rows), c.loaded) << c.meaning;
        EXPECT_EQ(rows.size(), c.rows) << c.meaning;
        const std::vector<std::wstring> expected =
            c.formatMessage ? std::vector<std::wstring>{BadFormat(kSpecPath)} : std::vector<std::wstring>{};
        EXPECT_EQ(fake.messages.shown, expected) << c.meaning;
    }
}

TEST(SpecTable, FallsBackToTheBuiltInCopySilentlyWhenTheFileCannotBeOpened) {
    FakePlatform fake;
    fake.files.files[kSpecPath] = "bad line\r\n";
    fake.files.unreadable.insert(kSpecPath);
    fake.resources.texts[kSpecTableResourceId] = kGoodRow;
    std::vector<OrvaneRec> rows;
    EXPECT_TRUE(LoadSpecTable(fake.platform, kExeDir, rows));
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0].columns[OrvaneRec::exeName], L"vorn_explorer.exe");
    EXPECT_TRUE(fake.messages.shown.empty());
}

TEST(SpecTable, NamesThePathEvenWhenItHoldsPercentSigns) {
    FakePlatform fake;
    const std::wstring dir = L"C:\\100%s%d\\";
    fake.files.files[dir + L"OrvaneSPC.csv"] = "x\r\n";
    std::vector<OrvaneRec> rows;
    EXPECT_FALSE(LoadSpecTable(fake.platform, dir, rows));
    EXPECT_EQ(fake.messages.shown, std::vector<std::wstring>{BadFormat(dir + L"OrvaneSPC.csv")});
}

TEST(SpecTable, BuiltInCopyReportsEachBadLineWithTheWholeTextAndGoesOn) {
    struct Case {
        const char* meaning;
        std::string text;
        size_t rows;
        size_t messages;
    } cases[] = {
        {"one good line, no line end", kGoodRow, 1, 0},
        {"CR LF lines: the CR joins the last field, the empty tail is skipped",
         std::string(kGoodRow) + "\r\n" + kGoodRow + "\r\n", 2, 0},
        {"empty lines are skipped", std::string("\n\n") + kGoodRow + "\n\n", 1, 0},
        {"a line of only CR is bad", std::string(kGoodRow) + "\r\n\r\n" + kGoodRow, 2, 1},
        {"every bad line has its message", std::string("bad\n") + kGoodRow + "\nworse", 1, 2},
    };
    for (const auto& c : cases) {
        FakePlatform fake;
        fake.resources.texts[kSpecTableResourceId] = c.text;
        std::vector<OrvaneRec> rows;
        EXPECT_TRUE(LoadSpecTable(fake.platform, kExeDir, rows)) << c.meaning;
        EXPECT_EQ(rows.size(), c.rows) << c.meaning;
        ASSERT_EQ(fake.messages.shown.size(), c.messages) << c.meaning;
        const std::wstring wholeText(c.text.begin(), c.text.end());  // ASCII only
        for (const auto& shown : fake.messages.shown) EXPECT_EQ(shown, BadFormat(wholeText)) << c.meaning;
    }

    FakePlatform fake;
    fake.resources.texts[kSpecTableResourceId] = std::string(kGoodRow) + "\r\n";
    std::vector<OrvaneRec> rows;
    LoadSpecTable(fake.platform, kExeDir, rows);
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0].columns[OrvaneRec::linkUrl], L"https://example.jp/\r");
}

TEST(SpecTable, MissingFileAndBuiltInCopyIsReported) {
    FakePlatform fake;
    std::vector<OrvaneRec> rows;
    EXPECT_FALSE(LoadSpecTable(fake.platform, kExeDir, rows));
    EXPECT_TRUE(rows.empty());
    EXPECT_EQ(fake.messages.shown, std::vector<std::wstring>{kMissing});

    // Found but not convertible: an empty table, silently.
    FakePlatform failing;
    failing.resources.texts[kSpecTableResourceId] = kGoodRow;
    failing.codec.failing = true;
    EXPECT_TRUE(LoadSpecTable(failing.platform, kExeDir, rows));
    EXPECT_TRUE(rows.empty());
    EXPECT_TRUE(failing.messages.shown.empty());
}

TEST(SpecTable, FileUsesTheLocaleCodePageAndTheBuiltInCopyAlwaysCodePage932) {
    const std::string row932 = ToCp932("3.3,10.0.19043,64 ビット,vorn_explorer.exe,,1,ご利用いただけます,VORN,u");

    FakePlatform japanese;
    japanese.files.files[kSpecPath] = row932;
    std::vector<OrvaneRec> rows;
    ASSERT_TRUE(LoadSpecTable(japanese.platform, kExeDir, rows));
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0].columns[OrvaneRec::osArchitecture], L"64 ビット");

    // A western machine reads its own file as Latin text...
    FakePlatform western;
    western.codec.processCodePage = 1252;
    western.files.files[kSpecPath] = "3.3,10,64 bit,a.exe,,1,caf\xE9,l,u";
    rows.clear();
    ASSERT_TRUE(LoadSpecTable(western.platform, kExeDir, rows));
    EXPECT_EQ(rows.at(0).columns[OrvaneRec::statusText], L"café");

    // ...yet the built-in Japanese copy still reads as Japanese.
    FakePlatform builtIn;
    builtIn.codec.processCodePage = 1252;
    builtIn.resources.texts[kSpecTableResourceId] = row932;
    rows.clear();
    ASSERT_TRUE(LoadSpecTable(builtIn.platform, kExeDir, rows));
    EXPECT_EQ(rows.at(0).columns[OrvaneRec::statusText], L"ご利用いただけます");
}

TEST(SpecTable, AddsToRowsAlreadyHeld) {
    FakePlatform fake;
    fake.files.files[kSpecPath] = kGoodRow;
    std::vector<OrvaneRec> rows(2);
    EXPECT_TRUE(LoadSpecTable(fake.platform, kExeDir, rows));
    EXPECT_EQ(rows.size(), 3u);
}
