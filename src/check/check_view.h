#pragma once
// The result dialog's texts for one check: the report, what the product needs
// and what to do when the machine falls short, and the support link.

#include "check/check_result.h"
#include "platform/result_window.h"

// What the dialog shows, its report file saves and orvane-check --text prints.
ResultView ComposeCheckView(const CheckResult& result, wchar_t decimalSeparator);
