// What the report says, line by line, and which status and link the dialog shows.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "check/check_run.h"
#include "check/check_view.h"
#include "fakes/fake_platform.h"
#include "fakes/wmi_tree_builders.h"
#include "ui/report_composition.h"
#include "ui/result_report.h"

namespace {

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
    CWMIClass& computer = AddQuery(tree, L"", L"コンピューター システム [DESKTOP-01]");
    AddProp(computer, L"Model", L"PC機種名 : %s", L"XY-1000");
    AddProp(computer, L"TotalPhysicalMemory", L"物理メモリの合計サイズ : %0.2f(GB)", L"17179869184", 9.31E-10);
    CWMIClass& cpu = AddQuery(tree, L"", L"プロセッサ [Example CPU]");
    AddProp(cpu, L"CurrentClockSpeed", L"現在の速度: %s(MHz) ", L"2995");
    CWMIClass& volume = AddQuery(
        tree, L"", L"現在実行中のオペレーティング システム ファイルがボリュームに含まれているハードディスクの記憶域の領域 [C:\\]");
    AddProp(volume, L"Label", L"ハードディスクの記憶域の領域 : %s", L"Windows");
    AddProp(volume, L"Capacity", L"容量      : %0.2f(GB)", L"511101177856", 9.31E-10);
    AddProp(volume, L"FreeSpace", L"空き容量 : %0.2f(GB)", L"214748364800", 9.31E-10);
    CWMIClass& os = AddQuery(tree, L"", L"オペレーティング システム [Example OS]");
    AddProp(os, L"ServicePackMajorVersion", L"SERVICEPACK : %s", L"0");
    AddProp(os, L"Version", L"OSバージョン      : %s", L"10.0.17763").failed = 1;
    AddProp(os, L"OSArchitecture", L"アーキテクチャ     : %s", L"64 ビット");
    CWMIClass& video = AddQuery(tree, L"", L"ビデオ コントローラー [Example Graphics]");
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
    AddQuery(tree, L"", L"Empty [A]");
    CWMIClass& two = AddQuery(tree, L"", L"Video [B]");
    AddProp(two, L"Description", L"D: %s", L"first");
    CWMIClass& again = AddQuery(tree, L"", L"Video [C]");
    AddProp(again, L"Description", L"D: %s", L"second");

    std::wstring report;
    EXPECT_FALSE(ComposeReport(tree, L'.', report));
    EXPECT_EQ(report, L"Empty [A]\r\n\r\nVideo [B]\r\n\tD: first\r\n\r\nVideo [C]\r\n\tD: second\r\n\r\n");
}

