// The report file's bytes and where, and whether, it is written.

#include <gtest/gtest.h>

#include <string>

#include "fakes/fake_platform.h"
#include "ui/report_file.h"
#include "ui/result_report.h"
#include "encoding/utf8_encoding.h"

namespace {

const std::string kBom = "\xEF\xBB\xBF";

TEST(ReportFileBytes, BomStatusEmptyLineThenReportWithCrLfLineEnds) {
    struct Case {
        const char* meaning;
        std::wstring status;
        std::wstring report;
        std::string expected;
    } cases[] = {
        {"report lines keep CR LF", L"S", L"a\r\n\tb\r\n", kBom + "S\r\n\r\na\r\n\tb\r\n"},
        {"a lone LF becomes CR LF", L"S", L"a\nb\r\n", kBom + "S\r\n\r\na\r\nb\r\n"},
        {"a lone CR is dropped", L"S", L"a\rb\r\n", kBom + "S\r\n\r\nab\r\n"},
        {"CR CR LF gives one line end", L"S", L"a\r\r\n", kBom + "S\r\n\r\na\r\n"},
        {"LF in the status", L"x\ny", L"", kBom + "x\r\ny\r\n\r\n"},
        {"empty texts still give BOM and the empty line", L"", L"", kBom + "\r\n\r\n"},
        {"no empty line is added at the end", L"S", L"last\r\n", kBom + "S\r\n\r\nlast\r\n"},
    };
    for (const auto& c : cases) EXPECT_EQ(ReportFileBytes(c.status, c.report), c.expected) << c.meaning;
}

TEST(ReportFileBytes, JapaneseMarkersAndTabsArriveAsUtf8) {
    const std::string bytes = ReportFileBytes(L"ご利用いただけます", L"\tOSバージョン : 10 【×】 【▲】\r\n");
    EXPECT_EQ(bytes, kBom +
                         "\xE3\x81\x94\xE5\x88\xA9\xE7\x94\xA8\xE3\x81\x84\xE3\x81\x9F\xE3\x81\xA0\xE3\x81\x91"
                         "\xE3\x81\xBE\xE3\x81\x99\r\n\r\n"
                         "\tOS\xE3\x83\x90\xE3\x83\xBC\xE3\x82\xB8\xE3\x83\xA7\xE3\x83\xB3 : 10 "
                         "\xE3\x80\x90\xC3\x97\xE3\x80\x91 \xE3\x80\x90\xE2\x96\xB2\xE3\x80\x91\r\n");
}

TEST(Utf8Encoding, EncodesEveryRangeAndReplacesLoneSurrogates) {
    struct Case {
        const char* meaning;
        std::wstring text;
        std::string expected;
    } cases[] = {
        {"ASCII", L"A~", "A~"},
        {"two bytes", L"\u00D7", "\xC3\x97"},
        {"three bytes", L"\u3010", "\xE3\x80\x90"},
        {"last of the BMP", L"\uFFFF", "\xEF\xBF\xBF"},
        {"pair as two units", std::wstring{wchar_t(0xD83D), wchar_t(0xDE00)}, "\xF0\x9F\x98\x80"},
        {"lone high surrogate", std::wstring{wchar_t(0xD83D), L'a'}, "\xEF\xBF\xBD" "a"},
        {"lone high surrogate at the end", std::wstring{L'a', wchar_t(0xD800)}, "a\xEF\xBF\xBD"},
        {"lone low surrogate", std::wstring{wchar_t(0xDC00)}, "\xEF\xBF\xBD"},
        {"low before high", std::wstring{wchar_t(0xDE00), wchar_t(0xD83D)}, "\xEF\xBF\xBD\xEF\xBF\xBD"},
        {"NUL is kept", std::wstring(1, L'\0'), std::string(1, '\0')},
    };
    for (const auto& c : cases) EXPECT_EQ(EncodeUtf8(c.text), c.expected) << c.meaning;

    if (sizeof(wchar_t) == 4) {  // where wchar_t holds whole code points
        EXPECT_EQ(EncodeUtf8(std::wstring(1, static_cast<wchar_t>(0x1F600))), "\xF0\x9F\x98\x80");
        EXPECT_EQ(EncodeUtf8(std::wstring(1, static_cast<wchar_t>(0x110000))), "\xEF\xBF\xBD");
    }
}

TEST(WriteReportFile, WritesTheDesktopFileNamedAfterTheComputer) {
    FakePlatform fake;
    fake.system.desktopFolder = L"C:\\Users\\me\\Desktop";
    fake.system.computerName = L"DESKTOP-01";

    EXPECT_EQ(WriteReportFile(fake.files, fake.system, L"S", L"R\r\n"), SaveOutcome::Saved);
    const auto it = fake.files.files.find(L"C:\\Users\\me\\Desktop\\Orvane[DESKTOP-01].txt");
    ASSERT_NE(it, fake.files.files.end());
    EXPECT_EQ(it->second, kBom + "S\r\n\r\nR\r\n");

    // A second press replaces the file whole, also with a shorter report.
    EXPECT_EQ(WriteReportFile(fake.files, fake.system, L"S", L""), SaveOutcome::Saved);
    EXPECT_EQ(fake.files.files[it->first], kBom + "S\r\n\r\n");
    EXPECT_EQ(fake.files.files.size(), 1u);
}

TEST(WriteReportFile, OutcomeTellsTheDialogWhetherToStay) {
    struct Case {
        const char* meaning;
        bool hasDesktop;
        bool hasName;
        WriteResult write;
        SaveOutcome expected;
    } cases[] = {
        {"written", true, true, WriteResult::Written, SaveOutcome::Saved},
        {"no desktop folder: silent", false, true, WriteResult::Written, SaveOutcome::NotSaved},
        {"no computer name: silent", true, false, WriteResult::Written, SaveOutcome::NotSaved},
        {"file cannot be opened: silent", true, true, WriteResult::NotOpened, SaveOutcome::NotSaved},
        {"write or close failed: the dialog stays", true, true, WriteResult::WriteFailed, SaveOutcome::Failed},
    };
    for (const auto& c : cases) {
        FakePlatform fake;
        if (!c.hasDesktop) fake.system.desktopFolder.reset();
        if (!c.hasName) fake.system.computerName.reset();
        fake.files.replaceResult = c.write;
        EXPECT_EQ(WriteReportFile(fake.files, fake.system, L"S", L"R"), c.expected) << c.meaning;
        if (c.expected != SaveOutcome::Saved) {
            EXPECT_TRUE(fake.files.files.empty()) << c.meaning;
        }
    }
}

}  // namespace
