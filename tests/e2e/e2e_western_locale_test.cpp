// Orvane on a machine whose ANSI code page is not 932. CTest runs these cases
// on their own ("e2e_western_locale", the whole test program under a Western
// locale, since a Wine child takes its locale from the one that starts it).

#include <gtest/gtest.h>

#include "e2e/harness.h"

namespace e2e {
namespace {

class E2eWesternLocale : public ::testing::Test {
protected:
    void SetUp() override {
        if (::GetACP() == 932) GTEST_SKIP() << "runs only under a locale with another code page (LC_ALL=C.UTF-8)";
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

}  // namespace
}  // namespace e2e
