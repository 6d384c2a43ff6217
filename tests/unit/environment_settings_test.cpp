#include <gtest/gtest.h>

#include "environment/product_environment.h"
#include "fakes/fake_services.h"

namespace {

const std::wstring kPath = L"C:\\Temp\\会社名\\Kestrand VORN\\Orvane.ini";

OrvaneRec ProbedRecord(const wchar_t* exeArgs) {
    OrvaneRec r;
    r.glInfo = {L"Mesa", L"llvmpipe (LLVM 15.0.6, 256 bits)", L"4.5 (Core Profile) Mesa 22.3.6", L"4.50"};
    r.columns[OrvaneRec::exeName] = L"vorn_explorer.exe";
    r.columns[OrvaneRec::exeArgs] = exeArgs;
    return r;
}

}  // namespace

TEST(SettingsFile, WritesTheFiveKeysInOrder) {
    FakeProfileFiles profiles;
    EXPECT_TRUE(WriteSettings(profiles, kPath, ProbedRecord(L"-x 1")));
    const std::vector<std::wstring> expected = {
        kPath + L"|OpenGL|GL_VENDOR=Mesa",
        kPath + L"|OpenGL|GL_RENDERER=llvmpipe (LLVM 15.0.6, 256 bits)",
        kPath + L"|OpenGL|GL_VERSION=4.5 (Core Profile) Mesa 22.3.6",
        kPath + L"|OpenGL|GL_SHADING_LANGUAGE_VERSION=4.50",
        kPath + L"|EXEC|PATH=vorn_explorer.exe -x 1",
    };
    EXPECT_EQ(profiles.writes, expected);
}

TEST(SettingsFile, CommandHasNoTrailingBlankAndMayBeEmpty) {
    struct Case {
        const char* meaning;
        const wchar_t* exeName;
        const wchar_t* exeArgs;
        const wchar_t* path;
    } cases[] = {
        {"no arguments", L"vorn_explorer.exe", L"", L"vorn_explorer.exe"},
        {"no row selected", L"", L"", L""},
    };
    for (const auto& c : cases) {
        FakeProfileFiles profiles;
        OrvaneRec r;
        r.columns[OrvaneRec::exeName] = c.exeName;
        r.columns[OrvaneRec::exeArgs] = c.exeArgs;
        EXPECT_TRUE(WriteSettings(profiles, kPath, r)) << c.meaning;
        EXPECT_EQ(profiles.files[kPath][L"EXEC|PATH"], c.path) << c.meaning;
        EXPECT_EQ(profiles.files[kPath][L"OpenGL|GL_VENDOR"], L"") << c.meaning;
    }
}

TEST(SettingsFile, PathWithoutIniWritesNothing) {
    for (const wchar_t* path : {L"", L"C:\\Temp\\x\\Orvane.INI", L"C:\\Temp\\x\\Orvane.txt"}) {
        FakeProfileFiles profiles;
        EXPECT_FALSE(WriteSettings(profiles, path, ProbedRecord(L""))) << path;
        EXPECT_TRUE(profiles.writes.empty()) << path;
    }
}
