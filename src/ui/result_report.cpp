#include "ui/result_report.h"

const wchar_t* const kReportSaveFailedMessage = L"レポート ファイルを保存できませんでした。";

// Placeholder until the report lands.
ResultView ComposeResultView(const CWMI&, const OrvaneRec& runRecord, bool, wchar_t) {
    ResultView view;
    view.status = runRecord.columns[OrvaneRec::statusText];
    return view;
}
SaveOutcome WriteReportFile(FileSystem&, SystemInfo&, const std::wstring&, const std::wstring&) {
    return SaveOutcome::NotSaved;
}
