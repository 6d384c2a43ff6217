#pragma once
// Asking the management service the query table's questions.

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/wmi_service.h"
#include "tables/wmi_records.h"

enum class QuerySelection {
    All,       // every query of the table
    Checked,   // only queries holding a property with a check index in 1..8
    Unchecked  // the others
};

// The questions of one selection as plain values, so that a thread of its own
// can ask them while the table stays with its owner.
struct QueryRequest {
    struct Item {
        size_t tableIndex = 0;                // the table query it stands for
        std::wstring wql;
        std::vector<std::wstring> properties;  // one per table property, in table order
    };
    std::wstring wmiNamespace;
    std::vector<Item> items;  // table order
};

using QueryAnswer = std::optional<std::vector<WmiInstance>>;  // nullopt: no enumerator came back

// True when a property of the query takes part in the evaluation.
bool HoldsCheckedProperty(const CWMIClass& query);

// The value text of one WMI value.
std::wstring VariantToText(const WmiValue& value);

// The selected queries of the table; no items when none is selected.
QueryRequest SelectQueries(const CWMI& table, QuerySelection which);

// Asks every item over one session, in order, and hands each answer to
// answer(item index, answer) as it comes; without a session every answer is
// nullopt. connected, when given, learns whether a session was made, before
// the first answer.
void AskQueries(WmiService& wmi, const QueryRequest& request,
                const std::function<void(size_t, QueryAnswer)>& answer,
                const std::function<void(bool)>& connected = nullptr);

// Adds one result query per instance of table query tableIndex, at the place
// that running every query in table order would have given it. answerCounts
// (one entry per table query) records how many result queries each table query
// added so far.
void RecordAnswer(const CWMI& table, size_t tableIndex, const std::vector<WmiInstance>& instances, CWMI& result,
                  std::vector<size_t>& answerCounts);

// Asks the selected queries on the calling thread and records their answers.
void RunQueries(WmiService& wmi, const CWMI& table, QuerySelection which, CWMI& result,
                std::vector<size_t>& answerCounts);
