// Orvane on a German machine: ANSI code page 1252, decimal comma. CTest runs
// these cases on their own ("e2e_western_locale": the test program under
// de_DE.UTF-8, since a Wine child takes its locale from the one that starts it).

#include <gtest/gtest.h>

#include <cwchar>
#include <string>

#include "e2e/harness.h"

namespace e2e {
namespace {

class E2eWesternLocale : public ::testing::Test {
protected:
    void SetUp() override {
        if (::GetACP() == 932)
            GTEST_SKIP() << "this run's locale has code page 932; ctest runs these cases under de_DE.UTF-8";
        ASSERT_TRUE(folder_.ok());
        ASSERT_TRUE(folder_.AddProgram(BuiltProgram::Orvane, L"Orvane.exe"));
    }

    // The report box of the result dialog, read and then closed with Esc.
    std::wstring ReportOfRun() {
        OrvaneProcess orvane;
        if (!StartIn(orvane, folder_)) return L"(not started)";
        std::optional<WindowInfo> dialog = orvane.WaitForWindow({L"#32770", L"Orvane"});
        if (!dialog || IsMessageBox(dialog->handle)) return L"(no result dialog)";
        std::wstring report = ControlText(dialog->handle, 1001);
        PostCommand(dialog->handle, IDCANCEL);
        EXPECT_TRUE(orvane.WaitForExit());
        return report;
    }

    ScratchFolder folder_;
};

TEST_F(E2eWesternLocale, BuiltInTablesAreCodePage932WhateverTheMachine) {
    std::wstring report = ReportOfRun();
    EXPECT_NE(report.find(L"コンピューター システム ["), std::wstring::npos) << ToUtf8(report);
}

TEST_F(E2eWesternLocale, TableFilesAreReadInTheMachinesOwnCodePage) {
    ASSERT_TRUE(folder_.AddFile(L"OrvaneWMI.csv", ToCp932(L"ROOT\\CIMV2,,,,,-1\r\n"
                                                          L",SELECT * FROM Win32_OperatingSystem,,オペレーティング [%s],,-1\r\n"
                                                          L",,Version,V %s,,1\r\n")));
    std::wstring report = ReportOfRun();
    EXPECT_NE(report.find(L"V "), std::wstring::npos) << "the file was not used: " << ToUtf8(report);
    EXPECT_EQ(report.find(L"オペレーティング"), std::wstring::npos)
        << "code page 932 bytes in a file should read as this machine's code page: " << ToUtf8(report);
}

TEST_F(E2eWesternLocale, ScaleFactorsOfTheTableAreReadWithAPointWhateverTheMachine) {
    wchar_t separator[8] = {};
    ::GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, separator, 8);
    E2E_REQUIRE(std::wstring(separator) == L",", "a locale with a decimal comma (de_DE.UTF-8)");

    // "9.31E-10" turns bytes into gigabytes; read as 9 it would report billions.
    std::wstring report = ReportOfRun();
    const std::wstring label = L"物理メモリの合計サイズ : ";
    size_t at = report.find(label);
    ASSERT_NE(at, std::wstring::npos) << ToUtf8(report);
    size_t end = report.find(L"(GB)", at);
    ASSERT_NE(end, std::wstring::npos) << ToUtf8(report);
    std::wstring shown = report.substr(at + label.size(), end - at - label.size());
    // The report itself keeps the machine's own decimal comma.
    ASSERT_NE(shown.find(L','), std::wstring::npos) << ToUtf8(shown);
    std::wstring asPoint = shown;
    for (wchar_t& c : asPoint) {
        if (c == L',') c = L'.';
    }
    double gigabytes = std::wcstod(asPoint.c_str(), nullptr);
    EXPECT_GT(gigabytes, 0.0) << ToUtf8(shown);
    EXPECT_LT(gigabytes, 1048576.0) << "absurd memory size: " << ToUtf8(shown);
}

// A machine recorded in Japanese, in C:\...\A\, replayed here and from
// another folder: the report names A's folder and shows a decimal point, as
// the machine's own did.
TEST_F(E2eWesternLocale, ReplayOfAJapaneseRecordingGivesItsReportByteForByte) {
    ASSERT_TRUE(folder_.AddProgram(BuiltProgram::OrvaneCheck));
    ScratchFolder other(folder_.PathOf(L"B\\"));
    ASSERT_TRUE(other.AddProgram(BuiltProgram::OrvaneCheck));
    const std::string queries = ToCp932(L"ROOT\\CIMV2,,,,,-1\r\n,SELECT * FROM Win32_VideoController,,ビデオ [%s],,-1\r\n"
                                        L",,AdapterRAM,メモリ : %0.2f(GB),9.31E-10,-1\r\n");
    for (const ScratchFolder* f : {&folder_, &other})
        ASSERT_TRUE(f->AddFile(L"OrvaneSPC.csv", RequirementRow(L"6.1")) &&
                    f->AddFile(L"OrvaneWMI.csv", queries));
    const std::wstring exe = folder_.PathOf(L"orvane-check.exe");
    ASSERT_EQ(RunInLocale(L"ja_JP.UTF-8", exe, L"--json --out \"" + folder_.PathOf(L"a.json") + L"\""), 0u);
    ASSERT_EQ(RunInLocale(L"ja_JP.UTF-8", exe, L"--text --out \"" + folder_.PathOf(L"live.txt") + L"\""), 0u);
    ASSERT_TRUE(RunConsoleProgram(other.PathOf(L"orvane-check.exe"), L"--replay \"" + folder_.PathOf(L"a.json") +
                                      L"\" --text --out \"" + other.PathOf(L"replay.txt") + L"\"", 0));

    const std::string live = folder_.ReadFile(L"live.txt").value_or("(none)");
    EXPECT_EQ(other.ReadFile(L"replay.txt").value_or("(none)"), live);
    EXPECT_NE(live.find(ToUtf8(L"（" + folder_.PathOf(L"vorn_explorer.exe") + L"）")), std::string::npos) << live;
    const size_t gigabytes = live.find("(GB)");
    EXPECT_TRUE(gigabytes != std::string::npos && gigabytes > 3 && live[gigabytes - 3] == '.') << "a decimal point: " << live;
}

}  // namespace
}  // namespace e2e
