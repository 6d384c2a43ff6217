#pragma once
// Which requirement row the machine meets.

#include <cstddef>
#include <string>
#include <vector>

#include "platform/file_system.h"
#include "tables/orvane_rec.h"
#include "tables/requirement_compare.h"
#include "tables/wmi_records.h"

// True when no checked property of the result tree falls short of the row;
// marks those that do.
bool CheckRow(const OrvaneRec& row, CWMI& wmiResult);

// Whether some row's checked properties are all met, the graphics version
// aside; marks nothing. When none is, no driver can make the machine pass.
bool SomeRowMeetsTheChecks(const std::vector<OrvaneRec>& rows, const CWMI& wmiResult);

// Sorts the rows, marks failing values, selects the first row met and copies
// its columns into runRecord. exeExists is set when a row is selected. The
// lines of the rows tried, in the order tried, go to triedLines when given.
bool Evaluate(std::vector<OrvaneRec>& specRows, OrvaneRec& runRecord, CWMI& wmiResult, const std::wstring& exeDir,
              FileSystem& files, bool& exeExists, std::vector<size_t>* triedLines = nullptr);
