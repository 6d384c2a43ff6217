#pragma once
// The known causes of a shortfall, each with what to do about it: one table
// for every front end, so the dialog, its file and orvane-check say the same.

#include <vector>

#include "check/check_result.h"
#include "ui/requirement_block.h"

// The advice for this run, in table order: for a machine that falls short,
// one line per cause of a requirement it fell short of; for a met row whose
// program is missing, that. tried is TriedRowRequirements(result).
std::vector<Advice> AdviceFor(const CheckResult& result, const std::vector<RowRequirements>& tried);
