#include <gtest/gtest.h>

#include "orvane/product_launch.h"
#include "fakes/fake_services.h"

TEST(ProductLaunch, PathIsQuotedAndNamedAsTheApplicationArgumentsUnchanged) {
    struct Case {
        const char* meaning;
        const wchar_t* exeDir;
        const wchar_t* exeName;
        const wchar_t* exeArgs;
        const wchar_t* application;
        const wchar_t* commandLine;
    } cases[] = {
        {"built-in row, no trailing blank", L"C:\\Tools\\", L"vorn_explorer.exe", L"", L"C:\\Tools\\vorn_explorer.exe",
         L"\"C:\\Tools\\vorn_explorer.exe\""},
        {"arguments follow after one blank", L"C:\\Tools\\", L"vorn_explorer.exe", L"-x 1",
         L"C:\\Tools\\vorn_explorer.exe", L"\"C:\\Tools\\vorn_explorer.exe\" -x 1"},
        {"blanks in the folder stay inside the quotes", L"C:\\Program Files\\Kestrand VORN\\", L"vorn_explorer.exe",
         L"", L"C:\\Program Files\\Kestrand VORN\\vorn_explorer.exe",
         L"\"C:\\Program Files\\Kestrand VORN\\vorn_explorer.exe\""},
        {"quoted arguments are passed as the row gives them", L"D:\\v\\", L"vorn.exe", L"\"a b\"  c", L"D:\\v\\vorn.exe",
         L"\"D:\\v\\vorn.exe\" \"a b\"  c"},
    };
    for (const auto& c : cases) {
        FakeProcessLauncher launcher;
        OrvaneRec record;
        record.columns[OrvaneRec::exeName] = c.exeName;
        record.columns[OrvaneRec::exeArgs] = c.exeArgs;
        std::wstring commandLine;
        EXPECT_TRUE(LaunchProduct(launcher, c.exeDir, record, commandLine)) << c.meaning;
        ASSERT_EQ(launcher.started.size(), 1u) << c.meaning;
        EXPECT_EQ(launcher.started[0].first, c.application) << c.meaning;
        EXPECT_EQ(launcher.started[0].second, c.commandLine) << c.meaning;
        EXPECT_EQ(commandLine, c.commandLine) << c.meaning;
    }
}

TEST(ProductLaunch, FailedStartKeepsTheCommandLineThatWasTried) {
    FakeProcessLauncher launcher;
    launcher.succeeds = false;
    OrvaneRec record;
    record.columns[OrvaneRec::exeName] = L"vorn_explorer.exe";
    record.columns[OrvaneRec::exeArgs] = L"-x 1";
    std::wstring commandLine;
    EXPECT_FALSE(LaunchProduct(launcher, L"C:\\Tools\\", record, commandLine));
    EXPECT_EQ(commandLine, L"\"C:\\Tools\\vorn_explorer.exe\" -x 1");
}
