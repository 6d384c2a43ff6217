#include "tables/label_format.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

TEST(FormatLabel, FillsOneTextConversionAndPrintsTheRestAsItStands) {
    struct Case {
        const char* meaning;
        const wchar_t* format;
        const wchar_t* text;
        const wchar_t* expected;
    } cases[] = {
        {"plain heading", L"プロセッサ [%s]", L"CPU0", L"プロセッサ [CPU0]"},
        {"no conversion", L"heading", L"x", L"heading"},
        {"empty text", L"[%s]", L"", L"[]"},
        {"left aligned width", L"%-12s|", L"abc", L"abc         |"},
        {"right aligned width", L"%6s|", L"abc", L"   abc|"},
        {"width narrower than text", L"%2s", L"abcdef", L"abcdef"},
        {"zero flag pads with blanks", L"%05s", L"ab", L"   ab"},
        {"precision cuts", L"%.3s", L"abcdef", L"abc"},
        {"precision dot alone cuts all", L"[%.s]", L"abc", L"[]"},
        {"width and precision", L"%-5.2s|", L"abcdef", L"ab   |"},
        {"wide s", L"%ls", L"x", L"x"},
        {"capital S", L"%S", L"x", L"x"},
        {"percent sign", L"100%% %s", L"x", L"100% x"},
        {"percent sign after the fill", L"%s%%", L"x", L"x%"},
        {"second conversion stays", L"%s%s", L"x", L"x%s"},
        {"number conversion before text stays", L"%d [%s]", L"x", L"%d [x]"},
        {"integer conversion stays", L"%d", L"12", L"%d"},
        {"float conversion stays", L"%0.2f(GB)", L"12", L"%0.2f(GB)"},
        {"n never writes", L"%n%s", L"x", L"%nx"},
        {"star width stays", L"%*s", L"x", L"%*s"},
        {"star precision stays", L"%.*s", L"x", L"%.*s"},
        {"dangling percent", L"100%", L"x", L"100%"},
        {"dangling width", L"%5", L"x", L"%5"},
        {"width before percent", L"%5%s", L"x", L"%5x"},
        {"narrow h modifier stays", L"%hs", L"x", L"%hs"},
        {"oversize width stays", L"%99999999999s", L"x", L"%99999999999s"},
        {"width just too large stays", L"%4097s", L"x", L"%4097s"},
        {"unicode text", L"[%s]", L"ビデオ ☃ 𝄞", L"[ビデオ ☃ 𝄞]"},
        {"precision keeps a surrogate pair whole", L"%.2s", L"a\xD834\xDD1E", L"a"},
        {"precision ending after a pair keeps it", L"%.3s", L"a\xD834\xDD1E" L"b", L"a\xD834\xDD1E"},
        {"unknown conversion", L"%q %s", L"x", L"%q x"},
    };
    for (const auto& c : cases) EXPECT_EQ(FormatLabel(c.format, c.text), c.expected) << c.meaning;
}

TEST(FormatLabel, KeepsLongTextWhole) {
    const std::wstring text(5000, L'ア');
    EXPECT_EQ(FormatLabel(L"[%s]", text), L"[" + text + L"]");
    const std::wstring tableLabel = std::wstring(3000, L'x') + L"%s";
    EXPECT_EQ(FormatLabel(tableLabel, L"y"), std::wstring(3000, L'x') + L"y");
}

TEST(FormatLabel, FillsOneFloatingConversionWithTheGivenSeparator) {
    struct Case {
        const char* meaning;
        const wchar_t* format;
        double number;
        wchar_t separator;
        const wchar_t* expected;
    } cases[] = {
        {"report line", L"容量      : %0.2f(GB)", 15.9953, L'.', L"容量      : 16.00(GB)"},
        {"comma separator", L"%0.2f", 2.5, L',', L"2,50"},
        {"width and precision", L"%8.3f|", 3.14159, L'.', L"   3.142|"},
        {"left aligned", L"%-8.1f|", 2.0, L'.', L"2.0     |"},
        {"plus flag", L"%+.1f", 2.0, L'.', L"+2.0"},
        {"blank flag", L"% .1f", 2.0, L'.', L" 2.0"},
        {"zero padding", L"%06.1f", -2.0, L'.', L"-002.0"},
        {"alternate form keeps the point", L"%#.0f", 3.0, L',', L"3,"},
        {"exponent", L"%.2e", 1234.5, L'.', L"1.23e+03"},
        {"capital exponent", L"%.1E", 0.5, L',', L"5,0E-01"},
        {"general", L"%g", 0.25, L',', L"0,25"},
        {"long double modifier", L"%.1Lf", 1.25, L'.', L"1.2"},
        {"l modifier", L"%.1lf", 1.5, L'.', L"1.5"},
        {"text conversion stays", L"%s %.1f", 1.0, L'.', L"%s 1.0"},
        {"second conversion stays", L"%.1f %.1f", 1.0, L'.', L"1.0 %.1f"},
        {"integer conversion stays", L"%d", 1.0, L'.', L"%d"},
        {"ll modifier stays", L"%llf", 1.0, L'.', L"%llf"},
        {"percent sign", L"%.0f%%", 50.0, L'.', L"50%"},
        {"n never writes", L"%n", 1.0, L'.', L"%n"},
        {"star stays", L"%*.1f", 1.0, L'.', L"%*.1f"},
    };
    for (const auto& c : cases) EXPECT_EQ(FormatLabel(c.format, c.number, c.separator), c.expected) << c.meaning;
}

TEST(FormatLabel, PrintsHugeAndSpecialNumbersWithoutCutting) {
    const std::wstring huge = FormatLabel(L"%.0f", 1e300, L'.');
    EXPECT_EQ(huge.size(), 301u);
    EXPECT_EQ(huge.substr(0, 1), L"1");
    EXPECT_EQ(FormatLabel(L"%.300f", 1.0, L'.').size(), 302u);

    // Infinity and NaN read as the runtime writes them; no separator appears in them.
    const std::wstring inf = FormatLabel(L"%f", std::numeric_limits<double>::infinity(), L',');
    EXPECT_NE(inf.find_first_of(L"iI"), std::wstring::npos) << inf;
    const std::wstring nan = FormatLabel(L"%f", std::numeric_limits<double>::quiet_NaN(), L',');
    EXPECT_NE(nan.find_first_of(L"nN"), std::wstring::npos) << nan;
}
