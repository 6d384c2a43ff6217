// The harness's own promises that the other end-to-end tests rest on: the
// prefix is put back as it was, and every test starts from an empty folder.

#include <gtest/gtest.h>

#include <cstring>

#include "e2e/harness.h"

namespace e2e {
namespace {

const wchar_t kScratchKey[] = L"SOFTWARE\\Orvane e2e harness";

std::optional<std::wstring> ReadString(const wchar_t* key, const wchar_t* name) {
    wchar_t buffer[256] = {};
    DWORD size = sizeof buffer;
    if (::RegGetValueW(HKEY_LOCAL_MACHINE, key, name, RRF_RT_REG_SZ, nullptr, buffer, &size) != ERROR_SUCCESS) {
        return std::nullopt;
    }
    return std::wstring(buffer);
}

TEST(E2eHarness, RegistryGuardPutsBackWhatWasThereAndRemovesWhatWasNot) {
    {
        RegistryValueGuard seed(kScratchKey, L"Kept", L"old");
        ASSERT_TRUE(seed.ok());
        {
            RegistryValueGuard changed(kScratchKey, L"Kept", L"new");
            RegistryValueGuard added(kScratchKey, L"Added", L"value");
            ASSERT_TRUE(changed.ok() && added.ok());
            EXPECT_EQ(ReadString(kScratchKey, L"Kept"), L"new");
            EXPECT_EQ(ReadString(kScratchKey, L"Added"), L"value");
        }
        EXPECT_EQ(ReadString(kScratchKey, L"Kept"), L"old") << "an existing value was not restored";
        EXPECT_EQ(ReadString(kScratchKey, L"Added"), std::nullopt) << "a new value was left behind";
        {
            RegistryValueGuard removed = RegistryValueGuard::Removed(kScratchKey, L"Kept");
            ASSERT_TRUE(removed.ok());
            EXPECT_EQ(ReadString(kScratchKey, L"Kept"), std::nullopt);
        }
        EXPECT_EQ(ReadString(kScratchKey, L"Kept"), L"old") << "a removed value did not come back";
    }
    EXPECT_EQ(ReadString(kScratchKey, L"Kept"), std::nullopt);
}

TEST(E2eHarness, ScratchFolderStartsEmptyEveryTime) {
    {
        ScratchFolder first;
        ASSERT_TRUE(first.ok());
        ASSERT_TRUE(first.AddFile(L"sub\\left-over.txt", "x"));
        ASSERT_TRUE(first.Has(L"sub\\left-over.txt"));
    }
    ScratchFolder second;
    ASSERT_TRUE(second.ok());
    EXPECT_FALSE(second.Has(L"sub\\left-over.txt"));
    EXPECT_EQ(second.Path().back(), L'\\');
}

TEST(E2eHarness, FilesKeepEveryByte) {
    ScratchFolder folder;
    ASSERT_TRUE(folder.ok());
    const std::string bytes("a\r\n\0\xff\x81\x40z", 8);
    ASSERT_TRUE(folder.AddFile(L"bytes.bin", bytes));
    EXPECT_EQ(folder.ReadFile(L"bytes.bin"), bytes);
    EXPECT_EQ(folder.ReadFile(L"missing.bin"), std::nullopt);
    EXPECT_EQ(ToCp932(L"構成"), "\x8d\x5c\x90\xac");
}

TEST(E2eHarness, HostPathsMapToDriveZ) {
    const struct {
        const char* meaning;
        const wchar_t* host;
        const wchar_t* windows;
    } cases[] = {
        {"absolute Unix path", L"/work/build/Orvane.exe", L"Z:\\work\\build\\Orvane.exe"},
        {"already a Windows path", L"C:\\x\\y.exe", L"C:\\x\\y.exe"},
        {"empty", L"", L""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(WindowsPathFromHost(c.host), c.windows) << c.meaning;
    }
    EXPECT_TRUE(FileExists(BuiltProgramPath(BuiltProgram::Orvane)));
    EXPECT_TRUE(FileExists(BuiltProgramPath(BuiltProgram::OrvaneNoTables)));
}

TEST(E2eHarness, ScreenshotOfAWindowIsABitmapOfItsSize) {
    ScratchFolder folder;
    ASSERT_TRUE(folder.ok());
    // 101 pixels of 3 bytes: rows of 303 bytes, padded to 304.
    UniqueHwnd window(::CreateWindowExW(WS_EX_TOOLWINDOW, L"STATIC", L"", WS_POPUP | WS_VISIBLE, 10, 10, 101, 50,
                                        nullptr, nullptr, nullptr, nullptr));
    ASSERT_TRUE(window);
    ASSERT_TRUE(SaveScreenshotBmp(window.get(), folder.PathOf(L"window.bmp")));

    std::optional<std::string> bytes = folder.ReadFile(L"window.bmp");
    ASSERT_TRUE(bytes);
    EXPECT_EQ(bytes->substr(0, 2), "BM");
    EXPECT_EQ(bytes->size(), 14u + 40u + 304u * 50u) << "file header, bitmap header, 50 rows";
    ASSERT_GE(bytes->size(), sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER));
    BITMAPINFOHEADER header{};
    std::memcpy(&header, bytes->data() + sizeof(BITMAPFILEHEADER), sizeof header);
    EXPECT_EQ(header.biWidth, 101);
    EXPECT_EQ(header.biHeight, 50);
}

TEST(E2eHarness, ProcessLeftRunningIsEndedWithItsOwner) {
    ScratchFolder folder;
    ASSERT_TRUE(folder.ok());
    ASSERT_TRUE(folder.AddProgram(BuiltProgram::OrvaneNoTables, L"Orvane.exe"));
    DWORD id = 0;
    UniqueHandle watcher;
    {
        OrvaneProcess orvane;
        ASSERT_TRUE(StartIn(orvane, folder));
        // It waits on its first message box until someone answers.
        ASSERT_TRUE(orvane.WaitForMessageBox());
        id = orvane.id();
        watcher.reset(::OpenProcess(SYNCHRONIZE, FALSE, id));
        ASSERT_TRUE(watcher);
    }
    EXPECT_EQ(::WaitForSingleObject(watcher.get(), 10000), WAIT_OBJECT_0) << "process " << id << " outlived its owner";
}

}  // namespace
}  // namespace e2e
