#include "orvane/orvane_app.h"

#include "check/check_view.h"
#include "environment/product_environment.h"
#include "orvane/product_launch.h"
#include "ui/result_report.h"

OrvaneApp::OrvaneApp(Platform& platform, std::chrono::milliseconds wmiTimeLimit)
    : platform_(platform), wmiTimeLimit_(wmiTimeLimit) {}

std::wstring OrvaneApp::GetExeDirPath(const std::wstring& name) {
    return ExeFolderOf(platform_.system.ExecutablePath()) + name;
}

bool OrvaneApp::InitInstance() {
    CheckRunSettings settings;
    settings.wmiTimeLimit = wmiTimeLimit_;
    run_ = std::make_unique<CheckRun>(platform_, settings);
    const CheckResult& result = run_->Result();

    if (!result.TablesUsable()) return false;  // the loader has said why

    // The dialog will show: its remaining queries run while the settings are written.
    const bool launch = result.passed && result.exeExists;
    if (!launch) run_->AskReportQueries();

    if (ReadProductEnvironment(platform_, result.exeDir, settingsPath_))
        WriteSettings(platform_.profiles, settingsPath_, result.runRecord);

    if (launch) {
        std::wstring commandLine;
        if (!LaunchProduct(platform_.launcher, result.exeDir, result.runRecord, commandLine)) {
            std::wstring text = kLaunchFailedMessage;
            text.replace(text.find(L"%s"), 2, commandLine);
            platform_.messages.ShowAppMessage(text);
        }
        return false;
    }

    ShowResultDialog(run_->CompleteReport());
    return false;
}

bool OrvaneApp::WmiWorkOutstanding() const { return run_ && run_->WmiWorkOutstanding(); }

void OrvaneApp::ShowResultDialog(const CheckResult& result) {
    const ResultView view = ComposeCheckView(result, platform_.system.DecimalSeparator());
    auto save = [this, &view] {
        return WriteReportFile(platform_.files, platform_.system, view.status, view.report);
    };
    platform_.resultWindow.Run(view, save, kReportSaveFailedMessage);
}
