#include "app/orvane_app.h"

#include <algorithm>

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

OrvaneApp::OrvaneApp(Platform& platform, std::chrono::milliseconds wmiTimeLimit)
    : wmiResult(std::make_unique<CWMI>()), platform_(platform), wmiWaitLeft_(wmiTimeLimit) {}

OrvaneApp::~OrvaneApp() { wmiResult.reset(); }

std::wstring OrvaneApp::GetExeDirPath(const std::wstring& name) {
    return ExeFolderOf(platform_.system.ExecutablePath()) + name;
}

bool OrvaneApp::InitInstance() {
    exeDir = GetExeDirPath(L"");

    const bool specOk = LoadSpecTable();
    const bool queryOk = LoadQueryTable();

    // Only the checked queries decide the outcome; the others are asked only
    // when the report will show them. The graphics driver and the management
    // service need nothing of each other, so they are asked side by side.
    if (queryOk)
        ProbeGraphicsBesideQueries(kCheckedQueries);
    else
        ProbeGraphics();
    const bool passed = Evaluate();

    if (!specOk || !queryOk) return false;  // the loader has said why

    // The dialog will show: its remaining queries run while the settings are written.
    const bool launch = passed && exeExists;
    WmiWorker* remaining = launch ? nullptr : StartQueries(kRemainingQueries);

    if (ReadProductEnvironment()) WriteSettings();

    if (launch) {
        if (!LaunchProduct()) {
            std::wstring text = kLaunchFailedMessage;
            text.replace(text.find(L"%s"), 2, commandLine);
            platform_.messages.ShowAppMessage(text);
        }
        return false;
    }

    if (remaining) TakeAnswers(*remaining);
    ShowResultDialog();
    return false;
}

void OrvaneApp::ProbeGraphics() { ::ProbeGraphics(platform_.graphics, platform_.codec, runRecord); }

bool OrvaneApp::LoadSpecTable() { return ::LoadSpecTable(platform_, exeDir, specRows, &specOrigin); }

bool OrvaneApp::LoadQueryTable() { return ::LoadQueryTable(platform_, exeDir, queryTable, &queryOrigin); }

void OrvaneApp::RunQueries(int mode) {
    if (WmiWorker* worker = StartQueries(mode)) TakeAnswers(*worker);
}

void OrvaneApp::ProbeGraphicsBesideQueries(int mode) {
    WmiWorker* worker = StartQueries(mode);
    ProbeGraphics();
    if (worker) TakeAnswers(*worker);
}

bool OrvaneApp::WmiWorkOutstanding() const {
    for (const auto& worker : wmiWorkers_)
        if (!worker->Finished()) return true;
    return false;
}

WmiWorker* OrvaneApp::StartQueries(int mode) {
    QuerySelection which = QuerySelection::All;
    if (mode == kCheckedQueries) which = QuerySelection::Checked;
    if (mode == kRemainingQueries) which = QuerySelection::Unchecked;
    QueryRequest request = SelectQueries(queryTable, which);
    if (request.items.empty()) return nullptr;  // no COM at all

    if (wmiWaitLeft_ <= WmiClock::duration::zero()) return nullptr;  // nobody would wait for the answers

    wmiWorkers_.push_back(std::make_unique<WmiWorker>(platform_.wmi, std::move(request)));
    return wmiWorkers_.back().get();
}

void OrvaneApp::TakeAnswers(WmiWorker& worker) {
    // One time for all WMI waits of the run, whoever asks; an answer that has
    // not come by then counts as no instances.
    const WmiClock::time_point start = WmiClock::now();
    const WmiClock::time_point deadline = start + wmiWaitLeft_;
    for (size_t i = 0; i < worker.Count(); ++i)
        if (const QueryAnswer answer = worker.Take(i, deadline))
            RecordAnswer(queryTable, worker.TableIndex(i), *answer, *wmiResult, answerCounts_);
    wmiWaitLeft_ -= std::min(WmiClock::now() - start, wmiWaitLeft_);
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
