// The Win32 side of files, text, resources and system facts, against the real
// system (Wine in the test run).

#ifdef _WIN32

#include <windows.h>
// <windows.h> maps ReplaceFile to ReplaceFileW; ours is the seam's member.
#undef ReplaceFile

#include <gtest/gtest.h>

#include <string>

#include "platform/win32/unique_resource.h"
#include "platform/win32/win32_file_system.h"
#include "platform/win32/win32_long_path.h"
#include "platform/win32/win32_resources.h"
#include "platform/win32/win32_system_dll.h"
#include "platform/win32/win32_system_info.h"
#include "platform/win32/win32_text_codec.h"

namespace {

// A fresh folder below the temporary folder, removed with all it holds.
class ScratchFolder {
public:
    ScratchFolder() {
        path_ = *Win32SystemInfo().TempFolder() + L"orvane-test-" + std::to_wstring(::GetCurrentProcessId()) +
                L"-" + std::to_wstring(::GetTickCount()) + L"\\";
        ::CreateDirectoryW(path_.c_str(), nullptr);
    }
    ~ScratchFolder() { RemoveTree(path_.substr(0, path_.size() - 1)); }
    const std::wstring& path() const { return path_; }

private:
    static void RemoveTree(const std::wstring& folder) {
        const std::wstring long_folder = ExtendedLengthPath(folder);
        WIN32_FIND_DATAW found;
        HANDLE search = ::FindFirstFileW((long_folder + L"\\*").c_str(), &found);
        if (search != INVALID_HANDLE_VALUE) {
            do {
                const std::wstring name = found.cFileName;
                if (name == L"." || name == L"..") continue;
                const std::wstring child = folder + L"\\" + name;
                if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                    RemoveTree(child);
                else
                    ::DeleteFileW(ExtendedLengthPath(child).c_str());
            } while (::FindNextFileW(search, &found));
            ::FindClose(search);
        }
        ::RemoveDirectoryW(long_folder.c_str());
    }
    std::wstring path_;
};

}  // namespace

