#include "check/check_view.h"

#include <vector>

#include "check/advice.h"
#include "check/requirements.h"
#include "ui/requirement_block.h"
#include "ui/result_report.h"

ResultView ComposeCheckView(const CheckResult& result, wchar_t decimalSeparator) {
    ResultView view =
        ComposeResultView(*result.wmiResult, result.runRecord, result.exeExists, decimalSeparator);
    if (!result.evaluated) return view;

    // Everything above stays as it was; what the product needs follows it. A
    // met row whose program is missing lists the rows tried only when rows
    // before it fell short: their marks are in the report, and the advice
    // names the met one by its "条件 N".
    std::vector<RowRequirements> tried;
    const bool rowsBeforeFellShort = result.passed && result.triedLines.size() > 1 && !result.exeExists;
    if (!result.passed || rowsBeforeFellShort) tried = TriedRowRequirements(result, decimalSeparator);
    const std::vector<Advice> advice = AdviceFor(result, tried);
    AppendRequirementBlock(tried, advice, view.report);
    for (const Advice& a : advice) view.advice += (view.advice.empty() ? L"" : L"\r\n") + a.text;

    // No row was met: the link of the row the requirements come from, so
    // that the person who needs help most has a way to it.
    if (result.runRecord.line == 0) {
        if (const OrvaneRec* from = RequiredFromRow(result)) {
            view.linkText = from->columns[OrvaneRec::linkText];
            view.linkUrl = from->columns[OrvaneRec::linkUrl];
            view.showLink = !view.linkText.empty() && !view.linkUrl.empty();
        }
    }
    return view;
}
