#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "fakes/fake_file_system.h"
#include "fakes/fake_text_codec.h"
#include "tables/table_validator.h"
#include "tables_source_files.h"
#include "encoding/utf8_encoding.h"

namespace {

const std::wstring kDir = L"C:\\Deploy\\";
const char* const kNone = nullptr;  // the file is not there

// Both tables as the built-in copies have them, in ASCII.
const std::string kRow = "3.3,10.0.19043,64 bit,vorn.exe,,1,ok,link,https://example.invalid/";
const std::string kQueries =
    "ROOT\\CIMV2,,,,,-1\r\n"
    ",SELECT * FROM Win32_OperatingSystem,,OS [%s],,-1\r\n"
    ",,Version,Version : %s,,1\r\n"
    ",,OSArchitecture,Arch : %s,,2\r\n"
    ",SELECT * FROM Win32_ComputerSystem,,PC [%s],,-1\r\n"
    ",,TotalPhysicalMemory,RAM : %0.2f(GB),9.31E-10,-1\r\n";

std::vector<std::wstring> Validate(const char* spec, const char* query, FakeFileSystem& files) {
    FakeTextCodec codec;
    if (spec) files.files[kDir + L"OrvaneSPC.csv"] = spec;
    if (query) files.files[kDir + L"OrvaneWMI.csv"] = query;
    files.files[kDir + L"vorn.exe"] = "MZ";
    std::vector<std::wstring> shown;
    for (const TableProblem& p : ValidateTables(files, codec, kDir)) shown.push_back(FormatTableProblem(p));
    return shown;
}

}  // namespace

TEST(TableValidator, NamesTheLineAndFieldOfEveryProblem) {
    const std::string r = kRow + "\r\n";
    struct Case {
        const char* meaning;
        std::string spec;
        std::string query;
        std::vector<std::wstring> problems;
        int exitCode;
    } cases[] = {
        {"the built-in tables are clean", kRow, kQueries, {}, 0},
        {"every short line is an error, not only the first",
         r + "3.3,10.0,64,vorn.exe,,1,ok,link\r\n\r\n4.0" + kRow.substr(3),
         kQueries,
         {L"OrvaneSPC.csv:2: 8 fields, want 9", L"OrvaneSPC.csv:3: empty line: 1 field, want 9"},
         2},
        {"a missing program, a graphics version no driver meets, an architecture that is no number",
         "v4.0,10.0.19043,x64,missing.exe,,1,ok,link,u\r\n",
         kQueries,
         {L"OrvaneSPC.csv:1:1: warning: the graphics version \"v4.0\" does not begin with a digit: compared as "
          L"text, no driver meets it, so the row is never selected",
          L"OrvaneSPC.csv:1:3: warning: \"x64\" has no leading number: it reads as 0, so the check asks for nothing",
          L"OrvaneSPC.csv:1:4: warning: the program \"missing.exe\" is not beside the tables"},
         1},
        {"a row tried later that asks for more is shadowed; one asking for less is not",
         "3.3,10.0.19043,64,vorn.exe,,1,a,l,u\r\n4.5,10.0.22000,64,vorn.exe,,1,b,l,u\r\n"
         "3.3.0,10.0.19045,64,vorn.exe,,1,c,l,u\r\n3.3,10.0.17763,32,vorn.exe,,1,d,l,u\r\n",
         kQueries,
         {L"OrvaneSPC.csv:3: warning: the row is never selected: the row on line 1 is tried first and is met "
          L"whenever this one is"},
         1},
        {"query table: check columns, scales and labels that do not fit",
         kRow,
         ",SELECT * FROM Win32_OperatingSystem,,OS %d,,-1\n"
         ",,Version,V %s,,9\n"
         ",,Caption,%s %s\n"
         ",,FreeMemory,%s,1e-6\n"
         ",,Name,,,x\n"
         ",,,,,2\n"
         ",,,late %s\n"
         ",,,again %s\n",
         {L"OrvaneWMI.csv:1:4: warning: the conversion \"%d\" does not fit a text value: it is shown as written "
          L"(use %s)",
          L"OrvaneWMI.csv:2:6: warning: the check column 9 is outside 1..8 (-1: none): nothing is compared",
          L"OrvaneWMI.csv:3:4: warning: the label has 2 conversions: only \"%s\" is filled, the others are shown "
          L"as written (write %% for %)",
          L"OrvaneWMI.csv:4:5: warning: a scale, but the label \"%s\" has no number conversion (%f, %e, %g): the "
          L"value is not shown",
          L"OrvaneWMI.csv:5:6: warning: the check column \"x\" is no number: it is ignored",
          L"OrvaneWMI.csv:8: warning: the line changes nothing in the table"},
         1},
        {"query table: lines Orvane ignores, and queries that show nothing",
         kRow,
         ",,Orphan,%s\r\nROOT\\CIMV2\r\nROOT\\WMI\r\n,SELECT * FROM Win32_Processor,,P\r\n,   ,,Q [%s]\r\n"
         ",,Name,Name\r\n",
         {L"OrvaneWMI.csv:1:3: warning: a property before the first query line is ignored",
          L"OrvaneWMI.csv:3:1: warning: a second namespace is ignored: the queries use \"ROOT\\CIMV2\"",
          L"OrvaneWMI.csv:4:2: warning: the query has no properties: only its heading is shown",
          L"OrvaneWMI.csv:5:2: warning: the query text is blank",
          L"OrvaneWMI.csv:6:4: warning: the label \"Name\" has no %s: the value is not shown"},
         1},
        {"empty files: no rows, no queries",
         "",
         "",
         {L"OrvaneSPC.csv: warning: no rows: Orvane selects none, so every machine falls short",
          L"OrvaneWMI.csv: warning: no queries: Orvane asks the machine nothing, so no value is checked"},
         1},
    };
    for (const auto& c : cases) {
        FakeFileSystem files;
        EXPECT_EQ(Validate(c.spec.c_str(), c.query.c_str(), files), c.problems) << c.meaning;
        FakeTextCodec codec;
        EXPECT_EQ(ValidationExitCode(ValidateTables(files, codec, kDir)), c.exitCode) << c.meaning;
    }
}

