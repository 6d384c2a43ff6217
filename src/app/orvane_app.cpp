#include "app/orvane_app.h"

#include "app/evaluation.h"
#include "app/product_launch.h"
#include "environment/product_environment.h"
#include "probes/graphics_probe.h"
#include "probes/wmi_queries.h"
#include "tables/table_loaders.h"
#include "ui/result_report.h"

std::wstring ExeFolderOf(const std::wstring& exePath) {
    const size_t slash = exePath.find_last_of(L"\\/");
    if (slash != std::wstring::npos) return exePath.substr(0, slash + 1);
    // "C:app.exe": the drive alone
    if (exePath.size() >= 2 && exePath[1] == L':') return exePath.substr(0, 2);
    return std::wstring();
}

OrvaneApp::OrvaneApp(Platform& platform) : wmiResult(std::make_unique<CWMI>()), platform_(platform) {}

OrvaneApp::~OrvaneApp() { wmiResult.reset(); }

std::wstring OrvaneApp::GetExeDirPath(const std::wstring& name) {
    return ExeFolderOf(platform_.system.ExecutablePath()) + name;
}

bool OrvaneApp::InitInstance() {
    ProbeGraphics();
    exeDir = GetExeDirPath(L"");

    const bool specOk = LoadSpecTable();
    const bool queryOk = LoadQueryTable();

    // Only the checked queries decide the outcome; the others are asked only
    // when the report will show them.
    if (queryOk) RunQueries(kCheckedQueries);
    const bool passed = Evaluate();

    if (!specOk || !queryOk) return false;  // the loader has said why

    if (ReadProductEnvironment()) WriteSettings();

    if (passed && exeExists) {
        if (!LaunchProduct()) {
            std::wstring text = kLaunchFailedMessage;
            text.replace(text.find(L"%s"), 2, commandLine);
            platform_.messages.ShowAppMessage(text);
        }
        return false;
    }

    RunQueries(kRemainingQueries);
    ShowResultDialog();
    return false;
}

void OrvaneApp::ProbeGraphics() { ::ProbeGraphics(platform_.graphics, platform_.codec, runRecord); }

bool OrvaneApp::LoadSpecTable() { return ::LoadSpecTable(platform_, exeDir, specRows, &specOrigin); }

bool OrvaneApp::LoadQueryTable() { return ::LoadQueryTable(platform_, exeDir, queryTable, &queryOrigin); }

void OrvaneApp::RunQueries(int mode) {
    QuerySelection which = QuerySelection::All;
    if (mode == kCheckedQueries) which = QuerySelection::Checked;
    if (mode == kRemainingQueries) which = QuerySelection::Unchecked;
    ::RunQueries(platform_.wmi, queryTable, which, *wmiResult, answerCounts_);
}

bool OrvaneApp::Evaluate() {
    return ::Evaluate(specRows, runRecord, *wmiResult, exeDir, platform_.files, exeExists);
}

bool OrvaneApp::ReadProductEnvironment() { return ::ReadProductEnvironment(platform_, exeDir, settingsPath); }

bool OrvaneApp::WriteSettings() { return ::WriteSettings(platform_.profiles, settingsPath, runRecord); }

bool OrvaneApp::LaunchProduct() { return ::LaunchProduct(platform_.launcher, exeDir, runRecord, commandLine); }

void OrvaneApp::ShowResultDialog() {
    const ResultView view =
        ComposeResultView(*wmiResult, runRecord, exeExists, platform_.system.DecimalSeparator());
    auto save = [this, &view] {
        return WriteReportFile(platform_.files, platform_.system, view.status, view.report);
    };
    platform_.resultWindow.Run(view, save, kReportSaveFailedMessage);
}
