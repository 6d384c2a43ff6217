#pragma once
// What the product needs, and what to do, written after the report's graphics
// section for a machine that falls short.

#include <string>
#include <vector>

#include "tables/orvane_rec.h"

// One requirement of one row.
struct RequirementLine {
    OrvaneRec::Column column = OrvaneRec::minOsVersion;  // minOsVersion, osArchitecture or minGlVersion
    std::wstring text;      // the row's value in the report's line format: "OSバージョン      : 10.0.19043"
    std::wstring required;  // the row's value as the table has it
    bool fellShort = false;
    std::vector<std::wstring> found;  // the machine's values that fell short of it
};

// A requirement row the evaluation tried, with what it asks.
struct RowRequirements {
    size_t line = 0;  // 1-based line of its table
    std::vector<RequirementLine> lines;
};

// One known cause of a shortfall and what to do about it.
struct Advice {
    std::wstring code;  // stable, for scripts: "os-version", ...
    std::wstring text;
};

// "OSバージョン      : 10.0.19043 以上（この PC: 10.0.18362）", without indent or line end.
std::wstring RequirementLineText(const RequirementLine& line);

// Appends, each after one empty line: the requirements of the rows (when
// there are any), then the advice (when there is any). Lines end with CR LF.
void AppendRequirementBlock(const std::vector<RowRequirements>& rows, const std::vector<Advice>& advice,
                            std::wstring& report);