TEST(ReportComposition, EveryFailingLineIsMarkedAndTheStatusSaysSoOnce) {
    CWMI tree;
    CWMIClass& os = AddQuery(tree, L"", L"OS [X]");
    AddProp(os, L"Version", L"V: %s", L"6.1").failed = 1;
    AddProp(os, L"OSArchitecture", L"A: %s", L"32-bit").failed = 1;
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
        AddProp(AddQuery(tree, L"", L"Q"), L"P", L"%s", L"v").failed = c.anyFailed ? 1 : 0;
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

// A machine that falls short is told what the product needs and what to do,
// after a report that stays as it was; the link of the row it was measured
// against shows. An expected line ending in "…" matches the start of the line.
TEST(ReportComposition, ShortMachineIsToldWhatTheProductNeedsAfterTheUnchangedReport) {
    const char* const kQueries =
        "ROOT\\CIMV2,,,,,-1\r\n,SELECT * FROM Win32_OperatingSystem,,オペレーティング システム [%s],,-1\r\n"
        ",,Version,OSバージョン      : %s,,1\r\n,,OSArchitecture,アーキテクチャ     : %s,,2\r\n";
    const std::string kLink = ",1,ご利用いただけます,VORN > 保守・サポート,https://support.example/\r\n";
    const std::string kBuiltIn = "3.3,10.0.19043,64 ビット,vorn_explorer.exe," + kLink;
    const struct {
        const char* meaning;
        std::string rows;
        const wchar_t* os;
        const wchar_t* arch;
        const char* renderer;  // nullptr: no rendering context
        bool remote;
        bool productPresent;
        std::vector<std::wstring> tail;  // the lines after the graphics section
    } cases[] = {
        {"built-in row on build 18362", kBuiltIn, L"10.0.18362", L"64 ビット", "Radeon", false, false,
         {L"", L"動作に必要な環境", L"\tOSバージョン      : 10.0.19043 以上（この PC: 10.0.18362）",
          L"\tアーキテクチャ     : 64 ビット", L"\tGL_VERSION: 3.3 以上", L"", L"考えられる原因と対処",
          L"\tWindows のバージョンが動作スペックより古くなっています。Windows Update で Windows を更新してください。"}},
        {"graphics 4.6 on llvmpipe 4.5 in a remote session", "4.6,10.0.19043,64 ビット,vorn_explorer.exe," + kLink,
         L"10.0.22631", L"64 ビット", "llvmpipe (LLVM 15.0.6, 256 bits)", true, true,
         {L"", L"動作に必要な環境", L"\tOSバージョン      : 10.0.19043 以上", L"\tアーキテクチャ     : 64 ビット",
          L"\tGL_VERSION: 4.6 以上（この PC: 4.5 (Core Profile) Mesa 22.3.6）", L"", L"考えられる原因と対処",
          L"\tグラフィックス ドライバーが使われていません（ソフトウェア レンダラー llvmpipe で描画されています）。…",
          L"\tリモート デスクトップ接続で実行されているため、…"}},
        {"two rows, no context, Windows on ARM (localized)", "4.5,10.0.19045,64 ビット,a.exe," + kLink + kBuiltIn,
         L"10.0.19045", L"ARM64 ベース プロセッサ", nullptr, false, false,
         {L"", L"動作に必要な環境（次のいずれか）", L"\t条件 1", L"\t\tOSバージョン      : 10.0.19045 以上",
          L"\t\tアーキテクチャ     : 64 ビット（この PC: ARM64 ベース プロセッサ）",
          L"\t\tGL_VERSION: 4.5 以上（この PC: 取得できませんでした）", L"\t条件 2", L"\t\tOSバージョン      : 10.0.19043 以上",
          L"\t\tアーキテクチャ     : 64 ビット（この PC: ARM64 ベース プロセッサ）",
          L"\t\tGL_VERSION: 3.3 以上（この PC: 取得できませんでした）", L"", L"考えられる原因と対処",
          L"\tこの製品は ARM 版の Windows には対応していません。x64 版の Windows を搭載した PC で実行してください。",
          L"\tOpenGL を使用できませんでした。…"}},
        // The first row tried falls short and marks the report: the rows tried are listed, and the met one is named.
        {"a later row met, product missing", "4.5,10.0.19045,64 ビット,vorn_explorer.exe," + kLink + kBuiltIn,
         L"10.0.19044", L"64 ビット", "Radeon", false, false,
         {L"", L"動作に必要な環境（次のいずれか）", L"\t条件 1", L"\t\tOSバージョン      : 10.0.19045 以上（この PC: 10.0.19044）",
          L"\t\tアーキテクチャ     : 64 ビット", L"\t\tGL_VERSION: 4.5 以上", L"\t条件 2",
          L"\t\tOSバージョン      : 10.0.19043 以上", L"\t\tアーキテクチャ     : 64 ビット", L"\t\tGL_VERSION: 3.3 以上", L"",
          L"考えられる原因と対処",
          L"\t動作スペック（条件 2）は満たしていますが、製品のプログラム（C:\\Tools\\vorn_explorer.exe）が見つかりません。"
          L"製品を再セットアップしてください。"}},
        {"row met, product missing", kBuiltIn, L"10.0.22631", L"64 ビット", "llvmpipe", true, false,
         {L"", L"考えられる原因と対処",
          L"\t動作スペックは満たしていますが、製品のプログラム（C:\\Tools\\vorn_explorer.exe）が見つかりません。"
          L"製品を再セットアップしてください。"}},
        {"row met, product present", kBuiltIn, L"10.0.22631", L"64 ビット", "llvmpipe", true, true, {}},
    };
    for (const auto& c : cases) {
        FakePlatform fake;
        fake.resources.texts[129] = ToCp932(kQueries);
        fake.resources.texts[130] = ToCp932(c.rows);
        if (c.renderer)
            fake.graphics.strings = GlDriverStrings{std::string("Mesa"), std::string(c.renderer),
                                                    std::string("4.5 (Core Profile) Mesa 22.3.6"), std::string("4.50")};
        fake.system.remoteSession = c.remote;
        if (c.productPresent) fake.files.files[L"C:\\Tools\\vorn_explorer.exe"] = "MZ";
        fake.wmi.answers[L"SELECT * FROM Win32_OperatingSystem"] = {
            {L"Windows"}, {{L"Version", {TextValue(c.os)}}, {L"OSArchitecture", {TextValue(c.arch)}}}};
        const CheckRun run(fake.platform, CheckRunSettings{});
        const CheckResult& r = run.Result();

        const ResultView before = ComposeResultView(*r.wmiResult, r.runRecord, r.exeExists, L'.');
        const ResultView view = ComposeCheckView(r, L'.');
        EXPECT_EQ(view.status, before.status) << c.meaning;
        ASSERT_EQ(view.report.substr(0, before.report.size()), before.report) << c.meaning;
        const std::vector<std::wstring> tail = SplitCrLf(view.report.substr(before.report.size()));
        ASSERT_EQ(tail.size(), c.tail.size()) << c.meaning;
        for (size_t i = 0; i < tail.size(); ++i) {
            const std::wstring& want = c.tail[i];
            const bool prefix = !want.empty() && want.back() == L'…';
            EXPECT_EQ(prefix ? tail[i].substr(0, want.size() - 1) : tail[i], prefix ? want.substr(0, want.size() - 1) : want)
                << c.meaning << ", line " << i + 1;
        }
        EXPECT_TRUE(view.showLink) << c.meaning;
        EXPECT_EQ(view.linkText, L"VORN > 保守・サポート") << c.meaning;
    }
}

}  // namespace
