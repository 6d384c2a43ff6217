#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tables/table_loaders.h"

using Lines = std::vector<std::wstring>;

TEST(TableLines, FileTextReadsCrLfAndLfAlikeAndEndsAtTheLastLineEnd) {
    struct Case {
        const char* meaning;
        const wchar_t* text;
        Lines lines;
    } cases[] = {
        {"zero bytes give no line", L"", {}},
        {"a last line without line end", L"a,b", {L"a,b"}},
        {"CR LF after the only line adds no empty line", L"a\r\n", {L"a"}},
        {"LF and CR LF mixed", L"a\nb\r\nc", {L"a", L"b", L"c"}},
        {"an empty line between rows", L"a\r\n\r\nb\r\n", {L"a", L"", L"b"}},
        {"two line ends at the end", L"a\r\n\r\n", {L"a", L""}},
        {"a lone CR stays in its line", L"a\rb\r\n", {L"a\rb"}},
        {"a CR at the very end stays", L"a\r", {L"a\r"}},
        {"a line end alone", L"\n", {L""}},
    };
    for (const auto& c : cases) EXPECT_EQ(CutFileLines(c.text), c.lines) << c.meaning;
}

TEST(TableLines, BuiltInTextKeepsItsCarriageReturnsAndYieldsALineAfterTheLastLineFeed) {
    struct Case {
        const char* meaning;
        const wchar_t* text;
        Lines lines;
    } cases[] = {
        {"empty text is one empty line", L"", {L""}},
        {"a single line without line end", L"a,b", {L"a,b"}},
        {"CR stays, an empty line follows the last LF", L"a\r\nb\r\n", {L"a\r", L"b\r", L""}},
        {"a blank line holding only CR is not empty", L"a\r\n\r\nb", {L"a\r", L"\r", L"b"}},
        {"consecutive LFs", L"\n\n", {L"", L"", L""}},
    };
    for (const auto& c : cases) EXPECT_EQ(CutResourceLines(c.text), c.lines) << c.meaning;
}

TEST(TableLines, FieldsAreCutAtEveryCommaWithoutQuotingOrTrimming) {
    struct Case {
        const char* meaning;
        const wchar_t* line;
        size_t k;
        const wchar_t* field;  // nullptr: missing
    } cases[] = {
        {"an empty line has one empty field", L"", 0, L""},
        {"an empty line has no second field", L"", 1, nullptr},
        {"the first field runs to the first comma", L"a,b,c", 0, L"a"},
        {"a middle field", L"a,b,c", 1, L"b"},
        {"the last field runs to the line's end", L"a,b,c", 2, L"c"},
        {"n commas give n + 1 fields", L"a,b,c", 3, nullptr},
        {"an empty field between commas", L"a,,c", 1, L""},
        {"a trailing comma gives an empty last field", L"a,", 1, L""},
        {"blanks are kept", L" a , b ", 1, L" b "},
        {"quotation marks do not protect a comma", L"\"x,y\",z", 0, L"\"x"},
        {"the quote's rest is the next field", L"\"x,y\",z", 1, L"y\""},
        {"a CR is part of the last field", L"a,1\r", 1, L"1\r"},
    };
    for (const auto& c : cases) {
        const auto field = LineField(c.line, c.k);
        if (c.field == nullptr) {
            EXPECT_FALSE(field.has_value()) << c.meaning;
        } else {
            ASSERT_TRUE(field.has_value()) << c.meaning;
            EXPECT_EQ(std::wstring(*field), c.field) << c.meaning;
        }
    }
}

TEST(TableLines, BadTableMessageTakesTheTextLiterally) {
    EXPECT_EQ(FormatBadTableMessage(L"C:\\100%s %d\\OrvaneSPC.csv"),
              L"設定ファイルの書式が正しくありません\nC:\\100%s %d\\OrvaneSPC.csv");
}
