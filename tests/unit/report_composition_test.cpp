// What the report says, line by line, and which status and link the dialog shows.

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "ui/report_composition.h"
#include "ui/result_report.h"

namespace {

CWMIProp* AddProp(CWMIClass& query, const std::wstring& name, const std::wstring& label, const std::wstring& value,
                  double scale = 0.0, int failed = 0) {
    auto prop = std::make_unique<CWMIProp>();
    prop->name = name;
    prop->label = label;
    prop->value = value;
    prop->scale = scale;
    prop->failed = failed;
    query.props.push_back(std::move(prop));
    return query.props.back().get();
}

CWMIClass& AddQuery(CWMI& tree, const std::wstring& heading) {
    auto query = std::make_unique<CWMIClass>();
    query->label = heading;
    tree.queries.push_back(std::move(query));
    return *tree.queries.back();
}

std::vector<std::wstring> SplitCrLf(const std::wstring& text) {
    std::vector<std::wstring> lines;
    size_t start = 0;
    for (size_t end; (end = text.find(L"\r\n", start)) != std::wstring::npos; start = end + 2)
        lines.push_back(text.substr(start, end - start));
    EXPECT_EQ(start, text.size()) << "the last line has no CR LF";
    return lines;
}

// The built-in query table answered by one made-up machine, the OS version failing.
void FillWorkedExample(CWMI& tree) {
    CWMIClass& computer = AddQuery(tree, L"コンピューター システム [DESKTOP-01]");
    AddProp(computer, L"Model", L"PC機種名 : %s", L"XY-1000");
    AddProp(computer, L"TotalPhysicalMemory", L"物理メモリの合計サイズ : %0.2f(GB)", L"17179869184", 9.31E-10);
    CWMIClass& cpu = AddQuery(tree, L"プロセッサ [Example CPU]");
    AddProp(cpu, L"CurrentClockSpeed", L"現在の速度: %s(MHz) ", L"2995");
    CWMIClass& volume = AddQuery(
        tree, L"現在実行中のオペレーティング システム ファイルがボリュームに含まれているハードディスクの記憶域の領域 [C:\\]");
    AddProp(volume, L"Label", L"ハードディスクの記憶域の領域 : %s", L"Windows");
    AddProp(volume, L"Capacity", L"容量      : %0.2f(GB)", L"511101177856", 9.31E-10);
    AddProp(volume, L"FreeSpace", L"空き容量 : %0.2f(GB)", L"214748364800", 9.31E-10);
    CWMIClass& os = AddQuery(tree, L"オペレーティング システム [Example OS]");
    AddProp(os, L"ServicePackMajorVersion", L"SERVICEPACK : %s", L"0");
    AddProp(os, L"Version", L"OSバージョン      : %s", L"10.0.17763", 0.0, 1);
    AddProp(os, L"OSArchitecture", L"アーキテクチャ     : %s", L"64 ビット");
    CWMIClass& video = AddQuery(tree, L"ビデオ コントローラー [Example Graphics]");
    AddProp(video, L"Description", L"説明      : %s", L"Example Graphics");
    AddProp(video, L"DriverVersion", L"ビデオカードドライババージョン : %s", L"31.0.101.2111");
    AddProp(video, L"AdapterRAM", L"メモリ サイズ : %0.2f(GB)", L"-2147483648", 9.31E-10);
}

OrvaneRec ExampleRunRecord() {
    OrvaneRec rec;
    rec.glInfo = {L"Example Vendor", L"Example Renderer", L"4.6.0 Example 1.0", L"4.60 Example"};
    rec.columns[OrvaneRec::glVerdict] = L"1";
    return rec;
}

TEST(ReportComposition, WorkedExampleLineForLine) {
    CWMI tree;
    FillWorkedExample(tree);
    const ResultView view = ComposeResultView(tree, ExampleRunRecord(), false, L'.');

    EXPECT_EQ(view.status, L"【×】動作スペックを満たさない項目があります");
    const std::vector<std::wstring> expected = {
        L"コンピューター システム [DESKTOP-01]",
        L"\tPC機種名 : XY-1000",
        L"\t物理メモリの合計サイズ : 15.99(GB)",
        L"",
        L"プロセッサ [Example CPU]",
        L"\t現在の速度: 2995(MHz) ",
        L"",
        L"現在実行中のオペレーティング システム ファイルがボリュームに含まれているハードディスクの記憶域の領域 [C:\\]",
        L"\tハードディスクの記憶域の領域 : Windows",
        L"\t容量      : 475.84(GB)",
        L"\t空き容量 : 199.93(GB)",
        L"",
        L"オペレーティング システム [Example OS]",
        L"\tSERVICEPACK : 0",
        L"\tOSバージョン      : 10.0.17763 【×】",
        L"\tアーキテクチャ     : 64 ビット",
        L"",
        L"ビデオ コントローラー [Example Graphics]",
        L"\t説明      : Example Graphics",
        L"\tビデオカードドライババージョン : 31.0.101.2111",
        L"\tメモリ サイズ : 2.00(GB)",
        L"",
        L"OpenGL",
        L"\tGL_VENDOR: Example Vendor",
        L"\tGL_RENDERER: Example Renderer",
        L"\tGL_VERSION: 4.6.0 Example 1.0",
        L"\tGL_SHADING_LANGUAGE_VERSION: 4.60 Example",
    };
    const std::vector<std::wstring> lines = SplitCrLf(view.report);
    ASSERT_EQ(lines.size(), expected.size());
    for (size_t i = 0; i < expected.size(); ++i) EXPECT_EQ(lines[i], expected[i]) << "line " << i + 1;
}

TEST(ReportComposition, AdapterRamSizesWrapAroundBelowOneTenth) {
    struct Case {
        const char* meaning;
        const wchar_t* name;
        const wchar_t* value;
        double scale;
        const wchar_t* expected;
    } cases[] = {
        {"negative signed size gets 2^32", L"AdapterRAM", L"-2147483648", 9.31E-10, L"2.00"},
        {"-1 MiB becomes 4293918720", L"AdapterRAM", L"-1048576", 1.0, L"4293918720.00"},
        {"zero gets 2^32", L"AdapterRAM", L"0", 9.31E-10, L"4.00"},
        {"no number reads 0 and gets 2^32", L"AdapterRAM", L"n/a", 9.31E-10, L"4.00"},
        {"a blank reads 0 and gets 2^32", L"AdapterRAM", L" ", 9.31E-10, L"4.00"},
        {"0.05 is below the threshold", L"AdapterRAM", L"0.05", 1.0, L"4294967296.05"},
        {"exactly 0.1 is only scaled", L"AdapterRAM", L"0.1", 1.0, L"0.10"},
        {"a positive size is only scaled", L"AdapterRAM", L"1073741824", 9.31E-10, L"1.00"},
        {"a name containing it counts", L"VideoAdapterRAM", L"-2147483648", 9.31E-10, L"2.00"},
        {"other letter case does not", L"adapterram", L"-2147483648", 9.31E-10, L"-2.00"},
        {"other names do not", L"Capacity", L"abc", 9.31E-10, L"0.00"},
    };
    for (const auto& c : cases) {
        CWMIProp prop;
        prop.name = c.name;
        prop.label = L"%0.2f";
        prop.value = c.value;
        prop.scale = c.scale;
        EXPECT_EQ(PropertyLineText(prop, L'.'), c.expected) << c.meaning;
    }
}

TEST(ReportComposition, UnscaledValuesAreShownAsText) {
    struct Case {
        const char* meaning;
        double scale;
    } cases[] = {{"scale 0", 0.0}, {"scale NaN", std::nan("")}};
    for (const auto& c : cases) {
        CWMIProp prop;
        prop.name = L"AdapterRAM";
        prop.label = L"RAM: %s";
        prop.value = L"-2147483648";
        prop.scale = c.scale;
        EXPECT_EQ(PropertyLineText(prop, L'.'), L"RAM: -2147483648") << c.meaning;
    }
}

TEST(ReportComposition, NumbersUseTheLocaleDecimalSeparator) {
    CWMIProp prop;
    prop.name = L"Capacity";
    prop.label = L"%0.2f";
    prop.value = L"2,5";
    prop.scale = 2.0;
    EXPECT_EQ(PropertyLineText(prop, L','), L"5,00");
    EXPECT_EQ(PropertyLineText(prop, L'.'), L"4.00");  // "2,5" reads as 2 where the separator is "."
}

TEST(ReportComposition, TableLabelsAreNeverFormatsOfTheCLibrary) {
    struct Case {
        const char* meaning;
        const wchar_t* label;
        double scale;
    } cases[] = {
        {"two text conversions", L"%s%s%s", 0.0},
        {"a write-back conversion", L"%n %s", 0.0},
        {"a text conversion with a scale", L"%s", 1.0},
        {"a number conversion without a scale", L"%0.2f", 0.0},
        {"an oversize width", L"%99999999s", 0.0},
    };
    for (const auto& c : cases) {
        CWMIProp prop;
        prop.name = L"X";
        prop.label = c.label;
        prop.value = L"7";
        prop.scale = c.scale;
        // Anything printed will do, as long as nothing reads a missing argument.
        const std::wstring text = PropertyLineText(prop, L'.');
        EXPECT_LT(text.size(), 1000u) << c.meaning;
    }
}

TEST(ReportComposition, GraphicsVersionLineCarriesTheVerdictMarker) {
    struct Case {
        const wchar_t* verdict;
        const wchar_t* suffix;
    } cases[] = {
        {L"1", L""},          {L"2", L""},          {L"12abc", L""},      {L"0", L" 【×】"},
        {L"abc", L" 【×】"}, {L"", L" 【×】"},     {L"-1", L" 【▲】"}, {L"  -7", L" 【▲】"},
    };
    for (const auto& c : cases) {
        OrvaneRec rec = ExampleRunRecord();
        rec.columns[OrvaneRec::glVerdict] = c.verdict;
        const ResultView view = ComposeResultView(CWMI(), rec, false, L'.');
        const std::vector<std::wstring> lines = SplitCrLf(view.report);
        ASSERT_EQ(lines.size(), 5u);
        EXPECT_EQ(lines[3], std::wstring(L"\tGL_VERSION: 4.6.0 Example 1.0") + c.suffix) << c.verdict;
        EXPECT_EQ(lines[1], L"\tGL_VENDOR: Example Vendor") << "only the version line is marked";
        // The graphics verdict never touches the status line.
        EXPECT_EQ(view.status, kDefaultStatusText) << c.verdict;
    }
}

TEST(ReportComposition, EmptyGraphicsStringsStillGiveFourLabelLines) {
    OrvaneRec rec;  // probe found nothing; glVerdict "0"
    const ResultView view = ComposeResultView(CWMI(), rec, false, L'.');
    EXPECT_EQ(view.report,
              L"OpenGL\r\n\tGL_VENDOR: \r\n\tGL_RENDERER: \r\n\tGL_VERSION:  【×】\r\n"
              L"\tGL_SHADING_LANGUAGE_VERSION: \r\n");
}

TEST(ReportComposition, QueryBlocksKeepTheirShape) {
    CWMI tree;
    AddQuery(tree, L"Empty [A]");
    CWMIClass& two = AddQuery(tree, L"Video [B]");
    AddProp(two, L"Description", L"D: %s", L"first");
    CWMIClass& again = AddQuery(tree, L"Video [C]");
    AddProp(again, L"Description", L"D: %s", L"second");

    std::wstring report;
    EXPECT_FALSE(ComposeReport(tree, L'.', report));
    EXPECT_EQ(report, L"Empty [A]\r\n\r\nVideo [B]\r\n\tD: first\r\n\r\nVideo [C]\r\n\tD: second\r\n\r\n");
}

TEST(ReportComposition, EveryFailingLineIsMarkedAndTheStatusSaysSoOnce) {
    CWMI tree;
    CWMIClass& os = AddQuery(tree, L"OS [X]");
    AddProp(os, L"Version", L"V: %s", L"6.1", 0.0, 1);
    AddProp(os, L"OSArchitecture", L"A: %s", L"32-bit", 0.0, 1);
    AddProp(os, L"Caption", L"C: %s", L"Seven");

    const ResultView view = ComposeResultView(tree, ExampleRunRecord(), false, L'.');
    EXPECT_EQ(view.status, L"【×】動作スペックを満たさない項目があります");
    EXPECT_EQ(view.report.substr(0, view.report.find(L"OpenGL")),
              L"OS [X]\r\n\tV: 6.1 【×】\r\n\tA: 32-bit 【×】\r\n\tC: Seven\r\n\r\n");
}

TEST(ReportComposition, StatusFollowsTheRowAndTheExecutable) {
    struct Case {
        const char* meaning;
        bool exeExists;
        bool anyFailed;
        const wchar_t* statusText;
        const wchar_t* expected;
    } cases[] = {
        {"no row selected", false, false, kDefaultStatusText, kDefaultStatusText},
        {"row met, product missing", false, false, L"ご利用いただけます", L"ご利用いただけます"},
        {"a failing value wins", false, true, L"ご利用いただけます", L"【×】動作スペックを満たさない項目があります"},
        {"product present: no status", true, false, L"ご利用いただけます", L""},
        {"product present but a failing value", true, true, L"x", L"【×】動作スペックを満たさない項目があります"},
    };
    for (const auto& c : cases) {
        CWMI tree;
        AddProp(AddQuery(tree, L"Q"), L"P", L"%s", L"v", 0.0, c.anyFailed ? 1 : 0);
        OrvaneRec rec = ExampleRunRecord();
        rec.columns[OrvaneRec::statusText] = c.statusText;
        EXPECT_EQ(ComposeResultView(tree, rec, c.exeExists, L'.').status, c.expected) << c.meaning;
    }
}

TEST(ReportComposition, LinkIsShownOnlyWithCaptionAndAddress) {
    struct Case {
        const wchar_t* text;
        const wchar_t* url;
        bool shown;
    } cases[] = {
        {L"VORN > 保守・サポート", L"https://example.com/support", true},
        {L"VORN > 保守・サポート", L"", false},
        {L"", L"https://example.com/support", false},
        {L"", L"", false},
    };
    for (const auto& c : cases) {
        OrvaneRec rec = ExampleRunRecord();
        rec.columns[OrvaneRec::linkText] = c.text;
        rec.columns[OrvaneRec::linkUrl] = c.url;
        const ResultView view = ComposeResultView(CWMI(), rec, false, L'.');
        EXPECT_EQ(view.showLink, c.shown) << c.text << L" | " << c.url;
        EXPECT_EQ(view.linkUrl, c.url);
        EXPECT_EQ(view.linkText, c.text);
    }
}

}  // namespace
