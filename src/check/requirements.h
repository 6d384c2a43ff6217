#pragma once
// What the tried requirement rows ask, and what of it the machine fell short of.

#include <vector>

#include "check/check_result.h"
#include "ui/requirement_block.h"

// The row of the table's line `line`, or null.
const OrvaneRec* RowOfLine(const std::vector<OrvaneRec>& rows, size_t line);

// The row the requirements are shown from: the selected one, else the first
// of the table (the lowest line). Null when there is no row.
const OrvaneRec* RequiredFromRow(const CheckResult& result);

// For each row tried, in the order tried: its minimum OS version and its
// architecture, each once per checked property of the query table (in that
// table's line format), then its minimum graphics version. A value the row
// leaves empty asks for nothing and is left out.
std::vector<RowRequirements> TriedRowRequirements(const CheckResult& result, wchar_t decimalSeparator);
