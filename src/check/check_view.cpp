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

    // Everything above stays as it was; what the product needs follows it.
    std::vector<RowRequirements> tried;
    if (!result.passed) tried = TriedRowRequirements(result, decimalSeparator);
    AppendRequirementBlock(tried, AdviceFor(result, tried), view.report);

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
