#include "tables/number_text.h"

#include <gtest/gtest.h>

#include <cmath>

TEST(LeadingInt, ReadsLikeTheRuntimeLibrary) {
    struct Case {
        const wchar_t* text;
        int32_t expected;
    } cases[] = {
        {L"1", 1},           {L"-1", -1},         {L"  42abc", 42},   {L"+7", 7},
        {L"abc", 0},         {L"", 0},            {L"1\r", 1},        {L"64 ビット", 64},
        {L"\t-3", -3},       {L"- 3", 0},         {L"99999999999", 2147483647},
        {L"-99999999999", -2147483647 - 1},
    };
    for (const auto& c : cases) EXPECT_EQ(LeadingInt(c.text), c.expected) << c.text;
}

TEST(LeadingDouble, TakesTheLongestNumberAndTheGivenSeparator) {
    EXPECT_DOUBLE_EQ(LeadingDouble(L"9.31E-10"), 9.31e-10);
    EXPECT_DOUBLE_EQ(LeadingDouble(L"  17179869184"), 17179869184.0);
    EXPECT_DOUBLE_EQ(LeadingDouble(L"-2147483648"), -2147483648.0);
    EXPECT_DOUBLE_EQ(LeadingDouble(L"2.5x"), 2.5);
    EXPECT_DOUBLE_EQ(LeadingDouble(L"1e"), 1.0);
    EXPECT_DOUBLE_EQ(LeadingDouble(L".5"), 0.5);
    EXPECT_DOUBLE_EQ(LeadingDouble(L"abc"), 0.0);
    EXPECT_DOUBLE_EQ(LeadingDouble(L" "), 0.0);
    EXPECT_DOUBLE_EQ(LeadingDouble(L"2,5", L','), 2.5);
    EXPECT_DOUBLE_EQ(LeadingDouble(L"2,5"), 2.0);
    EXPECT_TRUE(std::isinf(LeadingDouble(L"-INF")));
    EXPECT_TRUE(std::isnan(LeadingDouble(L"nan")));
}

TEST(CompareOrdinal, ComparesCodeUnitsAndPutsPrefixesFirst) {
    EXPECT_LT(CompareOrdinal(L"3.3", L"3.3.0"), 0);
    EXPECT_GT(CompareOrdinal(L"4.6", L"4.10"), 0);
    EXPECT_EQ(CompareOrdinal(L"abc", L"abc"), 0);
    EXPECT_LT(CompareOrdinal(L"", L"a"), 0);
    EXPECT_LT(CompareOrdinal(L" 9", L"1"), 0);
    EXPECT_GT(CompareOrdinal(L"\u3042", L"z"), 0);  // above the signed range of a 16-bit unit
}
