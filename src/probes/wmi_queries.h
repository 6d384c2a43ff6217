#pragma once
// Asking the management service the query table's questions.

#include <cstddef>
#include <string>
#include <vector>

#include "platform/wmi_service.h"
#include "tables/wmi_records.h"

enum class QuerySelection {
    All,       // every query of the table
    Checked,   // only queries holding a property with a check index in 1..8
    Unchecked  // the others
};

// True when a property of the query takes part in the evaluation.
bool HoldsCheckedProperty(const CWMIClass& query);

// The value text of one WMI value.
std::wstring VariantToText(const WmiValue& value);

// Runs the selected queries and adds one result query per instance to result.
// answerCounts (one entry per table query) records how many result queries each
// table query added so far; later runs insert their answers at the place that
// running every query in table order would have given them.
void RunQueries(WmiService& wmi, const CWMI& table, QuerySelection which, CWMI& result,
                std::vector<size_t>& answerCounts);
