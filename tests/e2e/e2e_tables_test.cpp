// Where the two tables come from and what a bad table shows, seen from outside:
// the real Orvane.exe in a folder of its own, its message boxes read and
// answered the way a user would.

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <system_error>
#include <vector>

#include "e2e/harness.h"

namespace e2e {
namespace {

const std::wstring kFormatMessage = L"設定ファイルの書式が正しくありません\n";
const std::wstring kNoResourceMessage = L"構成リソースがありません。";

std::string WithCommas(int commas) {
    std::string line = "3.3";
    for (int i = 0; i < commas; ++i) line += ",x";
    return line;
}

struct DialogText {
    std::wstring status;
    std::wstring report;
};

// A run that loaded both tables ends in the result dialog (nothing passes on a
// machine without the product): no message box, the dialog, closed with Esc.
// Returns what the dialog showed.
DialogText ExpectResultDialogThenExit(OrvaneProcess& orvane) {
    std::optional<WindowInfo> first = orvane.WindowBeforeExit();
    if (!first) {
        ADD_FAILURE() << "no window before the program ended";
        return {};
    }
    EXPECT_FALSE(IsMessageBox(first->handle)) << "message: " << ToUtf8(MessageBoxText(first->handle));
    EXPECT_EQ(first->className, L"#32770");
    EXPECT_EQ(first->caption, L"Orvane");
    EXPECT_TRUE(HasControl(first->handle, 1001)) << "not the result dialog";
    const DialogText shown{ControlText(first->handle, 1002), ControlText(first->handle, 1001)};
    EXPECT_TRUE(PostCommand(first->handle, IDCANCEL));
    EXPECT_TRUE(orvane.WaitForExit()) << "still running after the dialog was cancelled";
    return shown;
}

// The settings files "Orvane.ini" below the temporary folder: a run writes
// one only when both tables loaded.
std::vector<std::wstring> SettingsFilesInTemp() {
    std::vector<std::wstring> found;
    std::error_code error;
    for (std::filesystem::recursive_directory_iterator it(TempFolder(), error), end; !error && it != end;
         it.increment(error)) {
        if (it->path().filename() == L"Orvane.ini") found.push_back(it->path().wstring());
    }
    return found;
}

void RemoveSettingsFilesInTemp() {
    for (const std::wstring& path : SettingsFilesInTemp()) ASSERT_TRUE(DeleteFileIfPresent(path));
}

// Reads the message boxes the program shows, in order, pressing OK on each;
// stops at the first window that is not a message box or when the program ends.
std::vector<OrvaneProcess::MessageBoxView> AnswerMessageBoxes(OrvaneProcess& orvane, size_t atMost) {
    std::vector<OrvaneProcess::MessageBoxView> seen;
    while (seen.size() < atMost) {
        auto box = orvane.WaitForMessageBox();
        if (!box) break;
        seen.push_back(*box);
        // Gone before the next one is looked for.
        if (!orvane.DismissMessageBox(*box)) break;
    }
    return seen;
}

TEST(E2eTables, BuiltInTablesAreUsedSilentlyWhenNoTableFilesLieBesideTheProgram) {
    ScratchFolder folder;
    ASSERT_TRUE(folder.ok());
    ASSERT_TRUE(folder.AddProgram(BuiltProgram::Orvane, L"Orvane.exe"));
    RemoveSettingsFilesInTemp();

    OrvaneProcess orvane;
    ASSERT_TRUE(StartIn(orvane, folder));
    const DialogText shown = ExpectResultDialogThenExit(orvane);
    EXPECT_EQ(shown.report.rfind(L"コンピューター システム [", 0), 0u) << ToUtf8(shown.report);
    EXPECT_EQ(SettingsFilesInTemp().size(), 1u) << "both tables loaded, so the settings file is written";
}

struct AcceptedTable {
    const char* meaning;
    std::optional<std::string> requirementFile;
    std::optional<std::string> queryFile;
    // What only the file shows: the status line (from the row met), or how the report begins.
    std::wstring status;
    std::wstring reportStart;
};

TEST(E2eTables, AcceptedTableFilesShowNoMessage) {
    const AcceptedTable cases[] = {
        {"zero-byte requirement file: no rows, still loaded", std::string(), std::nullopt,
         L"【×】動作スペックを満たしていません。", L""},
        {"one row ending with CR LF: no empty line follows", RequirementRow(L"6.1", L"", L"CR LF") + "\r\n",
         std::nullopt, L"CR LF", L""},
        // The second row asks for more graphics, so it is tried first.
        {"two rows with LF line ends", RequirementRow(L"6.1", L"", L"LF 1") + "\n3.4,6.1,x,a.exe,,1,LF 2,x,x\n",
         std::nullopt, L"LF 2", L""},
        {"row without a line end", RequirementRow(L"6.1", L"", L"no line end"), std::nullopt, L"no line end", L""},
        {"8 commas: nine fields", WithCommas(8), std::nullopt, L"x", L""},
        {"10 commas: fields after the ninth are ignored", WithCommas(10), std::nullopt, L"x", L""},
        {"quoted comma is cut like any other", "\"3,3\",10.0,64,a.exe,,1,ok,link,http://x", std::nullopt, L"1", L""},
        {"query file of odd lines: empty, short, long, properties before any query", std::nullopt,
         std::string("\r\n,,Orphan,orphan %s,,-1\r\nROOT\\CIMV2\r\n,,,,,,,,,,,,\r\n\r\n") +
             ",SELECT * FROM Win32_OperatingSystem,,OS [%s],,-1\r\n,,Version,V %s,,1\r\nx\r\n,\r\n",
         L"", L"OS ["},
        {"query file of bytes that are no text: no queries", std::nullopt,
         std::string("\x81\xff\x00,\x80\n\xfc", 7), L"ご利用いただけます", L"OpenGL\r\n"},
        {"empty query file", std::nullopt, std::string(), L"ご利用いただけます", L"OpenGL\r\n"},
    };
    for (const AcceptedTable& c : cases) {
        SCOPED_TRACE(c.meaning);
        ScratchFolder folder;
        ASSERT_TRUE(folder.ok());
        ASSERT_TRUE(folder.AddProgram(BuiltProgram::Orvane, L"Orvane.exe"));
        if (c.requirementFile) {
            ASSERT_TRUE(folder.AddFile(L"OrvaneSPC.csv", *c.requirementFile));
        }
        if (c.queryFile) {
            ASSERT_TRUE(folder.AddFile(L"OrvaneWMI.csv", *c.queryFile));
        }

        OrvaneProcess orvane;
        ASSERT_TRUE(StartIn(orvane, folder));
        const DialogText shown = ExpectResultDialogThenExit(orvane);
        if (!c.status.empty()) {
            EXPECT_EQ(shown.status, c.status);
        }
        EXPECT_EQ(shown.report.rfind(c.reportStart, 0), 0u) << ToUtf8(shown.report);
    }
}

struct BadRequirementFile {
    const char* meaning;
    std::string bytes;
};

TEST(E2eTables, BadRequirementFileShowsItsPathThenEndsWithoutDialog) {
    const BadRequirementFile cases[] = {
        {"a short line between good rows", RequirementRow() + "\r\na,b,c\r\n" + RequirementRow() + "\r\n"},
        {"an empty line between rows", RequirementRow() + "\r\n\r\n" + RequirementRow() + "\r\n"},
        {"two line ends at the end", RequirementRow() + "\r\n\r\n"},
        {"7 commas: eight fields", WithCommas(7)},
        {"only an empty line", "\r\n"},
    };
    for (const BadRequirementFile& c : cases) {
        SCOPED_TRACE(c.meaning);
        ScratchFolder folder;
        ASSERT_TRUE(folder.ok());
        ASSERT_TRUE(folder.AddProgram(BuiltProgram::Orvane, L"Orvane.exe"));
        ASSERT_TRUE(folder.AddFile(L"OrvaneSPC.csv", c.bytes));
        RemoveSettingsFilesInTemp();

        OrvaneProcess orvane;
        ASSERT_TRUE(StartIn(orvane, folder));
        auto box = orvane.WaitForMessageBox();
        ASSERT_TRUE(box) << "no message box";
        EXPECT_EQ(box->caption, L"Orvane");
        EXPECT_EQ(box->text, kFormatMessage + folder.PathOf(L"OrvaneSPC.csv"));
        ASSERT_TRUE(orvane.DismissMessageBox(*box));

        std::optional<WindowInfo> after = orvane.WindowBeforeExit();
        EXPECT_FALSE(after) << "further window: " << ToUtf8(after->caption);
        EXPECT_TRUE(orvane.WaitForExit());
        EXPECT_TRUE(SettingsFilesInTemp().empty()) << "the run went on past the failed table";
    }
}

TEST(E2eTables, FormatMessageNamesTheWholePathOfAFolderWithBlanks) {
    ScratchFolder folder(ScratchFolder::Root::ProgramFiles);
    ASSERT_TRUE(folder.ok());
    ASSERT_TRUE(folder.AddProgram(BuiltProgram::Orvane, L"Orvane.exe"));
    ASSERT_TRUE(folder.AddFile(L"OrvaneSPC.csv", WithCommas(3)));

    OrvaneProcess orvane;
    // Started from elsewhere: the path comes from the program's own location.
    ASSERT_TRUE(StartIn(orvane, folder, L"Orvane.exe", L"C:\\"));
    auto box = orvane.WaitForMessageBox();
    ASSERT_TRUE(box);
    EXPECT_EQ(box->text, kFormatMessage + folder.PathOf(L"OrvaneSPC.csv"));
    ASSERT_TRUE(orvane.DismissMessageBox(*box));
    EXPECT_TRUE(orvane.WaitForExit());
}

TEST(E2eTables, RequirementFileOpenInAnotherProgramIsStillRead) {
    ScratchFolder folder;
    ASSERT_TRUE(folder.ok());
    ASSERT_TRUE(folder.AddProgram(BuiltProgram::Orvane, L"Orvane.exe"));
    ASSERT_TRUE(folder.AddFile(L"OrvaneSPC.csv", WithCommas(2)));
    // A spreadsheet keeps its file open for reading and writing and lets others read.
    UniqueFile held(::CreateFileW(folder.PathOf(L"OrvaneSPC.csv").c_str(), GENERIC_READ | GENERIC_WRITE,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr));
    ASSERT_TRUE(held);

    OrvaneProcess orvane;
    ASSERT_TRUE(StartIn(orvane, folder));
    // The bad line is seen, so the administrator's file was read, not replaced.
    auto box = orvane.WaitForMessageBox();
    ASSERT_TRUE(box) << "the file open elsewhere was not read";
    EXPECT_EQ(box->text, kFormatMessage + folder.PathOf(L"OrvaneSPC.csv"));
    ASSERT_TRUE(orvane.DismissMessageBox(*box));
    EXPECT_TRUE(orvane.WaitForExit());
}

TEST(E2eTables, RequirementFileThatCannotBeOpenedFallsBackToTheBuiltInTable) {
    ScratchFolder folder;
    ASSERT_TRUE(folder.ok());
    ASSERT_TRUE(folder.AddProgram(BuiltProgram::Orvane, L"Orvane.exe"));
    ASSERT_TRUE(folder.AddFile(L"OrvaneSPC.csv", WithCommas(2)));
    // Held with no sharing at all: nobody else can open it.
    UniqueFile locked(::CreateFileW(folder.PathOf(L"OrvaneSPC.csv").c_str(), GENERIC_READ | GENERIC_WRITE, 0,
                                    nullptr, OPEN_EXISTING, 0, nullptr));
    ASSERT_TRUE(locked);

    OrvaneProcess orvane;
    ASSERT_TRUE(StartIn(orvane, folder));
    ExpectResultDialogThenExit(orvane);
}

struct MissingTables {
    const char* meaning;
    const wchar_t* exeName;  // the message boxes are captioned with it
    bool requirementFile;
    bool queryFile;
    size_t messages;
};

TEST(E2eTables, ProgramWithoutBuiltInTablesNeedsBothFiles) {
    const MissingTables cases[] = {
        {"no files: one message per loader", L"Orvane.exe", false, false, 2},
        {"caption follows the file name", L"Orvane_no_tables.exe", false, false, 2},
        {"only the requirement file: the query loader's message", L"Orvane.exe", true, false, 1},
        {"only the query file: the requirement loader's message", L"Orvane.exe", false, true, 1},
    };
    for (const MissingTables& c : cases) {
        SCOPED_TRACE(c.meaning);
        ScratchFolder folder;
        ASSERT_TRUE(folder.ok());
        ASSERT_TRUE(folder.AddProgram(BuiltProgram::OrvaneNoTables, c.exeName));
        if (c.requirementFile) {
            ASSERT_TRUE(folder.AddFile(L"OrvaneSPC.csv", RequirementRow() + "\r\n"));
        }
        if (c.queryFile) {
            ASSERT_TRUE(folder.AddFile(L"OrvaneWMI.csv", "ROOT\\CIMV2,,,,,-1\r\n"
                                                         ",SELECT * FROM Win32_OperatingSystem,,OS [%s],,-1\r\n"
                                                         ",,Version,Version : %s,,1\r\n"));
        }

        RemoveSettingsFilesInTemp();

        OrvaneProcess orvane;
        ASSERT_TRUE(StartIn(orvane, folder, c.exeName));
        std::vector<OrvaneProcess::MessageBoxView> boxes = AnswerMessageBoxes(orvane, c.messages);
        ASSERT_EQ(boxes.size(), c.messages);
        std::wstring caption = c.exeName;
        caption.resize(caption.size() - 4);  // without ".exe"
        for (const auto& box : boxes) {
            EXPECT_EQ(box.caption, caption);
            EXPECT_EQ(box.text, kNoResourceMessage);
        }
        std::optional<WindowInfo> after = orvane.WindowBeforeExit();
        EXPECT_FALSE(after) << "further window: " << ToUtf8(after->caption);
        EXPECT_TRUE(orvane.WaitForExit());
        EXPECT_TRUE(SettingsFilesInTemp().empty()) << "the run went on past the missing table";
    }
}

TEST(E2eTables, ProgramWithoutBuiltInTablesRunsOnBothFiles) {
    ScratchFolder folder;
    ASSERT_TRUE(folder.ok());
    ASSERT_TRUE(folder.AddProgram(BuiltProgram::OrvaneNoTables, L"Orvane.exe"));
    ASSERT_TRUE(folder.AddFile(L"OrvaneSPC.csv", RequirementRow()));
    ASSERT_TRUE(folder.AddFile(L"OrvaneWMI.csv", "ROOT\\CIMV2,,,,,-1\r\n"));

    OrvaneProcess orvane;
    ASSERT_TRUE(StartIn(orvane, folder));
    ExpectResultDialogThenExit(orvane);
}

}  // namespace
}  // namespace e2e