TEST(TableValidator, WarnsAboutHowTheFileIsRead) {
    FakeFileSystem files;
    EXPECT_EQ(Validate(kNone, kNone, files),
              (std::vector<std::wstring>{L"OrvaneSPC.csv: warning: not found: Orvane uses its built-in copy",
                                         L"OrvaneWMI.csv: warning: not found: Orvane uses its built-in copy"}));

    // Without a query file the rows meet the built-in checks: "Version" dotted, "OSArchitecture" by number.
    FakeFileSystem locked;
    locked.unreadable.insert(kDir + L"OrvaneWMI.csv");
    EXPECT_EQ(Validate("3.3,Windows 10,64 bit,vorn.exe,,1,a,l,u", "", locked),
              (std::vector<std::wstring>{
                  L"OrvaneSPC.csv:1:2: warning: \"Windows 10\" has no leading number: it reads as 0, so the check "
                  L"asks for nothing",
                  L"OrvaneWMI.csv: warning: cannot be read: Orvane uses its built-in copy"}));

    // A western code page reads every byte, so the mark's bytes reach the first field.
    FakeFileSystem western;
    western.files[kDir + L"OrvaneSPC.csv"] = "\xEF\xBB\xBF" + kRow + ",extra";
    western.files[kDir + L"vorn.exe"] = "MZ";
    FakeTextCodec codec;
    codec.processCodePage = 1252;
    std::vector<std::wstring> shown;
    for (const TableProblem& p : ValidateTables(western, codec, kDir)) shown.push_back(FormatTableProblem(p));
    EXPECT_EQ(shown, (std::vector<std::wstring>{
                         L"OrvaneSPC.csv:1:1: warning: UTF-8 byte-order mark: it becomes part of the first field; "
                         L"save the file in the ANSI code page",
                         L"OrvaneSPC.csv:1:1: warning: the graphics version \"\u00EF\u00BB\u00BF3.3\" does not "
                         L"begin with a digit: compared as text, no driver meets it, so the row is never selected",
                         L"OrvaneSPC.csv:1:10: warning: 10 fields, want 9: those after the ninth are ignored",
                         L"OrvaneWMI.csv: warning: not found: Orvane uses its built-in copy"}));
}

// docs/tables.md shows these folders and what the check says about them.
TEST(TableValidator, TheGuidesExamplesReadAsDocumented) {
    const std::string guide = ReadSourceFile("docs/tables.md");
    ASSERT_FALSE(guide.empty()) << "docs/tables.md not found";
    struct Case {
        const char* folder;
        size_t errors;
        size_t warnings;
    } cases[] = {
        {"res", 0, 0},  // the built-in copies
        {"docs/examples/basic", 0, 0},
        {"docs/examples/broken", 1, 8},
    };
    for (const auto& c : cases) {
        FakeFileSystem files;
        for (const wchar_t* name : {L"OrvaneSPC.csv", L"OrvaneWMI.csv"}) {
            const std::string bytes = ReadSourceFile(std::string(c.folder) + "/" + EncodeUtf8(name));
            ASSERT_FALSE(bytes.empty()) << c.folder;
            files.files[kDir + name] = bytes;
        }
        files.files[kDir + L"vorn_explorer.exe"] = "MZ";  // the product's folder
        FakeTextCodec codec;
        size_t errors = 0;
        size_t warnings = 0;
        for (const TableProblem& p : ValidateTables(files, codec, kDir)) {
            ++(p.severity == TableProblem::Severity::Error ? errors : warnings);
            const std::string line = EncodeUtf8(FormatTableProblem(p));
            EXPECT_NE(guide.find(line), std::string::npos) << c.folder << ": the guide lacks " << line;
        }
        EXPECT_EQ(errors, c.errors) << c.folder;
        EXPECT_EQ(warnings, c.warnings) << c.folder;
    }
}