TEST(Win32Files, TableFileHeldOpenForWritingElsewhereIsStillRead) {
    ScratchFolder scratch;
    Win32FileSystem files;
    const std::wstring path = scratch.path() + L"OrvaneSPC.csv";
    ASSERT_EQ(files.ReplaceFile(path, "a,b\r\n"), WriteResult::Written);

    {
        // A spreadsheet keeps the file open for writing and lets others read it.
        UniqueFile holder(::CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                                        OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
        ASSERT_TRUE(holder);
        EXPECT_EQ(files.ReadWholeFile(path), std::optional<std::string>("a,b\r\n"));
    }
    {
        // An editor that may rename or delete the file while it has it open.
        UniqueFile holder(::CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE | DELETE,
                                        FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                        OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
        ASSERT_TRUE(holder);
        EXPECT_EQ(files.ReadWholeFile(path), std::optional<std::string>("a,b\r\n"));
    }
    {
        // A program that shares nothing: the caller falls back to the built-in copy.
        UniqueFile holder(::CreateFileW(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                                        FILE_ATTRIBUTE_NORMAL, nullptr));
        ASSERT_TRUE(holder);
        EXPECT_EQ(files.ReadWholeFile(path), std::nullopt);
    }
    EXPECT_EQ(files.ReadWholeFile(scratch.path() + L"missing.csv"), std::nullopt);
    EXPECT_EQ(files.ReadWholeFile(scratch.path()), std::nullopt) << "a folder is not a file";

    // A bounded read: the whole file up to its limit; one byte more and nothing of it.
    EXPECT_EQ(files.ReadFileUpTo(path, 5).value_or(BoundedRead{"?", true}).bytes, "a,b\r\n");
    EXPECT_TRUE(files.ReadFileUpTo(path, 4).value_or(BoundedRead{}).tooLong);
    EXPECT_FALSE(files.ReadFileUpTo(scratch.path() + L"missing.csv", 5).has_value());
}

TEST(Win32Files, FilesAreToldFromFoldersAndReplacedWhole) {
    ScratchFolder scratch;
    Win32FileSystem files;
    const std::wstring path = scratch.path() + L"report.txt";
    EXPECT_FALSE(files.IsExistingFile(path));
    EXPECT_FALSE(files.IsExistingFile(scratch.path()));

    const std::string bytes("\xEF\xBB\xBFone\0two\r\n", 13);
    ASSERT_EQ(files.ReplaceFile(path, std::string(100000, 'x')), WriteResult::Written);
    ASSERT_EQ(files.ReplaceFile(path, bytes), WriteResult::Written);
    EXPECT_TRUE(files.IsExistingFile(path));
    EXPECT_EQ(files.ReadWholeFile(path), std::optional<std::string>(bytes)) << "shorter content replaces, not overlays";

    EXPECT_EQ(files.ReplaceFile(scratch.path() + L"no such folder\\x.txt", "x"), WriteResult::NotOpened);
}

TEST(Win32Files, FoldersAreCreatedDownToTheLastBackslashWhateverTheirNamesAndLength) {
    ScratchFolder scratch;
    Win32FileSystem files;

    const std::wstring nested = scratch.path() + L"製品\\設定\\Orvane.ini";
    files.CreateFoldersFor(nested);
    EXPECT_EQ(files.ReplaceFile(nested, "x"), WriteResult::Written);
    files.CreateFoldersFor(nested);  // again: everything exists already
    EXPECT_TRUE(files.IsExistingFile(nested));

    std::wstring deep = scratch.path();
    while (deep.size() < 400) deep += L"long folder name\\";
    const std::wstring deepFile = deep + L"OrvaneWMI.csv";
    files.CreateFoldersFor(deepFile);
    ASSERT_EQ(files.ReplaceFile(deepFile, "ns,,,,,\r\n"), WriteResult::Written);
    EXPECT_TRUE(files.IsExistingFile(deepFile));
    EXPECT_EQ(files.ReadWholeFile(deepFile), std::optional<std::string>("ns,,,,,\r\n"));
}

TEST(Win32Files, LongPathsGetTheExtendedPrefixOnlyWhenTheyNeedIt) {
    const std::wstring longTail(300, L'a');
    struct Case {
        const char* meaning;
        std::wstring path;
        std::wstring expected;
    } cases[] = {
        {"short paths stay", L"C:\\Tools\\OrvaneSPC.csv", L"C:\\Tools\\OrvaneSPC.csv"},
        {"a long drive path", L"C:\\" + longTail, L"\\\\?\\C:\\" + longTail},
        // A new folder's path may not reach 248 units without the prefix.
        {"a folder path of 248 units", L"C:\\" + std::wstring(245, L'b'), L"\\\\?\\C:\\" + std::wstring(245, L'b')},
        {"a path of 247 units stays", L"C:\\" + std::wstring(244, L'b'), L"C:\\" + std::wstring(244, L'b')},
        {"a long network path", L"\\\\server\\share\\" + longTail, L"\\\\?\\UNC\\server\\share\\" + longTail},
        {"already prefixed", L"\\\\?\\C:\\" + longTail, L"\\\\?\\C:\\" + longTail},
        {"forward slashes are left to the system", L"C:/" + longTail, L"C:/" + longTail},
        {"relative paths are left alone", longTail, longTail},
    };
    for (const auto& c : cases) EXPECT_EQ(ExtendedLengthPath(c.path), c.expected) << c.meaning;
}

TEST(Win32Text, BuiltInTablesDecodeAsCodePage932) {
    Win32TextCodec codec;
    EXPECT_EQ(codec.Decode("64 \x83r\x83\x62\x83g", CodePage::Japanese), std::optional<std::wstring>(L"64 ビット"));
    EXPECT_EQ(codec.Decode("", CodePage::ProcessLocale), std::optional<std::wstring>(L""));
    EXPECT_EQ(codec.Decode("plain", CodePage::SystemAnsi), std::optional<std::wstring>(L"plain"));
}

TEST(Win32System, FactsAreReadWhole) {
    Win32SystemInfo system;
    const std::wstring exe = system.ExecutablePath();
    EXPECT_NE(exe.find(L"orvane_unit_tests"), std::wstring::npos) << "got " << exe.size() << " units";
    const auto temp = system.TempFolder();
    ASSERT_TRUE(temp.has_value());
    EXPECT_EQ(temp->back(), L'\\');
    const auto name = system.ComputerName();
    ASSERT_TRUE(name.has_value());
    EXPECT_FALSE(name->empty());
    EXPECT_NE(system.DecimalSeparator(), L'\0');
    EXPECT_TRUE(system.DesktopFolder().has_value());

    // This program carries no built-in tables.
    EXPECT_EQ(Win32Resources().LoadText(129), std::nullopt);
}

// Windows 7 and Vista without update KB2533623 refuse the System32 search
// flag: the DLL then comes by its full path, and still from System32 alone.
TEST(Win32System, SystemDllsComeFromSystem32WithOrWithoutTheSearchFlag) {
    const FlaggedDllLoad refused = [](const char*) -> HMODULE {
        ::SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    };
    const HMODULE user32 = ::GetModuleHandleW(L"user32.dll");  // the suite imports it
    ASSERT_NE(user32, nullptr);
    // A DLL beside the program that System32 does not have.
    const std::wstring exe = Win32SystemInfo().ExecutablePath();
    const std::wstring beside = exe.substr(0, exe.rfind(L'\\') + 1) + L"orvane_beside_test.dll";
    ASSERT_TRUE(::CopyFileW(System32Path(L"version.dll").c_str(), beside.c_str(), FALSE));
    const struct {
        const char* meaning;
        const char* dll;
        bool flagRefused;
        HMODULE expected;
    } cases[] = {
        {"by the flag", "user32.dll", false, user32},
        {"by the full path", "user32.dll", true, user32},
        {"not beside the program, by the flag", "orvane_beside_test.dll", false, nullptr},
        {"not beside the program, by the full path", "orvane_beside_test.dll", true, nullptr},
    };
    for (const auto& c : cases) {
        const HMODULE module = c.flagRefused ? LoadSystemDll(c.dll, refused) : LoadSystemDll(c.dll);
        EXPECT_EQ(module, c.expected) << c.meaning;
        if (module) ::FreeLibrary(module);
    }
    ::DeleteFileW(beside.c_str());
}

#endif  // _WIN32
