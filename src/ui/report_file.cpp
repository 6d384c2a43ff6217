#include "ui/report_file.h"

#include "ui/result_report.h"
#include "encoding/utf8_encoding.h"

const wchar_t* const kReportSaveFailedMessage =
    L"レポート ファイルをデスクトップに書き込めませんでした。\n"
    L"ディスクの空き容量や書き込み権限を確認してから、もう一度ボタンを押してください。";

std::string ReportFileBytes(const std::wstring& status, const std::wstring& report) {
    const std::wstring text = status + L"\n\n" + report;
    std::wstring lines;
    lines.reserve(text.size() + text.size() / 16 + 1);
    for (wchar_t c : text) {
        if (c == L'\r') continue;
        if (c == L'\n') lines += L'\r';
        lines += c;
    }
    return "\xEF\xBB\xBF" + EncodeUtf8(lines);
}

std::wstring ReportFilePath(const std::wstring& desktopFolder, const std::wstring& computerName) {
    return desktopFolder + L"\\Orvane[" + computerName + L"].txt";
}

SaveOutcome WriteReportFile(FileSystem& files, SystemInfo& system, const std::wstring& status,
                            const std::wstring& report) {
    const std::optional<std::wstring> desktop = system.DesktopFolder();
    if (!desktop) return SaveOutcome::NotSaved;
    const std::optional<std::wstring> computer = system.ComputerName();
    if (!computer) return SaveOutcome::NotSaved;

    switch (files.ReplaceFile(ReportFilePath(*desktop, *computer), ReportFileBytes(status, report))) {
        case WriteResult::Written:
            return SaveOutcome::Saved;
        case WriteResult::NotOpened:
            return SaveOutcome::NotSaved;
        case WriteResult::WriteFailed:
            break;
    }
    return SaveOutcome::Failed;
}
