#pragma once
// The known causes of a shortfall, each with what to do about it: one table
// for every front end, so the dialog, its file and orvane-check say the same.

#include <string>
#include <vector>

#include "check/check_result.h"
#include "ui/requirement_block.h"

// The advice for this run, in table order: for a machine that falls short,
// one line per cause of a requirement it fell short of; for a met row whose
// program is missing, that. tried is TriedRowRequirements(result).
std::vector<Advice> AdviceFor(const CheckResult& result, const std::vector<RowRequirements>& tried);

// Every cause's code, in table order.
std::vector<std::wstring> AdviceCodes();

// The text of the cause with this code, detail standing in for what names the
// machine's own renderer or program path; empty for an unknown code. For
// texts written before any machine is known, such as compliance rules.
std::wstring AdviceTextOf(const std::wstring& code, const std::wstring& detail);
