#include <gtest/gtest.h>

#include <vector>

#include "check/evaluation.h"
#include "fakes/fake_file_system.h"

namespace {

int Sign(int v) { return v < 0 ? -1 : (v > 0 ? 1 : 0); }

}  // namespace

TEST(OsVersionComparison, FirstDifferingComponentDecides) {
    struct Case {
        const char* meaning;
        const wchar_t* required;
        const wchar_t* found;
        int expected;
    } cases[] = {
        {"same version", L"10.0.19043", L"10.0.19043", 0},
        {"older build falls short", L"10.0.19043", L"10.0.19042", 1},
        {"newer build passes", L"10.0.19043", L"10.0.19045", -1},
        {"higher major passes despite lower build", L"10.0.19043", L"11.0.10000", -1},
        {"lower major falls short despite higher build", L"10.0.19043", L"6.3.99999", 1},
        {"higher minor passes", L"10.0.19043", L"10.1.0", -1},
        {"fourth component is ignored", L"10.0.19043.5", L"10.0.19043.1", 0},
        {"missing components read as 0", L"10", L"10.0.0", 0},
        {"missing build falls short of a required one", L"10.0.1", L"10.0", 1},
        {"empty found text falls short", L"10.0.19043", L"", 1},
        {"empty requirement is always met", L"", L"6.1.7601", -1},
        {"both empty", L"", L"", 0},
        {"components read by their leading integer", L"10.0.19043", L"10.0.19043 Build", 0},
        {"non-numeric components read as 0", L"a.b.c", L"0.0.0", 0},
    };
    for (const auto& c : cases) EXPECT_EQ(CompareVersion(c.required, c.found), c.expected) << c.meaning;
}

TEST(GraphicsVersionComparison, LeadingNumbersComparedComponentwiseElseOrdinal) {
    struct Case {
        const char* meaning;
        const wchar_t* a;
        const wchar_t* b;
        int expected;
    } cases[] = {
        {"trailing .0 is equal", L"3.3", L"3.3.0", 0},
        {"vendor suffix after the number is ignored", L"4.6.0 NVIDIA 531.79", L"4.6", 0},
        {"two-digit major above one-digit", L"10.1", L"3.3", 1},
        {"two-digit minor above one-digit", L"4.10", L"4.6", 1},
        {"lower minor", L"3.1.0", L"3.3", -1},
        {"leading zeros do not count", L"04.06", L"4.6", 0},
        {"huge components compare without overflow", L"4.99999999999999999999", L"4.99999999999999999998", 1},
        {"a dot without digits ends the number", L"3.", L"3.0", 0},
        {"empty sorts before a version (ordinal)", L"", L"3.3", -1},
        {"both empty", L"", L"", 0},
        {"leading blank sorts below a digit (ordinal)", L" 9.9", L"1.0", -1},
        {"text without digits is ordinal", L"OpenGL ES 3.2", L"OpenGL ES 3.10", 1},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Sign(CompareGlVersions(c.a, c.b)), c.expected) << c.meaning;
        EXPECT_EQ(Sign(CompareGlVersions(c.b, c.a)), -c.expected) << c.meaning << " (reversed)";
    }
}

TEST(SpecRowOrder, MostDemandingGraphicsFirstAndEqualsKeepTableOrder) {
    auto row = [](const wchar_t* gl, const wchar_t* tag) {
        OrvaneRec r;
        r.columns[OrvaneRec::minGlVersion] = gl;
        r.columns[OrvaneRec::statusText] = tag;
        return r;
    };
    std::vector<OrvaneRec> rows = {row(L"3.3", L"a"),  row(L"4.6", L"b"), row(L"3.3.0", L"c"),
                                   row(L"4.10", L"d"), row(L"", L"e"),    row(L"3.3", L"f")};
    OrvaneRec record;
    CWMI noAnswers;
    FakeFileSystem files;
    bool exeExists = false;
    Evaluate(rows, record, noAnswers, L"C:\\Tools\\", files, exeExists);  // sorts in place
    std::wstring order;
    for (const auto& r : rows) order += r.columns[OrvaneRec::statusText];
    EXPECT_EQ(order, L"dbacfe");
}
