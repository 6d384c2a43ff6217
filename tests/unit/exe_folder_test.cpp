#include "orvane/orvane_app.h"

#include <gtest/gtest.h>

#include "fakes/fake_platform.h"

TEST(ExeFolder, KeepsDriveAndFolderWithTheirBackslash) {
    struct Case {
        const wchar_t* exePath;
        const wchar_t* folder;
    } cases[] = {
        {L"C:\\Tools\\Orvane.exe", L"C:\\Tools\\"},
        {L"C:\\Orvane.exe", L"C:\\"},
        {L"C:\\Program Files\\Kestrand VORN\\Orvane.exe", L"C:\\Program Files\\Kestrand VORN\\"},
        {L"\\\\server\\share\\vorn\\Orvane.exe", L"\\\\server\\share\\vorn\\"},
        {L"C:Orvane.exe", L"C:"},
        {L"Orvane.exe", L""},
    };
    for (const auto& c : cases) EXPECT_EQ(ExeFolderOf(c.exePath), c.folder) << c.exePath;
}

TEST(ExeFolder, LongPathsAreNotCut) {
    std::wstring folder = L"C:\\";
    while (folder.size() < 1000) folder += L"very long folder name\\";
    FakePlatform fake;
    fake.system.executablePath = folder + L"Orvane.exe";
    OrvaneApp app(fake.platform);
    EXPECT_EQ(app.GetExeDirPath(L"ormix.ini"), folder + L"ormix.ini");
}
